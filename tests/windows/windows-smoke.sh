#!/usr/bin/env bash
# Starts the cross-built domrak.exe under wine in an 80x25 tmux pane, shows what the pane
# holds after a few seconds, and checks that the game has drawn its title screen (or, while
# the game still ends at once, that it started and ended cleanly). Run tests/windows/windows-check.sh
# first to build it. Wine's audio driver reports missing sound cards on the process's standard
# error, straight onto the terminal, so that stream is dropped here (the game writes nothing there).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/windows
export WINEPREFIX=$PWD/$build/wineprefix
export WINEDEBUG=-all
exe=$build/app/domrak.exe
[ -x "$exe" ] || { echo "no $exe: run tests/windows/windows-check.sh first" >&2; exit 1; }

session=domrak-windows-smoke-$$
status=$build/windows-smoke.status
rm -f "$status"
tmux new-session -d -s "$session" -x 80 -y 25 \
  "/usr/lib/wine/wine64 '$exe' 2>/dev/null; echo \$? >'$status'; sleep 600"
sleep "${1:-8}"
screen=$(tmux capture-pane -p -t "$session")
tmux kill-session -t "$session" 2>/dev/null || true
echo "$screen"
if grep -q "ネームエントリー" <<<"$screen"; then
  echo "smoke: the title screen is shown"
elif [ -f "$status" ] && [ "$(cat "$status")" = 0 ]; then
  echo "smoke: the game started and ended cleanly (exit status 0)"
else
  echo "smoke: no title screen and no clean exit" >&2
  exit 1
fi
