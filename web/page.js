// The page around the game: starts the module, wires the screen, the keys and the sound,
// and offers window.domrak to tests and assistive technology.
'use strict';

const canvas = document.getElementById('screen');
const notice = document.getElementById('notice');
const consoleScreen = new ConsoleScreen(canvas);

const pageAudio = new PageAudio({
  mixEffects(frames) {
    const at = Module._domrak_mix_effects();
    return at ? Module.HEAPF32.slice(at >> 2, (at >> 2) + frames * 2) : null;
  },
  effectsSounding: () => Module._domrak_effects_sounding() !== 0,
  musicBufferPlayed: (stream, token) => Module._domrak_music_buffer_played(stream, token),
});

let gameRunning = false;
let keyPressedAt = null;  // a key-down whose effect on the screen has not been drawn yet
const keyToScreen = [];
const keyInput = new KeyInput((key, down, character, extended, modifiers) => {
  if (!gameRunning) return;
  if (down) keyPressedAt = performance.now();
  if (down && !pageAudio.started) {
    pageAudio.start();
    showNotice();
  }
  Module._domrak_key_event(key, down ? 1 : 0, character, extended, modifiers);
  if (Module.domrakWakeForInput) Module.domrakWakeForInput();
});
keyInput.listen(window);

function showNotice() {
  if (pageAudio.failed) notice.textContent = 'This browser cannot play the sound: the game plays silently.';
  else notice.textContent = pageAudio.started ? '' : 'Sound starts with your first key.';
}

function fitScreen() {
  consoleScreen.fit(window.innerWidth, window.innerHeight - notice.offsetHeight);
}
window.addEventListener('resize', fitScreen);
fitScreen();

// The title comes first; the sound's scripts and the SoundFont load once it is on screen.
let soundRequested = false;
function prepareSoundOnce() {
  if (soundRequested || !consoleScreen.cells || !consoleScreen.fontReady) return;
  soundRequested = true;
  setTimeout(() => pageAudio.prepare().then(showNotice), 0);
}

const fontFace = new FontFace(FONT_FAMILY, 'url(domrak-font.woff)');
fontFace.load().then((face) => {
  document.fonts.add(face);
  consoleScreen.fontReady = true;
  consoleScreen.redrawAll();
  prepareSoundOnce();
});

var Module = {
  domrakScreen: {
    show(cells, column, row, visible, size) {
      consoleScreen.show(cells, column, row, visible, size);
      if (keyPressedAt !== null) keyToScreen.push(performance.now() - keyPressedAt);
      keyPressedAt = null;
      prepareSoundOnce();
    },
  },
  domrakAudio: pageAudio,
  onRuntimeInitialized() {
    gameRunning = true;
  },
  print() {},
  printErr() {},
};

window.domrak = {
  rows: () => consoleScreen.rows(),
  outputPeak: () => pageAudio.outputPeak(),
  // For the browser tests: when the canvas last changed, milliseconds from each key press
  // to the screen it changed, the effects' own peak, and how far the sound has come.
  lastDrawTime: () => consoleScreen.lastDrawTime,
  keyToScreenMs: () => keyToScreen.slice(),
  effectsPeak: () => pageAudio.outputPeak('effects'),
  soundState: () => ({ loaded: pageAudio.node !== null, started: pageAudio.started, failed: pageAudio.failed }),
};
