// What the browser checks share: the page served from a folder to headless Chromium, the
// screen read back as text, held keys, and the PASS, FAIL and BUDGET lines with the exit status.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createRequire } from 'node:module';

import { serve } from '../web/serve.mjs';

const require = createRequire(new URL('../web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

const results = [];
const budgetsMet = [];

export function check(name, ok, detail = '') {
  results.push(ok);
  console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

export function budget(name, value, limit, unit) {
  budgetsMet.push(value < limit);
  console.log(`BUDGET ${name}: ${value.toFixed(unit === '%' ? 2 : 0)} ${unit} (under ${limit} ${unit}) ${value < limit ? 'met' : 'MISSED'}`);
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
export const rows = (page) => page.evaluate(() => window.domrak.rows());
export const screenHas = async (page, text) => (await rows(page)).some((row) => row.includes(text));

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

// The row of the screen that the selection marker `mark` is on, and the text after it.
export async function markedItem(page, mark) {
  const screen = await rows(page);
  const row = screen.findIndex((line) => line.includes(mark));
  return row < 0 ? null : screen[row].slice(screen[row].indexOf(mark) + mark.length).trim();
}

// Serves `folder`, starts Chromium with a fresh profile and runs `play(browser, url)`; then
// prints the tally and exits, failing on a failed check (or, with --strict, a missed budget).
export async function runInBrowser(folder, play) {
  const server = await serve(folder, 0);
  const profile = mkdtempSync(join(tmpdir(), 'domrak-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
  });
  try {
    await play(browser, `http://127.0.0.1:${server.address().port}/`);
  } finally {
    await browser.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  }
  const passed = results.filter(Boolean).length;
  console.log(`${passed} passed, ${results.length - passed} failed`);
  const strict = process.argv.includes('--strict');
  process.exit(passed === results.length && (!strict || budgetsMet.every(Boolean)) ? 0 : 1);
}
