#!/usr/bin/env bash
# Weighs the browser build's SoundFont choices side by side: TimGM6mb whole (SF2), cut down to
# the game's pieces (SF2), and both as SF3 (Ogg Vorbis samples, needing FluidSynth's
# libsndfile build; also without the gain sf3convert adds): bytes, first-visit times in
# Chromium on a slow link, and how each renders the nine pieces against the whole SF2
# (FluidSynth's own command line renders them).
# Usage: bench/soundfont_choices.sh [runs per choice, default 3]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium sf3convert fluidsynth
./web.sh --build-only
out=build/soundfont-choices
rm -rf "$out"
mkdir -p "$out"
cp -r build/web "$out/page"  # the page as built now, whatever builds after
whole=/usr/share/sounds/sf2/TimGM6mb.sf2
cp "$whole" "$out/whole.sf2"
python3 web/make_soundfont.py "$whole" "$out/cut.sf2" sound/assets/*.mid
sf3convert -z "$out/whole.sf2" "$out/whole.sf3" >/dev/null 2>&1
sf3convert -z "$out/cut.sf2" "$out/cut.sf3" >/dev/null 2>&1
sf3convert -z -a 0 "$out/cut.sf2" "$out/cut-a0.sf3" >/dev/null 2>&1
for font in whole.sf2 cut.sf2 whole.sf3 cut.sf3 cut-a0.sf3; do
  for piece in sound/assets/*.mid; do
    name=$(basename "$piece" .mid)
    nice fluidsynth -ni -q -g 0.55 -r 48000 -F "$out/$font-$name.wav" "$out/$font" "$piece" >/dev/null 2>&1
  done
done
node bench/soundfont_choices.mjs "$out/page" "$out" "${1:-3}"
