// The page around the game: the screen, the keys and the sound on the main thread, the game
// itself in the worker `game` (started by index.html); window.domrak for tests and assistive
// technology.
'use strict';

const canvas = document.getElementById('screen');
const notice = document.getElementById('notice');
const consoleScreen = new ConsoleScreen(canvas);
const pageAudio = new PageAudio();

let keyPressedAt = null;  // the latest key-down whose effect on the screen is not drawn yet
const keyToScreen = [];
let framesShown = 0;
const keyInput = new KeyInput((key, down, character, extended, modifiers) => {
  if (down) keyPressedAt = performance.now();
  game.postMessage({ type: 'key', key, down, character, extended, modifiers });
}, canvas);
keyInput.listen(window);

function startSound() {
  if (pageAudio.started) {
    pageAudio.keepRunning();  // the browser may have stopped it (a call on a phone, a frozen tab)
    return;
  }
  pageAudio.start();
  game.postMessage({ type: 'sound-started' });
  showNotice();
}
// Any key starts the sound, a mouse click too, and a tap once the finger lifts (browsers let a
// page start its sound only then); each later one brings it back if the browser stopped it.
window.addEventListener('keydown', startSound, true);
window.addEventListener('pointerdown', (event) => event.pointerType === 'mouse' && startSound(), true);
window.addEventListener('pointerup', (event) => event.pointerType !== 'mouse' && startSound(), true);

let gameStopped = false;
game.onerror = () => {
  gameStopped = true;
  showNotice();
};
pageAudio.onMusicReady = () => showNotice();

function showNotice() {
  const loading = document.getElementById('loading');
  if (missingFeature || gameStopped) {
    // The loading sign stops and says instead what is wrong.
    loading.textContent = missingFeature ? pageText().missing[missingFeature] : pageText().stopped;
    loading.classList.add('stopped');
    loading.hidden = false;
    notice.textContent = '';
  } else if (pageAudio.failed) notice.textContent = pageText().silent;
  else if (!pageAudio.started) notice.textContent = pageText().soundStarts(touchLayout);
  else notice.textContent = pageAudio.musicReady || pageAudio.muted ? '' : pageText().musicLoading;
}

// The game's clock stands still while the page is hidden: nothing plays out unseen.
const tellGameHidden = () => game.postMessage({ type: 'hidden', hidden: document.hidden });
document.addEventListener('visibilitychange', tellGameHidden);
tellGameHidden();

function fitScreen() {
  consoleScreen.fit(...screenSpace());
}
window.addEventListener('resize', fitScreen);
fitScreen();

// The title comes first: the sound's scripts and the SoundFont are asked for only once a
// frame with the title on it has been drawn.
let soundRequested = false;
function prepareSoundOnce() {
  if (soundRequested || !consoleScreen.firstContentTime) return;
  soundRequested = true;
  setTimeout(() => {
    const gamePort = (port) => game.postMessage({ type: 'audio-port', port }, [port]);
    pageAudio.prepare(gamePort).then(showNotice);
  }, 0);
}

const fontFace = new FontFace(FONT_FAMILY, 'url(domrak-font.woff)');
fontFace.load().then((face) => {
  document.fonts.add(face);
  consoleScreen.fontReady = true;
  consoleScreen.redrawAll();
  prepareSoundOnce();
});

function receiveFromGame(message) {
  const { type, cells, column, row, visible, size } = message;
  if (type !== 'screen') return;
  consoleScreen.show(cells, column, row, visible, size);
  ++framesShown;
  if (keyPressedAt !== null) keyToScreen.push(performance.now() - keyPressedAt);
  keyPressedAt = null;
  prepareSoundOnce();
}
game.onmessage = (event) => receiveFromGame(event.data);
earlyGameMessages.forEach(receiveFromGame);

window.domrak = {
  rows: () => consoleScreen.rows(),
  outputPeak: () => pageAudio.outputPeak(),
  // For the browser tests: when the canvas first showed something and last changed, the frames the game sent,
  // milliseconds from each key press to the screen it changed, the effects' own peak, and how far the sound has come.
  lastDrawTime: () => consoleScreen.lastDrawTime,
  firstContentTime: () => consoleScreen.firstContentTime,
  framesShown: () => framesShown,
  keyToScreenMs: () => keyToScreen.slice(),
  effectsPeak: () => pageAudio.outputPeak('effects'),
  soundState: () => ({ loaded: pageAudio.ready, started: pageAudio.started, failed: pageAudio.failed }),
};
