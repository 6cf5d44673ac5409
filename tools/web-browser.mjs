// What the browser checks share: their PASS/FAIL and BUDGET lines, headless Chromium (Debian's,
// driven by puppeteer-core) with a profile of its own, reading the game's screen, holding
// keys, and timing a first visit.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(new URL('../web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

const results = [];
const budgetsMet = [];

export function check(name, ok, detail = '') {
  results.push(ok);
  console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

// A timing or load budget: reported, and failing the run only when `strict`; null is never.
export function budget(name, value, limit, unit) {
  const met = value !== null && value < limit;
  budgetsMet.push(met);
  const shown = value === null ? 'never' : `${value.toFixed(unit === '%' ? 2 : 0)} ${unit}`;
  console.log(`BUDGET ${name}: ${shown} (under ${limit} ${unit}) ${met ? 'met' : 'MISSED'}`);
}

// Prints the tally and ends the process: failing on a failed check, or on a missed budget when `strict`.
export function finish(strict) {
  const passed = results.filter(Boolean).length;
  console.log(`${passed} passed, ${results.length - passed} failed`);
  process.exit(passed === results.length && (!strict || budgetsMet.every(Boolean)) ? 0 : 1);
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
export const rows = (page) => page.evaluate(() => window.domrak.rows());

// Chromium with a fresh profile, removed again by close().
export async function launchChromium() {
  const profile = mkdtempSync(join(tmpdir(), 'domrak-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

export async function waitForText(page, text, timeout = 20000) {
  try {
    await page.waitForFunction((t) => window.domrak.rows().some((row) => row.includes(t)), { timeout, polling: 20 }, text);
    return true;
  } catch {
    return false;
  }
}

// Holds a key with real key-down and key-up events, long enough for the game to see it.
export async function hold(page, key, ms = 150) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
  await sleep(60);
}

// Milliseconds from navigation until the music is heard, for a visitor who presses a key
// (Shift, which moves nothing) as soon as the title shows; null if it never comes.
export async function musicHeardAt(page, timeout = 60000) {
  await page.keyboard.press('Shift');
  try {
    const heard = await page.waitForFunction(() => (window.domrak.outputPeak() > 0 ? performance.now() : 0),
      { timeout, polling: 20 });
    return heard.jsonValue();
  } catch {
    return null;
  }
}

// A first visit in a fresh browser context over a simulated link (`mbits` down, 40 ms
// latency) on a CPU slowed `slowdown` times: when the title and the music came.
export async function timeFirstVisit(browser, url, { mbits, slowdown }) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport({ width: 1000, height: 680 });
    await page.emulateNetworkConditions({ download: (mbits * 1e6) / 8, upload: (mbits * 1e6) / 8, latency: 40 });
    await page.emulateCPUThrottling(slowdown);
    await page.goto(url, { waitUntil: 'domcontentloaded' });
    const titleShown = await waitForText(page, 'ネームエントリー', 60000);
    const titleMs = titleShown ? await page.evaluate(() => window.domrak.firstContentTime()) : null;
    return { titleMs, musicMs: titleShown ? await musicHeardAt(page) : null };
  } finally {
    await context.close();
  }
}
