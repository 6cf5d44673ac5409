// The page's own texts (the game's screen has its own): kept together so that a language of
// the page is one place to change.
'use strict';

const PAGE_TEXTS = {
  soundStarts: (touch) => `Sound starts with your first ${touch ? 'tap' : 'key'}.`,
  musicLoading: 'Music loading…',
  noSound: 'This browser cannot play the sound: the game plays silently.',
  gameStopped: 'The game has stopped. Reload the page to play again.',
  // What the browser lacks, said where the loading sign was.
  missing: {
    file: 'The game cannot run from a file:// address. Open it from a web server (./web.sh serves it).',
    webassembly: 'This browser cannot run the game: WebAssembly is turned off or missing (iOS Lockdown Mode turns it off).',
    worker: 'This browser cannot run the game: it has no Web Workers.',
  },
  turnPhone: 'Turn your phone on its side for bigger text.',
  fullScreen: 'Full screen',
  leaveFullScreen: 'Leave full screen',
};
