#!/usr/bin/env bash
# Checks the C++ layout, builds DOMRAK and runs the whole test suite: a debug build, then again
# under the address and undefined-behaviour sanitizers. `./test.sh --quick` skips the sanitizer pass.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/progress.sh
scripts/install-deps.sh cmake make g++ pkg-config libgtest-dev libsdl2-dev libfluidsynth-dev \
  timgm6mb-soundfont libvterm-dev python3

run_suite() {  # build directory, extra cmake arguments...
  local dir=$1
  shift
  build_quietly "$dir" all -DCMAKE_BUILD_TYPE=Debug "$@"
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
}

scripts/format.sh --check
run_suite build/debug
if [ "${1:-}" != "--quick" ]; then
  run_suite build/sanitize -DDOMRAK_SANITIZE=ON
fi
