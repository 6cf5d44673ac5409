#!/usr/bin/env bash
# Builds the fuzz target with clang under address and undefined sanitizers and runs it for a
# bounded time (default 60 s, or the first argument). Fails if it finds a crash. The target reads
# files whose sizes lie (see tests/fuzz/sound_files_fuzz.cpp); a single allocation past 64 MB
# counts as a crash, so no stated size may be allocated before the bytes are there.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
scripts/install-deps.sh clang libclang-rt-14-dev cmake make
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DDOMRAK_FUZZ=ON -DDOMRAK_SANITIZE=ON -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target sound_files_fuzz >/dev/null
corpus=build/fuzz/corpus/sound_files_fuzz
mkdir -p "$corpus"
echo "fuzzing sound_files_fuzz for ${seconds}s"
build/fuzz/tests/fuzz/sound_files_fuzz -max_total_time="$seconds" -malloc_limit_mb=64 -print_final_stats=1 \
  "$corpus" tests/fuzz/seeds/sound_files_fuzz 2>&1 | tail -n 3
