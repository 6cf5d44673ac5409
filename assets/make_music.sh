#!/usr/bin/env bash
# Builds the music generator and rewrites the built-in pieces in sound/assets (*.mid, checked in).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/music -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/music -j2 --target make_music >/dev/null
build/music/assets/music/make_music sound/assets
