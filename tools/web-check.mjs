// Plays the browser build in headless Chromium as a player would, and measures its budgets.
// Usage: node tools/web-check.mjs FOLDER [--strict]   (tools/web-check.sh builds build/web)
// The timings depend on the machine's load, so they are reported, and fail the run only
// with --strict.
import { serve } from '../web/serve.mjs';
import { budget, check, finish, hold, launchChromium, rows, sleep, waitForText } from './web-browser.mjs';

const server = await serve(process.argv[2], 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const strict = process.argv.includes('--strict');

const screenHas = async (page, text) => (await rows(page)).some((row) => row.includes(text));

// The row of the screen that the selection marker `mark` is on, and the text after it.
async function markedItem(page, mark) {
  const screen = await rows(page);
  const row = screen.findIndex((line) => line.includes(mark));
  return row < 0 ? null : screen[row].slice(screen[row].indexOf(mark) + mark.length).trim();
}

const browser = await launchChromium();
try {
  const page = await browser.newPage();
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(error.message));
  await page.setViewport({ width: 1000, height: 680 });

  // The title, timed from navigation; the SoundFont only after it.
  await page.goto(url, { waitUntil: 'domcontentloaded' });
  check('title on screen', await waitForText(page, 'ネームエントリー', 10000));
  const titleMs = await page.evaluate(() => window.domrak.firstContentTime());
  budget('title on screen after navigation', titleMs, 1500, 'ms');
  check('sound waits for a key, said outside the screen',
    (await page.$eval('#notice', (notice) => notice.textContent)) === 'Sound starts with your first key.');
  await page.waitForFunction(() => window.domrak.soundState().loaded, { timeout: 20000 });
  const soundFontAt = await page.evaluate(() => performance.getEntriesByType('resource')
    .find((entry) => entry.name.endsWith('/TimGM6mb.sf2')).startTime);
  check('SoundFont loads after the title', soundFontAt > titleMs);

  // Idle on the title, once the loading has settled: no redraw, and the main thread all but still.
  await sleep(2000);
  const drawnBefore = await page.evaluate(() => window.domrak.lastDrawTime());
  const busyBefore = (await page.metrics()).TaskDuration;
  await sleep(10000);
  budget('main thread busy while the title idles 10 s', (((await page.metrics()).TaskDuration - busyBefore) / 10) * 100, 1, '%');
  check('no redraw while idle', (await page.evaluate(() => window.domrak.lastDrawTime())) === drawnBefore);

  // Held keys move the selection one step; the first key starts the sound.
  await page.keyboard.press('Escape');  // closes the help panel of a first visit
  await hold(page, 'ArrowDown', 300);
  check('held Down moves one step', await waitForText(page, '闘技場へ行く', 2000)
    && (await page.evaluate(() => window.domrak.soundState().started)));
  await sleep(200);
  check('effects sound', (await page.evaluate(() => window.domrak.effectsPeak())) > 0);
  await hold(page, 'ArrowUp');
  await sleep(100);
  const beforeTap = await rows(page);
  await page.evaluate(() => {  // press and release inside one task: between two polls
    for (const type of ['keydown', 'keyup'])
      window.dispatchEvent(new KeyboardEvent(type, { key: 'ArrowDown', code: 'ArrowDown', keyCode: 40, bubbles: true }));
  });
  await sleep(300);
  check('a press and release between two polls answers 0', JSON.stringify(await rows(page)) === JSON.stringify(beforeTap));

  // A name typed through the same keys, and the abilities it gives.
  await hold(page, 'Enter');
  check('name entry opens', await waitForText(page, '名前：', 5000));
  await hold(page, 'Enter');
  check('an empty name is refused calmly', await waitForText(page, '名前を入力して下さい。', 2000));
  await page.keyboard.type('Ab_1 x', { delay: 30 });
  await hold(page, 'Backspace');
  check('typed name shows', await waitForText(page, 'Ab_1', 2000) && !(await screenHas(page, 'Ab_1 x')));
  await hold(page, 'Enter');
  check('creation screen shows the abilities', await waitForText(page, 'このキャラでＯＫ？', 30000)
    && (await rows(page)).join('').includes('敏捷'));
  await hold(page, 'Enter');
  check('the fighter is on the title', await waitForText(page, '名前:Ab_1', 10000));

  // Music alone after the effects have died away.
  await sleep(2500);
  const peaks = await page.evaluate(() => [window.domrak.outputPeak(), window.domrak.effectsPeak()]);
  check('music sounds', peaks[0] > 0 && peaks[1] === 0, `peak ${peaks[0].toFixed(3)}`);

  // Into the arena: the command menu follows a held key one step.
  await hold(page, 'ArrowDown');
  await hold(page, 'Enter');
  check('the first round opens', await waitForText(page, 'Round 1', 10000));
  const menuOpen = await page.waitForFunction(() => window.domrak.rows().some((row) => row.includes('⇒攻撃') || row.includes('⇒ 攻撃')),
    { timeout: 60000, polling: 50 }).then(() => true, () => false);
  const first = await markedItem(page, '⇒');
  await hold(page, 'ArrowDown', 500);
  const second = await markedItem(page, '⇒');
  check('battle menu moves one step for a held key', menuOpen && first !== second && second.startsWith('強攻撃'), `${first} -> ${second}`);

  const latencies = await page.evaluate(() => window.domrak.keyToScreenMs());
  budget(`key press to changed screen, worst of ${latencies.length} [${latencies.map(Math.round)}]`,
    Math.max(...latencies), 50, 'ms');
  check('no page errors', pageErrors.length === 0, pageErrors.join('; '));
} finally {
  await browser.close();
  server.close();
}

finish(strict);
