// Plays the browser build as on a phone: touch emulation at 390x844 (upright) and 844x390 (on
// its side), the on-screen pad, the name typed into the phone's text field, the help panel of a
// first visit and the screen's text for screen readers. Screenshots of both layouts go to the
// folder given second. Usage: node tests/web/web-check-phone.mjs FOLDER SHOTS [--strict]
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';

import { serve } from '../../web/serve.mjs';
import {
  check, finish, holdDown, launchChromium, shows, spoken, visit, waitFor, waitForSpoken, waitForText,
} from './web-browser.mjs';

const shots = process.argv[3] ?? 'build/web-check';
mkdirSync(shots, { recursive: true });
const shoot = (page, name) => page.screenshot({ path: join(shots, `${name}.png`) });

const box = (page, selector) => page.$eval(selector, (element) => {
  const { left, top, right, bottom, width, height } = element.getBoundingClientRect();
  return { left, top, right, bottom, width, height };
});
const middle = ({ left, top, width, height }) => [left + width / 2, top + height / 2];
const padButton = (label) => `#pad button[aria-label="${label}"]`;
// A finger's tap at the middle of what `selector` finds.
const tap = async (page, selector) => page.touchscreen.tap(...middle(await box(page, selector)));

// Holds a pad button with one finger until the screen changes, `heldOn` ms longer; whether the
// screen then shows `answer` (without one, whether it changed).
async function press(page, label, answer = null, heldOn = 0) {
  const [x, y] = middle(await box(page, padButton(label)));
  let finger;
  const touch = async () => { finger = await page.touchscreen.touchStart(x, y); };
  return holdDown(page, touch, () => finger.end(), answer, heldOn);
}

const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
// What the name field covers: rows of the game's text and the page's buttons.
async function checkFieldCovers(page, layout) {
  const covered = await page.evaluate(() => {
    const field = document.getElementById('name-form').getBoundingClientRect();
    const screen = document.getElementById('screen').getBoundingClientRect();
    const hits = (r) => field.left < r.right && r.left < field.right && field.top < r.bottom && r.top < field.bottom;
    const rowBox = (row) => ({ left: screen.left, right: screen.right, top: screen.top + (row * screen.height) / 25, bottom: screen.top + ((row + 1) * screen.height) / 25 });
    return [...window.domrak.rows().flatMap((text, row) => (text.trim() && hits(rowBox(row)) ? [`row ${row + 1}`] : [])),
      ...[...document.querySelectorAll('button')].filter((b) => b.checkVisibility() && hits(b.getBoundingClientRect())).map((b) => b.textContent)];
  });
  check(`${layout}: the name field covers neither the game's text nor a button`, covered.length === 0,
    covered.join(', '));
}
const helpOpen = (page) => page.$eval('#help-panel', (panel) => panel.open);
const helpBecomes = (page, open) => waitFor(page, (o) => document.getElementById('help-panel').open === o, open);

