#!/usr/bin/env bash
# Rebuilds the game's built-in sound effects (sound/assets/*.wav) with assets/make_effects.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/effects -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/effects --target make_effects -j2 >/dev/null
build/effects/assets/make_effects sound/assets
