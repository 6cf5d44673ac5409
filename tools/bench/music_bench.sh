#!/usr/bin/env bash
# Builds and runs the music benchmark (optimised build): note timing, music-change time, memory.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh cmake make g++ pkg-config libfluidsynth-dev timgm6mb-soundfont
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target music_bench >/dev/null
build/bench/tools/bench/music_bench
