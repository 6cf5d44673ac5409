// The page's controls around the game, wired to it: the touch pad, a gamepad, the name field,
// the help panel, the screen's text for screen readers, the sound controls, full screen and
// the loading sign.
'use strict';

// The browser's memory of this page, when it lets the page have one (private windows may not).
function recall(key) {
  try {
    return localStorage.getItem(key);
  } catch {
    return null;
  }
}

function remember(key, value) {
  try {
    localStorage.setItem(key, value);
  } catch {
    // Not remembered: the page still works, and asks again next time.
  }
}

const nameField = new NameField(document.getElementById('name-form'), document.getElementById('name-field'), keyInput, canvas);
const screenReader = new ScreenReader(document.getElementById('screen-text'));
consoleScreen.watchers.push((screen) => nameField.screenChanged(screen), (screen) => screenReader.screenChanged(screen));
new TouchPad(document.getElementById('pad'), keyInput, () => nameField.handOver(), () => nameField.keepFocus());
new HelpPanel(document.getElementById('help-panel'), document.getElementById('help-button'), document.getElementById('help-close'));
new SoundControls(document.getElementById('mute-button'), pageAudio);

const loading = document.getElementById('loading');
consoleScreen.onFirstContent = () => { loading.hidden = true; };
if (consoleScreen.firstContentTime) loading.hidden = true;
new GamepadKeys(keyInput, () => nameField.handOver());
new FullScreenButton(document.getElementById('full-screen-button'));
// The whole screen read out on demand.
document.getElementById('read-button').addEventListener('click', () => screenReader.readAll());
window.addEventListener('keydown', (event) => event.key === 'F2' && !event.repeat && screenReader.readAll());
window.addEventListener('resize', () => nameField.place());
// A touch on the screen while the game waits for a name brings the phone's keyboard back.
document.getElementById('stage').addEventListener('pointerup', () => nameField.keepFocus());

// The bar's height changes with its notice: the screen takes what is left.
new ResizeObserver(fitScreen).observe(document.getElementById('bar'));
// Frames shown before these controls were wired.
if (consoleScreen.cells) consoleScreen.watchers.forEach((watcher) => watcher(consoleScreen));
showNotice();  // the notice says how sound starts on this device
