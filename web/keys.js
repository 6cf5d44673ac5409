// The page's key-down and key-up events as console key records for the game: held keys
// from press to release, and the characters the keys type.
'use strict';

// Keys that type no character but still reach the typed input on the console, as the
// prefix byte and the scan code it gives them.
const EXTENDED_KEYS = {
  ArrowUp: 0xe048, ArrowDown: 0xe050, ArrowLeft: 0xe04b, ArrowRight: 0xe04d,
  Home: 0xe047, End: 0xe04f, PageUp: 0xe049, PageDown: 0xe051, Insert: 0xe052, Delete: 0xe053,
  F1: 0x3b, F2: 0x3c, F3: 0x3d, F4: 0x3e, F5: 0x3f, F6: 0x40, F7: 0x41, F8: 0x42, F9: 0x43,
  F10: 0x44, F11: 0xe085, F12: 0xe086,
};
// Keys whose character is a control code on the console.
const CONTROL_CHARACTERS = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27 };

class KeyInput {
  // `deliver(key, down, character, extended, modifiers)` hands one record to the game, which
  // has the keys while `game` (the screen) or nothing has the focus.
  constructor(deliver, game) {
    this.deliver = deliver;
    this.game = game;
    this.held = new Set();
  }

  listen(target) {
    target.addEventListener('keydown', (event) => this.onKey(event, true));
    target.addEventListener('keyup', (event) => this.onKey(event, false));
    // A key released while the page has no focus sends no key-up: let go of every key.
    window.addEventListener('blur', () => this.releaseAll());
  }

  onKey(event, down) {
    if (!this.forGame(event, down)) return;
    // Browser and system shortcuts stay theirs, and so do the function keys (reload, tools).
    if (event.ctrlKey || event.metaKey || event.altKey) {
      if (!down) this.record(event, false);
      return;
    }
    if (!/^F\d+$/.test(event.key)) event.preventDefault();
    this.record(event, down);
  }

  // Tab always moves the focus; the page's own controls keep their keys, but a key held in the
  // game is let go there wherever the focus has gone since.
  forGame(event, down) {
    if (event.key === 'Tab') return false;
    if (!down && this.held.has(event.keyCode)) return true;
    const focus = document.activeElement;
    return !focus || focus === document.body || focus === this.game;
  }

  record(event, down) {
    const key = event.keyCode;
    if (!(key > 0 && key < 256)) return;
    let character = 0;
    let extended = 0;
    if (down) {
      if ([...event.key].length === 1) character = event.key.codePointAt(0);
      else if (event.key in CONTROL_CHARACTERS) character = CONTROL_CHARACTERS[event.key];
      else extended = EXTENDED_KEYS[event.key] || 0;
    }
    const modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
    this.send(key, down, character, extended, modifiers);
  }

  // One key record from the keyboard or from the page's own keys (the touch pad, the name field).
  send(key, down, character, extended, modifiers) {
    if (down) this.held.add(key);
    else this.held.delete(key);
    this.deliver(key, down, character, extended, modifiers);
  }

  releaseAll() {
    for (const key of this.held) this.deliver(key, false, 0, 0, 0);
    this.held.clear();
  }
}
