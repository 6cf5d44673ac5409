#!/usr/bin/env bash
# Builds DOMRAK, installing what the build needs, and plays it in this terminal; its arguments
# go to the game (./play.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/progress.sh
scripts/install-deps.sh cmake make g++ pkg-config libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
build_quietly build/release domrak -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF
exec build/release/app/domrak "$@"
