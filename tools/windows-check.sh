#!/usr/bin/env bash
# Cross-builds DOMRAK for Windows (mingw-w64, static) into build/windows and runs the test suite
# under wine. The tests run inside a detached tmux pane so that wine gives them a real console
# (the Windows console back end's tests need one; without it they would be skipped).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh cmake make g++-mingw-w64-x86-64 wine64 googletest tmux

build=build/windows
export WINEPREFIX=$PWD/$build/wineprefix
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2

# One wine server and its services for all the test runs, started here so that they do not
# hold on to the output of the first test.
# The server is ended when the script ends, so no wine process stays behind.
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p 30 </dev/null >/dev/null 2>&1 || true  # one may already serve this prefix
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"$wine" wineboot --init </dev/null >/dev/null 2>&1

log=$build/windows-tests.log
status=$build/windows-tests.status
session=domrak-windows-check-$$
rm -f "$log" "$status"
# A tmux server of its own: a server already running would give the pane its environment, not
# this script's WINEPREFIX.
tmux -L "$session" new-session -d -s "$session" -x 80 -y 25 \
  "ctest --test-dir '$build' --output-on-failure >'$log' 2>&1; echo \$? >'$status'"
for _ in $(seq 600); do
  [ -f "$status" ] && break
  sleep 1
done
tmux -L "$session" kill-server 2>/dev/null || true
cat "$log"
[ -f "$status" ] || { echo "windows tests did not finish in 10 minutes" >&2; exit 1; }
skipped=$(grep -h '^\[  SKIPPED \] [A-Za-z]' "$build/Testing/Temporary/LastTest.log" | sort -u || true)
[ -z "$skipped" ] || printf 'Skipped under wine:\n%s\n' "$skipped"
[ "$(cat "$status")" = 0 ] || exit "$(cat "$status")"

# The Windows sound tests once more with a wave-out device: wine offers one over ALSA's null
# device, which plays into nothing. (No MIDI device can be had this way.)
alsa_home=$PWD/$build/alsa-null
mkdir -p "$alsa_home"
printf 'pcm.!default {\n  type null\n}\n' >"$alsa_home/.asoundrc"
sound_log=$PWD/$build/windows-sound-device.log
sound_status=0
(cd "$build/tests/sound" && HOME=$alsa_home "$wine" ./windows_sound_tests.exe </dev/null >"$sound_log" 2>/dev/null) \
  || sound_status=$?
echo "windows_sound_tests with a wave-out device:"
grep -E '^\[ *(PASSED|FAILED|SKIPPED) *\]|Failure' "$sound_log" || true
exit "$sound_status"
