#!/usr/bin/env bash
# The music's first SoundFont weighed on a slow link: the title's instruments at 1/2, 1/3 and 1/4
# of their rate, and none (the whole cut SoundFont first, as before), each timed by
# bench/slow_link.mjs.
# Usage: bench/slow_link.sh [runs per choice, default 3]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium
./web.sh --build-only
out=build/slow-link
rm -rf "$out"
for choice in none 2 3 4; do
  cp -r build/web "$out-$choice"
  if [ "$choice" = none ]; then cp build/web/TimGM6mb.sf2 "$out-$choice/TimGM6mb-first.sf2"
  else python3 web/make_soundfont.py --rate-divisor="$choice" /usr/share/sounds/sf2/TimGM6mb.sf2 \
    "$out-$choice/TimGM6mb-first.sf2" sound/assets/title.mid; fi
  rm -f "$out-$choice"/TimGM6mb-first.sf2.{gz,br}
  node web/precompress.mjs "$out-$choice"
  echo "first SoundFont: $choice ($(stat -c %s "$out-$choice/TimGM6mb-first.sf2.br") bytes as Brotli)"
  node bench/slow_link.mjs "$out-$choice" "${1:-3}"
  rm -rf "$out-$choice"
done
