#!/usr/bin/env bash
# Builds DOMRAK, installing what the build needs, and plays it in this terminal.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh cmake make g++ pkg-config libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" >/dev/null
exec build/release/app/domrak
