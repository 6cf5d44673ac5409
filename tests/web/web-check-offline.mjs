// The browser version's weight, load and offline play, as a visitor meets them: the bytes of
// a first visit, the title and music times on a slow link (reported; --strict fails on them),
// the game offered for the home screen, started and played with no network after one visit,
// and a new build's cache taking the old one's place.
// Usage: node tests/web/web-check-offline.mjs FOLDER [--strict]   (tests/web/web-check.sh runs it)
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { serve } from '../../web/serve.mjs';
import {
  budget, check, finish, hold, launchChromium, musicHeardAt, PATIENCE_MS, serviceWorkerControls, sleep, timeFirstVisit,
  waitFor, waitForText,
} from './web-browser.mjs';

const FIRST_VISIT_BYTES = 2500000;
const folder = process.argv[2];
const strict = process.argv.includes('--strict');

function stopServer(server) {
  server.closeAllConnections();
  return new Promise((done) => server.close(done));
}

const cacheNames = (page) => page.evaluate(() => caches.keys());

// While set, called when the game's code is asked for; the code is sent once its promise settles.
let holdGameCode = null;
let server = await serve(folder, 0, (path) => (path === '/domrak.wasm' && holdGameCode ? holdGameCode() : null));
const { port } = server.address();
const url = `http://127.0.0.1:${port}/`;
const browser = await launchChromium();
const copy = mkdtempSync(join(tmpdir(), 'domrak-next-build-'));
try {
  const slow = await timeFirstVisit(browser, url, { mbits: 10, slowdown: 2 });
  budget('title on screen, first visit at 10 Mbit/s with the CPU slowed 2x', slow.titleMs, 1200, 'ms');
  budget('music heard, first visit at 10 Mbit/s with the CPU slowed 2x', slow.musicMs, 3000, 'ms');
  const slow4g = await timeFirstVisit(browser, url, { mbits: 1.6, latency: 150, slowdown: 4 });
  budget('music heard, first visit on slow 4G (1.6 Mbit/s, 150 ms, the page slowed 4x)', slow4g.musicMs, 5000, 'ms');

  // One whole first visit: the page, its sound and the service worker's cache of it all.
  const page = await browser.newPage();
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(error.message));
  // What the page shows while the game's code is on its way: held back until looked at.
  let release;
  const released = new Promise((resolve) => { release = resolve; });
  const asked = new Promise((resolve) => {
    holdGameCode = () => { resolve(true); return released; };
  });
  const bytesBefore = server.bytesSent();
  await page.goto(url, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS });
  const held = await Promise.race([asked, sleep(PATIENCE_MS).then(() => false)]);
  check('a loading sign shows while the game loads', held && await page.evaluate(() => {
    const sign = document.getElementById('loading');
    return sign?.checkVisibility() && sign.textContent === '読み込み中…';
  }));
  holdGameCode = null;
  release();
  check('title on screen', await waitForText(page, 'ネームエントリー'));
  check('the loading sign is gone once the title is drawn',
    await waitFor(page, () => window.domrak.firstContentTime() > 0 && !document.getElementById('loading')?.checkVisibility()));
  check('music sounds on the first visit', await musicHeardAt(page) !== null);
  check('the service worker takes the page', await serviceWorkerControls(page));
  const bytes = server.bytesSent() - bytesBefore;
  check(`a first visit sends at most ${FIRST_VISIT_BYTES} bytes`, bytes <= FIRST_VISIT_BYTES, `${bytes} bytes`);
  const { installabilityErrors } = await page.target().createCDPSession()
    .then((session) => session.send('Page.getInstallabilityErrors'));
  check('the game can be added to a home screen', installabilityErrors.length === 0,
    installabilityErrors.map((error) => error.errorId).join(', '));
  const firstCaches = await cacheNames(page);
  await page.close();

  // No network at all: the server is gone.
  await stopServer(server);
  const offline = await browser.newPage();
  offline.on('pageerror', (error) => pageErrors.push(error.message));
  await offline.goto(url, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS }).catch(() => {});
  check('offline, the title shows', await waitForText(offline, 'ネームエントリー'));
  check('offline, the music sounds', await musicHeardAt(offline) !== null);
  check('offline, Enter opens the name entry', await hold(offline, 'Enter', '名前：'));

  // A new build: its worker waits until no page of the old one is open, then drops the old cache.
  cpSync(folder, copy, { recursive: true });
  const worker = join(copy, 'service-worker.js');
  writeFileSync(worker, readFileSync(worker, 'utf8').replace(/'domrak-[0-9a-f]+'/, "'domrak-0123456789abcdef'"));
  rmSync(`${worker}.gz`, { force: true });
  rmSync(`${worker}.br`, { force: true });
  server = await serve(copy, port);
  await offline.evaluate(() => navigator.serviceWorker.ready.then((registration) => registration.update()));
  await offline.waitForFunction(() => navigator.serviceWorker.getRegistration().then((registration) => registration.waiting !== null),
    { timeout: PATIENCE_MS, polling: 100 }).catch(() => {});
  await offline.close();
  const updated = await browser.newPage();
  await updated.goto(url, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS });
  await updated.waitForFunction(() => caches.keys().then((names) => names.includes('domrak-0123456789abcdef')
    && names.length === 1), { timeout: PATIENCE_MS, polling: 100 }).catch(() => {});
  check('a new build replaces the old cache', JSON.stringify(await cacheNames(updated)) === '["domrak-0123456789abcdef"]',
    `before ${firstCaches}, now ${await cacheNames(updated)}`);
  check('after the new build, the title shows', await waitForText(updated, 'ネームエントリー'));
  check('no page errors', pageErrors.length === 0, pageErrors.join('; '));
} finally {
  await browser.close();
  await stopServer(server);
  rmSync(copy, { recursive: true, force: true });
}

finish(strict);
