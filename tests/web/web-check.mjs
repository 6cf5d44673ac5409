// Plays the browser build in headless Chromium as a player would, and measures its budgets:
// then a first visit's bytes, the home-screen offer, offline play after it and a new build's
// cache taking the old one's place.
// Usage: node tests/web/web-check.mjs FOLDER [--strict]   (tests/web/web-check.sh builds build/web)
// The timings depend on the machine's load, so they are reported, and fail the run only
// with --strict. Every other wait lasts until the game answers, bounded by PATIENCE_MS
// (tests/web/web-browser.mjs).
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { serve } from '../../web/serve.mjs';
import {
  budget, check, finish, hold, holdDown, launchChromium, pageErrors, PATIENCE_MS, rows,
  shows, sleep, spoken, visit, waitFor, waitForSpoken, waitForText,
} from './web-browser.mjs';

const folder = process.argv[2];
// While set, called when the game's code is asked for; the code is sent once its promise settles.
let holdGameCode = null;
let server = await serve(folder, 0, (path) => (path === '/domrak.wasm' && holdGameCode ? holdGameCode() : null));
const { port } = server.address();
const url = `http://127.0.0.1:${port}/`;

// The title's help line for the selected item.
const NAME_ENTRY_HELP = '名前を入力してキャラを誕生させよう';
const ARENA_HELP = '全6ラウンドを勝ち抜く基本のモード';

// Whether the effects sound, and then the music alone once they have died away.
async function effectsThenMusic(page) {
  const effects = await waitFor(page, () => window.domrak.effectsPeak() > 0);
  const music = await waitFor(page, () => window.domrak.effectsPeak() === 0 && window.domrak.outputPeak() > 0);
  return [effects, music];
}

// A visitor who has been here before: the help panel of a first visit (checked by
// web-check-phone.mjs) stays closed and the keys go straight to the game.
const returningVisitor = (page) => page.evaluateOnNewDocument(() => localStorage.setItem('domrak-help-seen', '1'));

function stopServer() {
  server.closeAllConnections();
  return new Promise((done) => server.close(done));
}

