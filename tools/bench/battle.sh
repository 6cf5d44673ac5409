#!/usr/bin/env bash
# Builds the battle benchmark optimised and reports the real time of whole battles in one session.
# Usage: tools/bench/battle.sh [battles]
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh cmake make g++ libsdl2-dev libfluidsynth-dev libvterm-dev
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target battle_bench >/dev/null
build/bench/tools/bench/battle_bench "${1:-1000}"
