// First visits on a slow 4G link (1.6 Mbit/s, 150 ms) with the page's main thread slowed 4x
// (Chromium refuses to slow the game's worker or the audio thread): the title and the music,
// median of RUNS.
// Usage: node bench/slow_link.mjs PAGE_FOLDER [RUNS]
import { serve } from '../web/serve.mjs';
import { launchChromium } from '../tests/web/web-browser.mjs';
import { timeFirstVisit } from './first_visit.mjs';

const runs = Number(process.argv[3] || 3);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const server = await serve(process.argv[2], 0);
const browser = await launchChromium();
try {
  const times = [];
  for (let run = 0; run < runs; ++run) times.push(await timeFirstVisit(browser, `http://127.0.0.1:${server.address().port}/`, { mbits: 1.6, latency: 150, slowdown: 4 }));
  for (const what of ['titleMs', 'musicMs']) console.log(`${what}: median ${median(times.map((time) => time[what]))} ms of [${times.map((time) => Math.round(time[what]))}]`);
} finally {
  await browser.close();
  server.close();
}
