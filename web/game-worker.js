// The game runs here, off the page's main thread: its waits yield to this worker, the screen
// goes to the page only when it changed, and its sound goes straight to the audio output.
'use strict';

importScripts('contract.js');  // the effect block's size, as the C++ side has it
const EFFECT_BLOCKS_AHEAD = 2;    // blocks queued in the output while effects sound

// The game's link to the audio output: music events and effect blocks over a port of the
// output's own. What comes before the port is held back until it arrives.
class GameAudio {
  constructor() {
    this.port = null;
    this.pending = [];
    this.started = false;  // the player's first key has come
    this.pumping = false;  // effect blocks are being pulled
  }

  connect(port) {
    this.port = port;
    port.onmessage = (event) => this.receive(event.data);
    for (const [message, transfer] of this.pending) port.postMessage(message, transfer);
    this.pending = [];
    this.pumpEffects();
  }

  start() {
    this.started = true;
    this.pumpEffects();
  }

  send(message, transfer = []) {
    if (this.port) this.port.postMessage(message, transfer);
    else this.pending.push([message, transfer]);
  }

  queueMusic(stream, token, events, end) {
    this.send({ type: 'queue', stream, token, events, end }, [events.buffer]);
  }

  controlMusic(stream, command) {
    this.send({ type: 'control', stream, command });
  }

  effectsStarted() {
    if (!this.pumping) queueMicrotask(() => this.pumpEffects());
  }

  // Pulls effect blocks from the game ahead of the output while any voice sounds.
  pumpEffects() {
    if (this.pumping || !this.port || !this.started || !Module._domrak_effects_sounding()) return;
    this.pumping = true;
    for (let i = 0; i < EFFECT_BLOCKS_AHEAD && this.pumping; ++i) this.sendEffectBlock();
  }

  sendEffectBlock() {
    const at = Module._domrak_mix_effects() >> 2;
    if (at === 0) {
      this.pumping = false;
      return;
    }
    const samples = Module.HEAPF32.slice(at, at + CONTRACT.kBlockFrames * 2);
    this.port.postMessage({ type: 'effects', samples }, [samples.buffer]);
    if (!Module._domrak_effects_sounding()) this.pumping = false;
  }

  receive(message) {
    if (message.type === 'effects-played') {
      if (this.pumping) this.sendEffectBlock();
    } else if (message.type === 'music-played') {
      Module._domrak_music_buffer_played(message.stream, message.token);
    }
  }
}

const gameAudio = new GameAudio();

var Module = {
  domrakScreen: {
    show(cells, column, row, visible, size) {
      postMessage({ type: 'screen', cells, column, row, visible, size }, [cells.buffer]);
    },
  },
  domrakAudio: gameAudio,
  onRuntimeInitialized() {
    // The page's language holds from the game's first screen.
    earlyMessages.filter((message) => message.type === 'language').forEach(receive);
  },
  // Called from main() once the console exists, before the game's first look at the keys: a
  // key held through the loading is seen as held on the title's first frame.
  domrakConsoleReady() {
    const early = earlyMessages;
    earlyMessages = null;
    handOver(early);
  },
  print() {},
  printErr() {},
};

// What the page sends while the game is still loading (keys, the audio port, "sound may
// start") is kept in order until the game runs, so a key pressed during loading acts just
// after the title appears and the sound's start is never lost.
let earlyMessages = [];
self.onmessage = (event) => {
  if (earlyMessages) earlyMessages.push(event.data);
  else handOver([event.data]);
};

// Hands `messages` to the game in order, then wakes it once for the keys among them: a key
// pressed and let go while loading reaches the game's next look at the keys as a whole.
function handOver(messages) {
  messages.forEach(receive);
  if (messages.some((message) => message.type === 'key') && Module.domrakWakeForInput) Module.domrakWakeForInput();
}

function receive(message) {
  if (message.type === 'key') {
    const { key, down, character, extended, modifiers } = message;
    Module._domrak_key_event(key, down ? 1 : 0, character, extended, modifiers);
  } else if (message.type === 'audio-port') {
    gameAudio.connect(message.port);
  } else if (message.type === 'language') {
    Module._domrak_request_language(message.language.charCodeAt(0), message.language.charCodeAt(1));
  } else if (message.type === 'sound-started') {
    gameAudio.start();
  } else if (message.type === 'hidden') {
    Module._domrak_page_hidden(message.hidden ? 1 : 0);
  }
}

importScripts('domrak.js');
