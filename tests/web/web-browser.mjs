// What the browser checks share: their PASS/FAIL and BUDGET lines, headless Chromium (Debian's,
// driven by puppeteer-core) with a profile of its own, opening the game's page and noting its
// errors, reading its screen, and holding keys and buttons.
import { createRequire } from 'node:module';

const require = createRequire(new URL('../../web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

// How long the game may take to answer before a check counts it as not answering: long,
// since a loaded machine is slow, yet a fault fails the run in minutes rather than hanging it.
export const PATIENCE_MS = 60000;

const results = [];
const budgetsMet = [];
// The errors of every page opened by visit(), checked once by finish().
export const pageErrors = [];

export function check(name, ok, detail = '') {
  results.push(ok);
  console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

// A timing or load budget: reported, and failing the run only with --strict; null is never.
export function budget(name, value, limit, unit) {
  const met = value !== null && value < limit;
  budgetsMet.push(met);
  const shown = value === null ? 'never' : `${value.toFixed(unit === '%' ? 2 : 0)} ${unit}`;
  console.log(`BUDGET ${name}: ${shown} (under ${limit} ${unit}) ${met ? 'met' : 'MISSED'}`);
}

// Checks that no page had an error, prints the tally and ends the process: failing on a failed
// check, or on a missed budget when the command line says --strict.
export function finish() {
  check('no page errors', pageErrors.length === 0, pageErrors.join('; '));
  const passed = results.filter(Boolean).length;
  console.log(`${passed} passed, ${results.length - passed} failed`);
  const strict = process.argv.includes('--strict');
  process.exit(passed === results.length && (!strict || budgetsMet.every(Boolean)) ? 0 : 1);
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
export const rows = (page) => page.evaluate(() => window.domrak.rows());
export const shows = async (page, text) => (await rows(page)).some((row) => row.includes(text));

// Chromium with a fresh profile of puppeteer's, removed again by close().
export const launchChromium = () => puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  timeout: PATIENCE_MS,  // Chromium's own start, and each page's loading, on a busy machine
  args: ['--no-sandbox', '--disable-gpu', '--disable-component-update',
    '--accept-lang=ja'],  // a browser that prefers Japanese, whatever the machine's locale
});

// A new page of `within` (the browser or one of its contexts) gone to `address`, its errors
// kept for finish(); each of `setUps(page)` first says what the visitor's browser is like. A
// page that cannot load stays blank, for the checks that follow to find.
export async function visit(within, address, ...setUps) {
  const page = await within.newPage();
  page.on('pageerror', (error) => pageErrors.push(error.message));
  for (const setUp of setUps) await setUp(page);
  await page.goto(address, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS }).catch(() => {});
  return page;
}

// Whether `condition(arg)`, run in the page, came true within PATIENCE_MS.
export const waitFor = (page, condition, arg) => page.waitForFunction(condition, { timeout: PATIENCE_MS, polling: 20 }, arg)
  .then(() => true, () => false);
export const waitForText = (page, text) => waitFor(page, (t) => window.domrak.rows().some((row) => row.includes(t)), text);
export const spoken = (page) => page.$eval('#screen-text', (region) => region.textContent);
export const waitForSpoken = (page, text) => waitFor(page, (t) => document.getElementById('screen-text').textContent.includes(t), text);

// Holds something down (`press()`, then `release()`) until the screen changes, as a player holds
// a key until the game answers, `heldOn` ms longer; whether the screen then shows `answer`
// (without one, whether it changed).
export async function holdDown(page, press, release, answer = null, heldOn = 0) {
  const before = JSON.stringify(await rows(page));
  await press();
  const changed = await waitFor(page, (b) => JSON.stringify(window.domrak.rows()) !== b, before);
  await sleep(heldOn);
  await release();
  return changed && (!answer || (await waitForText(page, answer)));
}

// A key held with real key-down and key-up events.
export const hold = (page, key, answer = null, heldOn = 0) =>
  holdDown(page, () => page.keyboard.down(key), () => page.keyboard.up(key), answer, heldOn);