// A phone `width` x `height`, with the safe areas a notch leaves (`insets`: top, right, bottom, left).
function openPhone(width, height, insets = { top: 0, right: 0, bottom: 0, left: 0 }) {
  return visit(browser, url, async (page) => {
    await page.setViewport({ width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
    await (await page.createCDPSession()).send('Emulation.setSafeAreaInsetsOverride', { insets });
    page.visibleArea = { left: insets.left, top: insets.top, right: width - insets.right, bottom: height - insets.bottom };
  });
}

// The pad's buttons are big enough for a thumb, a touch at the middle of each lands on it, and
// the whole screen is in the phone's visible area.
async function checkPad(page, layout) {
  const screen = await box(page, '#screen');
  const buttons = await page.$$eval('#pad button', (all) => all.map((button) => {
    const { left, top, right, bottom, width, height } = button.getBoundingClientRect();
    const hit = document.elementFromPoint(left + width / 2, top + height / 2);
    return { label: button.getAttribute('aria-label'), left, top, right, bottom, width, height, hit: button.contains(hit) };
  }));
  const missed = buttons.filter((button) => !button.hit).map((button) => button.label);
  check(`${layout}: a touch on each pad button lands on it`, missed.length === 0, missed.join(', '));
  const area = page.visibleArea;
  check(`${layout}: the whole screen is in the visible area`, screen.left >= area.left && screen.top >= area.top
    && screen.right <= area.right && screen.bottom <= area.bottom, JSON.stringify(screen));
  const small = buttons.filter((button) => button.width < 48 || button.height < 48).map((button) => button.label);
  check(`${layout}: the pad's five buttons are at least 48 px`, buttons.length === 5 && small.length === 0, small.join(', '));
  const covering = buttons.filter((button) => overlaps(button, screen)).map((button) => button.label);
  check(`${layout}: the pad leaves the screen uncovered`, covering.length === 0, covering.join(', '));
  return { screen, buttons: Object.fromEntries(buttons.map((button) => [button.label, button])) };
}

const server = await serve(process.argv[2], 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launchChromium();
try {
  // Upright: the whole way from the title through the manual to a name and the fighter it makes.
  const page = await openPhone(390, 844);
  check('upright: title on screen', await waitForText(page, 'ネームエントリー'));
  check('the help panel opens by itself on a first visit', await helpOpen(page));
  const notice = await page.$eval('#notice', (element) => element.textContent);
  check('the sound waits for a tap, said outside the screen', notice === '最初のタップで音が出ます。', notice);
  await shoot(page, 'phone-portrait-help');
  await tap(page, '#help-close');
  check('its Close button closes it', await helpBecomes(page, false));
  check('the first tap starts the sound', await page.evaluate(() => window.domrak.soundState().started));

  const { screen, buttons } = await checkPad(page, 'upright');
  check('upright: the screen spans the width', screen.width >= 390 * 0.9, `${screen.width} px`);
  check('upright: a hint says to turn the phone', await page.$eval('#turn-hint', (hint) => hint.checkVisibility() && hint.textContent.includes('横にすると')));
  await tap(page, '#full-screen-button');
  check('upright: the full-screen button fills the screen', await waitFor(page, () => document.fullscreenElement !== null));
  await page.evaluate(() => document.exitFullscreen());  // settled once left
  check('upright: the pad is below the screen', buttons.Up.top >= screen.bottom && buttons.Enter.top >= screen.bottom);
  check('upright: the pad is in the lower half, within thumb reach', buttons.Down.bottom > 844 / 2 && buttons.Enter.bottom > 844 / 2);
  // Held on 500 ms: a second step would show by now.
  check('a held pad button moves the selection one step', await press(page, 'Down', '全6ラウンドを勝ち抜く', 500)
    && !(await shows(page, 'まずはルールを覚えましょう')));
  check('the live region says the greyed item cannot be chosen yet', await waitForSpoken(page, '選択：闘技場へ行く（まだ選べません）'));
  await shoot(page, 'phone-portrait');

  // The manual answers a key once it is let go: tapped.
  await press(page, 'Down');
  for (const [label, answer, what] of [['Enter', '1/6', 'the manual opens from the pad'],
    ['Right', '2/6', 'Right turns the manual to page 2'], ['Left', '1/6', 'Left turns it back to page 1'],
    ['Enter', 'ネームエントリー', 'Enter goes back to the title']]) {
    await tap(page, padButton(label));
    check(what, await waitForText(page, answer));
  }
  check('name entry opens', await press(page, 'Enter', '名前：'));  // the title starts again on ネームエントリー
  check('the name field takes the focus', await waitFor(page, () => document.activeElement.id === 'name-field'));
  await checkFieldCovers(page, 'upright');
  await shoot(page, 'phone-portrait-name');
  await page.keyboard.type('Ab_1', { delay: 30 });
  await page.keyboard.sendCharacter('!');   // refused, as on a desk
  await page.keyboard.sendCharacter('ｘ');  // a full-width letter from the phone's input method is an x
  check('typed and composed text reaches the name', await waitForText(page, 'Ab_1x') && !(await shows(page, '!')));
  await page.keyboard.press('Backspace');
  check('Backspace in the field takes the last letter off',
    await waitFor(page, () => window.domrak.rows()[4].includes('Ab_1') && !window.domrak.rows()[4].includes('Ab_1x')));
  check('the pad\'s Enter accepts the name', await press(page, 'Enter', 'このキャラでＯＫ？'));
  check('the name field is out of the way once the name is taken', await page.$eval('#name-form', (form) => form.hidden));
  check('the live region reads the new fighter\'s abilities', await waitForSpoken(page, 'ＨＰ 350'), (await spoken(page)).slice(-120));
  await page.close();

  // On its side, a second visit: the help stays closed, the pad's halves beside the screen.
  // A notched phone: the safe areas such a phone reports on its side.
  const side = await openPhone(844, 390, { top: 0, right: 47, bottom: 21, left: 47 });
  check('on its side: title on screen', await waitForText(side, 'ネームエントリー'));
  check('the help panel stays closed on a second visit', !(await helpOpen(side)));
  const lying = await checkPad(side, 'on its side');
  check('on its side: the screen fills the room between the pad\'s halves', lying.screen.width >= (844 - 2 * 47 - 2 * 112) * 0.9, `${lying.screen.width} px`);
  check('on its side: the arrows are left of the screen', ['Up', 'Down', 'Left', 'Right'].every((label) => lying.buttons[label].right <= lying.screen.left));
  check('on its side: Enter is right of the screen', lying.buttons.Enter.left >= lying.screen.right);
  await shoot(side, 'phone-landscape');
  await waitFor(side, () => window.domrak.soundState().loaded);
  await press(side, 'Down', null, 500);
  check('on its side: the first pad tap starts the music', await waitFor(side, () => window.domrak.outputPeak() > 0));
  await tap(side, '#help-button');
  check('"How to play" opens the panel', await helpBecomes(side, true));
  await shoot(side, 'phone-landscape-help');
  await side.touchscreen.tap(4, 4);
  check('a tap outside the panel closes it', await helpBecomes(side, false));

  // Tab leaves the game for the page's controls and comes back, the focus shown.
  await side.focus('#screen');
  await side.keyboard.press('Tab');
  const tabbed = await side.evaluate(() => [document.activeElement.tagName, getComputedStyle(document.activeElement).outlineStyle]);
  check('Tab moves the focus from the game to the page\'s controls, shown', tabbed[0] === 'BUTTON' && tabbed[1] !== 'none', tabbed.join(' '));
  await side.keyboard.down('Shift');
  await side.keyboard.press('Tab');
  await side.keyboard.up('Shift');
  check('Shift+Tab brings it back to the game', await side.evaluate(() => document.activeElement.id === 'screen'));

  await tap(side, '#mute-button');
  await side.reload({ waitUntil: 'domcontentloaded' });
  check('the mute button is remembered', await waitFor(side, () => document.getElementById('mute-button').ariaPressed === 'true'));
  await waitForText(side, 'ネームエントリー');
  await press(side, 'Enter');
  check('on its side: name entry opens', await waitFor(side, () => !document.getElementById('name-form').hidden));
  await checkFieldCovers(side, 'on its side');
  await shoot(side, 'phone-landscape-name');
} finally {
  await browser.close();
  server.close();
}

finish();
