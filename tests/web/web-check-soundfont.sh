#!/usr/bin/env bash
# Checks that the page's cut-down SoundFont plays each of the game's pieces exactly as the whole
# TimGM6mb does: FluidSynth's command line renders every piece with both, sample for sample.
# Usage: tests/web/web-check-soundfont.sh [PAGE_FOLDER, default build/web]   (run by tests/web/web-check.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh fluidsynth timgm6mb-soundfont
page=${1:-build/web}
renders=$(mktemp -d)
trap 'rm -rf "$renders"' EXIT
failed=0
for piece in sound/assets/*.mid; do
  for font in whole:/usr/share/sounds/sf2/TimGM6mb.sf2 cut:"$page/TimGM6mb.sf2"; do
    rm -f "$renders/${font%%:*}.wav"
    fluidsynth -ni -q -g 0.55 -r 48000 -F "$renders/${font%%:*}.wav" "${font#*:}" "$piece" >/dev/null 2>&1
  done
  if [ -s "$renders/whole.wav" ] && cmp -s "$renders/whole.wav" "$renders/cut.wav"; then
    echo "PASS the page's SoundFont plays $(basename "$piece") as the whole TimGM6mb does"
  else
    echo "FAIL the page's SoundFont plays $(basename "$piece") otherwise than the whole TimGM6mb does"
    failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ]
