#!/usr/bin/env bash
# Builds the full-run benchmark optimised and reports the real time of whole scripted runs.
# Usage: tools/bench/full_run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh cmake make g++ libsdl2-dev libfluidsynth-dev libvterm-dev
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target full_run_bench >/dev/null
build/bench/tools/bench/full_run_bench "${1:-50}"
