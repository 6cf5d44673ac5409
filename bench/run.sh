#!/usr/bin/env bash
# Builds one benchmark optimised (in build/bench) and runs it with the given arguments.
# Usage: bench/run.sh TARGET [ARGUMENTS...], e.g. bench/run.sh battle_bench 1000
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake make g++ pkg-config libsdl2-dev libfluidsynth-dev timgm6mb-soundfont \
  libvterm-dev >/dev/null
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target "$1" >/dev/null
exec "build/bench/bench/$1" "${@:2}"
