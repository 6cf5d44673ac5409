// The SoundFont choices' table: bytes, first-visit times at 10 Mbit/s with the CPU slowed 2x,
// and each choice's renders of the pieces against the whole SF2's.
// Usage: node bench/soundfont_choices.mjs PAGE_FOLDER CHOICES_FOLDER RUNS
// (bench/soundfont_choices.sh makes the choices and their renders first)
import { spawnSync } from 'node:child_process';
import { copyFileSync, cpSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

import { serve } from '../web/serve.mjs';
import {
  launchChromium, PATIENCE_MS, waitForText,
} from '../tests/web/web-browser.mjs';
import { musicHeardAt, serviceWorkerControls, timeFirstVisit } from './first_visit.mjs';

const [page, choices, runs] = [process.argv[2], process.argv[3], Number(process.argv[4] || 3)];
const synthesisers = new URL('../web/node_modules/js-synthesizer/externals/', import.meta.url).pathname;
const CHOICES = [
  { font: 'whole.sf2', synth: 'libfluidsynth-2.4.6.js', label: 'TimGM6mb whole, SF2 (before)' },
  { font: 'cut.sf2', synth: 'libfluidsynth-2.4.6.js', label: 'cut to the pieces, SF2' },
  { font: 'whole.sf3', synth: 'libfluidsynth-2.4.6-with-libsndfile.js', label: 'TimGM6mb whole, SF3' },
  { font: 'cut.sf3', synth: 'libfluidsynth-2.4.6-with-libsndfile.js', label: 'cut to the pieces, SF3' },
  { font: 'cut-a0.sf3', synth: 'libfluidsynth-2.4.6-with-libsndfile.js', label: 'cut, SF3 without added gain' },
];
const BAND_LOW_HZ = 40;
const BANDS = 28;  // thirds of an octave from 40 Hz to about 16 kHz
const FRAME = 4096;

const gzipped = (data) => gzipSync(data, { level: 9 }).length;
const brotli = (data) => brotliCompressSync(data, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const decibels = (ratio) => 10 * Math.log10(ratio);

// The samples of a 16-bit stereo WAV file mixed to mono (its data chunk found by name).
function monoSamples(path) {
  const file = readFileSync(path);
  let at = 12;
  while (file.toString('latin1', at, at + 4) !== 'data') at += 8 + file.readUInt32LE(at + 4);
  const frames = Math.floor(file.readUInt32LE(at + 4) / 4);
  const samples = new Float64Array(frames);
  for (let frame = 0; frame < frames; ++frame)
    samples[frame] = (file.readInt16LE(at + 8 + 4 * frame) + file.readInt16LE(at + 10 + 4 * frame)) / 65536;
  return samples;
}

// Power per third-octave band, summed over Hann-windowed frames (an in-place radix-2 FFT).
function bandPowers(samples) {
  const powers = new Float64Array(BANDS);
  const real = new Float64Array(FRAME);
  const imaginary = new Float64Array(FRAME);
  for (let start = 0; start + FRAME <= samples.length; start += FRAME) {
    for (let i = 0; i < FRAME; ++i) {
      real[i] = samples[start + i] * (0.5 - 0.5 * Math.cos((2 * Math.PI * i) / FRAME));
      imaginary[i] = 0;
    }
    for (let i = 1, j = 0; i < FRAME; ++i) {
      let bit = FRAME >> 1;
      for (; j & bit; bit >>= 1) j ^= bit;
      j ^= bit;
      if (i < j) [real[i], real[j], imaginary[i], imaginary[j]] = [real[j], real[i], imaginary[j], imaginary[i]];
    }
    for (let size = 2; size <= FRAME; size *= 2) {
      const angle = (-2 * Math.PI) / size;
      for (let block = 0; block < FRAME; block += size) {
        for (let k = 0; k < size / 2; ++k) {
          const [c, s] = [Math.cos(angle * k), Math.sin(angle * k)];
          const [a, b] = [block + k, block + k + size / 2];
          const tr = real[b] * c - imaginary[b] * s;
          const ti = real[b] * s + imaginary[b] * c;
          [real[b], imaginary[b]] = [real[a] - tr, imaginary[a] - ti];
          [real[a], imaginary[a]] = [real[a] + tr, imaginary[a] + ti];
        }
      }
    }
    for (let bin = 1; bin < FRAME / 2; ++bin) {
      const band = Math.floor(3 * Math.log2((bin * 48000) / FRAME / BAND_LOW_HZ));
      if (band >= 0 && band < BANDS) powers[band] += real[bin] ** 2 + imaginary[bin] ** 2;
    }
  }
  return powers;
}

// One choice's render of a piece against the whole SF2's: the level difference, the
// difference signal's level under the music, and the worst band's difference (bands within
// 60 dB of the loudest).
function compareRender(reference, candidate) {
  const length = Math.min(reference.length, candidate.length);
  let [signal, error, level] = [0, 0, 0];
  for (let i = 0; i < length; ++i) {
    signal += reference[i] ** 2;
    level += candidate[i] ** 2;
    error += (reference[i] - candidate[i]) ** 2;
  }
  const [bandsBefore, bandsAfter] = [bandPowers(reference), bandPowers(candidate)];
  const loudest = Math.max(...bandsBefore);
  let [worstBand, worstAt] = [0, 0];
  for (let band = 0; band < BANDS; ++band) {
    const change = Math.abs(decibels(bandsAfter[band] / bandsBefore[band]));
    if (bandsBefore[band] > loudest * 1e-6 && change > worstBand)
      [worstBand, worstAt] = [change, Math.round(BAND_LOW_HZ * 2 ** ((band + 0.5) / 3))];
  }
  return { level: decibels(level / signal), difference: error === 0 ? -Infinity : decibels(error / signal), worstBand, worstAt };
}

// A copy of the page with this choice's SoundFont (under the page's own file name) and synthesiser.
function pageWith(choice) {
  const folder = join(choices, `page-${choice.font}`);
  rmSync(folder, { recursive: true, force: true });
  cpSync(page, folder, { recursive: true });
  const font = readdirSync(folder).find((name) => /\.sf[23]$/.test(name));
  for (const name of [font, 'libfluidsynth.js']) for (const suffix of ['.gz', '.br']) rmSync(join(folder, name + suffix), { force: true });
  copyFileSync(join(choices, choice.font), join(folder, font));
  copyFileSync(join(synthesisers, choice.synth), join(folder, 'libfluidsynth.js'));
  spawnSync(process.execPath, [new URL('../web/precompress.mjs', import.meta.url).pathname, folder], { stdio: 'inherit' });
  return folder;
}

// Bytes sent for a first visit until the music is heard (no throttling), and the timed visits,
// in a browser of their own.
async function visit(folder) {
  const server = await serve(folder, 0);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launchChromium();
  try {
    const context = await browser.createBrowserContext();
    const tab = await context.newPage();
    const before = server.bytesSent();
    await tab.goto(url, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS });
    await waitForText(tab, 'ネームエントリー');
    await musicHeardAt(tab);
    const bytes = server.bytesSent() - before;
    await serviceWorkerControls(tab);
    await context.close();
    const times = [];
    for (let run = 0; run < runs; ++run) times.push(await timeFirstVisit(browser, url, { mbits: 10, slowdown: 2 }));
    return { bytes, title: median(times.map((time) => time.titleMs)), music: median(times.map((time) => time.musicMs)) };
  } finally {
    await browser.close();
    server.closeAllConnections();
    server.close();
  }
}

const pieces = readdirSync(choices).filter((name) => name.startsWith('whole.sf2-')).map((name) => name.slice('whole.sf2-'.length));
const references = Object.fromEntries(pieces.map((piece) => [piece, monoSamples(join(choices, `whole.sf2-${piece}`))]));
function worstBandOf(sound) {
  const worst = sound.reduce((a, b) => (b.worstBand > a.worstBand ? b : a));
  return worst.worstBand === 0 ? '0.00' : `${worst.worstBand.toFixed(2)} at ${worst.worstAt} Hz`;
}

const rows = [];
for (const choice of CHOICES) {
  const font = readFileSync(join(choices, choice.font));
  const synth = readFileSync(join(synthesisers, choice.synth));
  const sound = pieces.map((piece) => compareRender(references[piece], monoSamples(join(choices, `${choice.font}-${piece}`))));
  const visited = await visit(pageWith(choice));
  rows.push([choice.label, statSync(join(choices, choice.font)).size, gzipped(font), brotli(font), brotli(synth),
    visited.bytes, Math.round(visited.title), Math.round(visited.music),
    Math.max(...sound.map((s) => Math.abs(s.level))).toFixed(2),
    Math.max(...sound.map((s) => s.difference)).toFixed(1), worstBandOf(sound)]);
}
console.log(`SoundFont choices (first visit: bytes sent until the music is heard; times: median of ${runs} visits at 10 Mbit/s, 40 ms, CPU slowed 2x;`);
console.log(`sound: the ${pieces.length} pieces rendered by FluidSynth against the whole SF2, worst piece)`);
const header = ['choice', 'font bytes', 'font .gz', 'font .br', 'synth .br', 'first visit', 'title ms', 'music ms',
  'level dB', 'difference dB', 'worst band'];
const widths = header.map((title, column) => Math.max(title.length, ...rows.map((row) => String(row[column]).length)));
for (const row of [header, ...rows]) console.log(row.map((cell, column) => String(cell).padStart(widths[column])).join('  '));
