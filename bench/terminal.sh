#!/usr/bin/env bash
# Measures the terminal back end: start-up, idle bytes and CPU, auto-repeat CPU, restoring on
# signals, and wait accuracy. Runs the title stand-in, and the real game when it is given as
# an argument (`bench/terminal.sh game`). Builds a Release tree in build/bench.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake make g++ pkg-config libvterm-dev libsdl2-dev libfluidsynth-dev >/dev/null
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target terminal_bench pty_bench battle_pty_bench domrak >/dev/null

bench=build/bench/bench/pty_bench
standin=build/bench/bench/terminal_bench

echo "== title stand-in, terminal answers: ambiguous narrow (CSI ? 6n) =="
$bench --answer narrow --signal INT -- $standin
echo "== title stand-in, terminal answers: ambiguous wide (CSI ? 6n) =="
$bench --answer wide --signal HUP --idle 3 -- $standin
echo "== title stand-in, terminal answers the plain CSI 6n only (tmux, Linux console) =="
$bench --answer plain --signal QUIT --idle 3 -- $standin
echo "== title stand-in, terminal reports key releases (kitty keyboard protocol) =="
$bench --answer kitty --signal TERM --idle 3 -- $standin
echo "== title stand-in, terminal reports key releases (win32-input-mode) =="
$bench --answer win32 --signal HUP --idle 3 -- $standin
echo "== title stand-in, terminal answers only the device attributes request =="
$bench --answer attributes --signal TERM --idle 3 -- $standin
echo "== title stand-in, terminal answers nothing =="
$bench --answer silent --signal INT --idle 3 -- $standin

echo "== waits against the real clock =="
report=$(mktemp)
$bench --until-exit -- $standin waits "$report"
cat "$report"
rm -f "$report"

if [ "${1:-}" = game ]; then
  echo "== the game (build/bench/app/domrak) =="
  $bench --answer narrow --signal TERM -- build/bench/app/domrak
fi