const browser = await launchChromium();
const copy = mkdtempSync(join(tmpdir(), 'domrak-next-build-'));
try {
  const desk = (opened) => opened.setViewport({ width: 1000, height: 680 });
  const page = await visit(browser, url, desk, returningVisitor);

  // The title, timed from navigation; the SoundFont only after it.
  check('title on screen', await waitForText(page, 'ネームエントリー'));
  const titleMs = await page.evaluate(() => window.domrak.firstContentTime());
  budget('title on screen after navigation', titleMs, 1500, 'ms');
  check('sound waits for a key, said outside the screen',
    (await page.$eval('#notice', (notice) => notice.textContent)) === '最初のキーで音が出ます。');
  check('sound loads', await waitFor(page, () => window.domrak.soundState().loaded
    && performance.getEntriesByType('resource').some((entry) => entry.name.endsWith('/TimGM6mb.sf2'))));
  // All on the page's own clock: the title's small SoundFont is asked for after the title is drawn, the whole one after it has come.
  const [firstFont, wholeFont] = await page.evaluate(() => ['first.sf2', '/TimGM6mb.sf2'].map((name) => performance.getEntriesByType('resource')
    .find((entry) => entry.name.endsWith(name))).map((entry) => entry && { startTime: entry.startTime, responseEnd: entry.responseEnd }));
  check('the SoundFonts load after the title, one after the other', firstFont.startTime >= titleMs && wholeFont.startTime >= firstFont.responseEnd,
    `title drawn at ${titleMs} ms, first font ${firstFont.startTime}-${firstFont.responseEnd} ms, whole from ${wholeFont.startTime} ms`);

  // Idle on the title, once the loading has settled: no redraw, and the main thread all but still.
  await sleep(2000);
  const drawnBefore = await page.evaluate(() => window.domrak.lastDrawTime());
  const busyBefore = (await page.metrics()).TaskDuration;
  await sleep(10000);
  budget('main thread busy while the title idles 10 s', (((await page.metrics()).TaskDuration - busyBefore) / 10) * 100, 1, '%');
  check('no redraw while idle', (await page.evaluate(() => window.domrak.lastDrawTime())) === drawnBefore);
  const { installabilityErrors } = await page.target().createCDPSession()
    .then((session) => session.send('Page.getInstallabilityErrors'));
  check('the game can be added to a home screen', installabilityErrors.length === 0,
    installabilityErrors.map((error) => error.errorId).join(', '));

  // Held keys move the selection one step; the first key starts the sound.
  check('held Down moves one step', await hold(page, 'ArrowDown', ARENA_HELP));
  check('the first key starts the sound', await page.evaluate(() => window.domrak.soundState().started));
  check('effects sound', await waitFor(page, () => window.domrak.effectsPeak() > 0));
  await hold(page, 'ArrowUp', NAME_ENTRY_HELP);

  // A name typed through the same keys, and the abilities it gives.
  check('name entry opens', await hold(page, 'Enter', '名前：'));
  await page.keyboard.type('Ab_1 x', { delay: 30 });
  await hold(page, 'Backspace');
  check('typed name shows', await waitFor(page, () => window.domrak.rows().join('\n').includes('Ab_1')
    && !window.domrak.rows().join('\n').includes('Ab_1 x')));
  await hold(page, 'Enter', 'このキャラでＯＫ？');
  check('the fighter is on the title', await hold(page, 'Enter', '名前:Ab_1'));
  check('music sounds once the effects have died away', (await effectsThenMusic(page))[1]);
  // The browser suspends the sound (a phone call, a frozen tab): the next key brings it back.
  await page.evaluate(() => pageAudio.context.suspend());
  await waitFor(page, () => window.domrak.outputPeak() === 0);
  await page.keyboard.press('Shift');
  check('a key brings back the sound the browser suspended', await waitFor(page, () => window.domrak.outputPeak() > 0));

  // Into the arena: the command menu follows a held key one step.
  await hold(page, 'ArrowDown', ARENA_HELP);
  await hold(page, 'Enter');
  const menuOpen = await waitFor(page, () => window.domrak.rows().some((row) => row.includes('⇒攻撃') || row.includes('⇒ 攻撃')));
  await hold(page, 'ArrowDown', null, 500);  // held on: a second step would show by now
  const marked = (await rows(page)).find((row) => row.includes('⇒')) ?? '';
  check('battle menu moves one step for a held key', menuOpen && /⇒ ?強攻撃/.test(marked), marked.trim());
  // Read out once the screen is still: the game sends no frame while nothing changes.
  check('the screen reader hears the battle menu move', await waitForSpoken(page, '選択：強攻撃'), await spoken(page));
  const frames = await page.evaluate(() => window.domrak.framesShown());
  await sleep(1000);
  check('no frame while the battle menu waits', (await page.evaluate(() => window.domrak.framesShown())) === frames);
  await hold(page, 'ArrowDown');
  check('the next move is read too, and only the latest news stays in the page', await waitForSpoken(page, '選択：カウンター')
    && (await page.$eval('#screen-text', (region) => region.childElementCount)) === 1, await spoken(page));
  await page.keyboard.press('F2');
  check('F2 reads the whole screen, each fighter\'s figures with its name',
    await waitForSpoken(page, 'Ab_1 ＨＰ 605 / 605') && (await spoken(page)).includes('選択：カウンター'), await spoken(page));
  // A turn begun (the commands shown), then the page hidden (as the browser tells it): the turn
  // and the sound stand still until the page is seen again.
  const seen = (visible) => page.evaluate((v) => {
    Object.defineProperty(document, 'hidden', { value: !v, configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  }, visible);
  await hold(page, 'ArrowUp');
  await page.keyboard.down('Enter');
  await waitFor(page, () => window.domrak.rows()[12].includes('強攻撃'));
  await page.keyboard.up('Enter');
  await seen(false);
  await sleep(300);  // a frame already on its way
  const hiddenScreen = JSON.stringify(await rows(page));
  const hiddenFrames = await page.evaluate(() => window.domrak.framesShown());
  await sleep(2000);
  check('a hidden page\'s turn stands still', JSON.stringify(await rows(page)) === hiddenScreen
    && (await page.evaluate(() => window.domrak.framesShown())) === hiddenFrames);
  check('the sound pauses while the page is hidden', await waitFor(page, () => window.domrak.outputPeak() === 0));
  await seen(true);
  check('and goes on when the page is seen again', await waitFor(page, (b) => JSON.stringify(window.domrak.rows()) !== b, hiddenScreen));
  check('the sound comes back with the page', await waitFor(page, () => window.domrak.outputPeak() > 0));

  const latencies = await page.evaluate(() => window.domrak.keyToScreenMs());
  budget(`key press to changed screen, worst of ${latencies.length} [${latencies.map(Math.round)}]`,
    Math.max(...latencies), 50, 'ms');

  // A key pressed before the title is on screen, held through the loading or tapped: the
  // game's code is held back until the key is down. A held key acts just after the title
  // appears, a tapped one not at all, and the sound still starts, effects and music.
  for (const how of ['held', 'tapped']) {
    const early = await (await browser.createBrowserContext()).newPage();  // nothing cached
    await early.bringToFront();  // the player's tab has the focus: no blur lets go of the held key
    early.on('pageerror', (error) => pageErrors.push(error.message));
    await returningVisitor(early);
    let release;
    const released = new Promise((resolve) => { release = resolve; });
    const asked = new Promise((resolve) => {
      holdGameCode = () => { resolve(true); return released; };
    });
    await early.goto(url, { waitUntil: 'domcontentloaded', timeout: PATIENCE_MS });
    check(`a key ${how} while loading: the game's code is held back`, await Promise.race([asked, sleep(PATIENCE_MS).then(() => false)]));
    await early.keyboard.down('ArrowDown');
    if (how === 'tapped') await early.keyboard.up('ArrowDown');
    holdGameCode = null;
    release();
    check(`a key ${how} while loading: the title shows`, await waitForText(early, 'ネームエントリー'));
    if (how === 'held') {
      await early.keyboard.up('ArrowDown');
      check('a key held through loading moves the selection one step', await waitForText(early, ARENA_HELP));
      check('a key held through loading: the next moves the selection back', await hold(early, 'ArrowUp', NAME_ENTRY_HELP));
    } else {  // the game sees the press and the release at its first look at the keys
      check('a press and release between two polls answers 0 (a key tapped while loading)',
        await hold(early, 'ArrowDown', ARENA_HELP));
    }
    const [effects, music] = await effectsThenMusic(early);
    check(`a key ${how} while loading: then effects sound`, effects);
    check(`a key ${how} while loading: then music sounds`, music);
    await early.browserContext().close();
  }
  // A browser that prefers English: the title and the page in English; the switch turns the
  // page to Japanese at once, the game at its next screen, and is kept for the next visit.
  const prefersEnglish = (opened) => opened.evaluateOnNewDocument(
    () => Object.defineProperty(navigator, 'languages', { get: () => ['en-GB', 'de'] }));
  const english = await visit(await browser.createBrowserContext(), url, returningVisitor, prefersEnglish);
  const pageSays = (selector, what) => english.$eval(selector, (element, w) => element[w], what);
  check('an English browser: the title in English', await waitForText(english, 'Name Entry'));
  check('an English browser: the page in English', await pageSays('#read-button', 'textContent') === 'Read the screen (F2)' && await pageSays('html', 'lang') === 'en');
  await english.click('#language-switch button[lang="ja"]');
  check('the switch turns the page to Japanese at once', await pageSays('#read-button', 'textContent') === '画面を読み上げる（F2）' && await pageSays('#screen-text', 'lang') === 'ja');
  await english.focus('#screen');
  check('the game is Japanese from its next screen', await hold(english, 'Enter', 'ネームエントリー'));
  await english.reload({ waitUntil: 'domcontentloaded', timeout: PATIENCE_MS });
  check('the choice is kept for the next visit', await waitForText(english, '闘技場へ行く'));
  await english.browserContext().close();

  // A gamepad (d-pad and south button, as the Gamepad API gives them) and a link with a name.
  const padPage = await visit(browser, `${url}#name=Pad_1`, returningVisitor, (opened) => opened.evaluateOnNewDocument(() => {
    window.testPad = { connected: true, buttons: Array.from({ length: 17 }, () => ({ pressed: false })), axes: [0, 0] };
    navigator.getGamepads = () => [window.testPad];
  }));
  await waitForText(padPage, 'ネームエントリー');
  await padPage.evaluate(() => window.dispatchEvent(new Event('gamepadconnected')));  // looked at from now on
  const setPad = (button, pressed) => padPage.evaluate((b, p) => { window.testPad.buttons[b].pressed = p; }, button, pressed);
  // Held on 500 ms, when a second step would show. The page looks at the pad once a frame: a
  // release and the next press in one frame would be no release.
  const padButton = (button, answer) => holdDown(padPage, () => setPad(button, true), async () => {
    await setPad(button, false);
    await padPage.evaluate(() => new Promise((seen) => requestAnimationFrame(() => requestAnimationFrame(seen))));
  }, answer, 500);
  check('the gamepad\'s d-pad moves the selection one step', await padButton(13, ARENA_HELP) && !(await shows(padPage, 'まずはルールを覚えましょう')));
  await padButton(12, NAME_ENTRY_HELP);
  check('its south button is Enter', await padButton(0, '名前：'));
  check('a #name= link fills the name entry and goes no further', await waitForText(padPage, 'Pad_1')
    && !(await shows(padPage, 'このキャラでＯＫ？')));
  check('the player\'s Enter makes the fighter', await padButton(0, 'このキャラでＯＫ？'));

  // Browsers that cannot run the game say what they lack, and the loading sign stops turning.
  for (const [lacking, address, remove] of [['file://', `file://${process.cwd()}/${folder}/index.html`, ''],
    ['WebAssembly', url, 'WebAssembly'], ['Worker', url, 'Worker']]) {
    const bare = await visit(browser, address, (opened) => opened.evaluateOnNewDocument((name) => delete window[name], remove));
    const [said, turning] = await bare.$eval('#loading', (sign) => [sign.textContent, getComputedStyle(sign, '::before').animationName]);
    check(`without ${lacking}: said plainly, the loading sign stopped`, said.includes(lacking) && turning === 'none', said);
    await bare.close();
  }

  // One whole first visit in a fresh context: the page, its sound and the service worker's
  // cache of it all; the game's code held back until the loading sign has been looked at.
  const visitor = await browser.createBrowserContext();
  let release;
  const asked = new Promise((resolve) => {
    holdGameCode = () => { resolve(true); return new Promise((go) => { release = go; }); };
  });
  const bytesBefore = server.bytesSent();
  const firstVisit = await visit(visitor, url);
  const held = await Promise.race([asked, sleep(PATIENCE_MS).then(() => false)]);
  check('a loading sign shows while the game loads', held && await firstVisit.evaluate(() => {
    const sign = document.getElementById('loading');
    return sign?.checkVisibility() && sign.textContent === '読み込み中…';
  }));
  holdGameCode = null;
  release?.();
  check('the loading sign is gone once the title is drawn', await waitFor(firstVisit,
    () => window.domrak.firstContentTime() > 0 && !document.getElementById('loading')?.checkVisibility()));
  check('the service worker takes the page', await waitFor(firstVisit, () => navigator.serviceWorker.controller !== null));
  const bytes = server.bytesSent() - bytesBefore;
  check('a first visit sends at most 2500000 bytes', bytes <= 2500000, `${bytes} bytes`);
  await firstVisit.close();

  // No network at all: the server is gone.
  await stopServer();
  const offline = await visit(visitor, url);
  check('offline, the title shows', await waitForText(offline, 'ネームエントリー'));
  await offline.keyboard.press('Shift');
  check('offline, the music sounds', await waitFor(offline, () => window.domrak.outputPeak() > 0));
  check('offline, Enter opens the name entry', await hold(offline, 'Enter', '名前：'));

  // A new build: its worker waits until no page of the old one is open, then drops the old cache.
  cpSync(folder, copy, { recursive: true });
  const worker = join(copy, 'service-worker.js');
  writeFileSync(worker, readFileSync(worker, 'utf8').replace(/'domrak-[0-9a-f]+'/, "'domrak-0123456789abcdef'"));
  for (const compressed of ['.gz', '.br']) rmSync(worker + compressed, { force: true });
  server = await serve(copy, port);
  await offline.evaluate(() => navigator.serviceWorker.ready.then((registration) => registration.update()));
  await waitFor(offline, () => navigator.serviceWorker.getRegistration().then((registration) => registration.waiting !== null));
  await offline.close();
  const updated = await visit(visitor, url);
  check('a new build replaces the old cache', await waitFor(updated, () => caches.keys().then((names) => names.join() === 'domrak-0123456789abcdef')),
    String(await updated.evaluate(() => caches.keys())));
  check('after the new build, the title shows', await waitForText(updated, 'ネームエントリー'));
} finally {
  await browser.close();
  await stopServer();
  rmSync(copy, { recursive: true, force: true });
}

finish();
