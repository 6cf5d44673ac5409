#!/usr/bin/env bash
# Builds the browser version into build/web and plays it in headless Chromium (Debian's
# chromium, driven by puppeteer-core): screen, keys, name entry, arena, effects and music, a
# first visit's bytes, offline play after it and the home-screen offer; then on a phone: touch
# pad, name field, help panel, screen reader text. The cut-down SoundFont must play the game's
# pieces exactly as the whole one.
# It reports the budgets for start-up on a slow link, idle work and key response; `--strict`
# fails on them. The game's size and a first visit's bytes are checked always.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh chromium
./web.sh --build-only

# The game's own code: its .wasm and .js together stay under 1 MB.
size=$(($(stat -c %s build/web/domrak.wasm) + $(stat -c %s build/web/domrak.js)))
echo "game .wasm + .js: $size bytes (budget 1048576)"
[ "$size" -lt 1048576 ] || { echo "FAIL the game's .wasm and .js are over 1 MB" >&2; exit 1; }
status=0
tests/web/web-check-soundfont.sh build/web || status=1
node tests/web/web-check.mjs build/web "$@" || status=1
# The same game on a phone, by touch, upright and on its side; screenshots in build/web-check.
node tests/web/web-check-phone.mjs build/web build/web-check "$@" || status=1
exit $status
