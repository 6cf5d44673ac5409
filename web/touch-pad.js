// The on-screen pad: each button is a key held from touch-down to touch-up, as on a keyboard.
'use strict';

// The key record each button gives: the virtual key, what it types (Enter) or the prefix and
// scan code it types as (the arrows), taken from the keyboard's own (keys.js).
const PAD_KEYS = {
  Up: { key: 38, character: 0, extended: EXTENDED_KEYS.ArrowUp },
  Down: { key: 40, character: 0, extended: EXTENDED_KEYS.ArrowDown },
  Left: { key: 37, character: 0, extended: EXTENDED_KEYS.ArrowLeft },
  Right: { key: 39, character: 0, extended: EXTENDED_KEYS.ArrowRight },
  Enter: { key: 13, character: CONTROL_CHARACTERS.Enter, extended: 0 },
};
const ASSISTED_PRESS_MS = 120;  // how long a button activated without a touch (screen reader, keyboard) is held

class TouchPad {
  // `keyInput` takes the key records; `beforePress()` runs first (the name field hands over what
  // it holds) and `afterRelease()` while the touch still counts as the player's own gesture.
  constructor(pad, keyInput, beforePress, afterRelease) {
    this.keyInput = keyInput;
    this.beforePress = beforePress;
    this.afterRelease = afterRelease;
    for (const button of pad.querySelectorAll('button[data-key]')) this.wire(button, PAD_KEYS[button.dataset.key]);
  }

  wire(button, record) {
    const pointers = new Set();  // the fingers on this button
    let pressedByPointer = false;  // the click that follows a touch is the same press
    const press = () => {
      this.beforePress();
      button.classList.add('held');
      this.keyInput.send(record.key, true, record.character, record.extended, 0);
    };
    const release = () => {
      button.classList.remove('held');
      this.keyInput.send(record.key, false, 0, 0, 0);
    };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      pressedByPointer = true;
      button.setPointerCapture(event.pointerId);
      if (pointers.size === 0) press();
      pointers.add(event.pointerId);
    });
    const lift = (event) => {
      if (!pointers.delete(event.pointerId)) return;
      if (pointers.size === 0) release();
      if (event.type === 'pointerup') this.afterRelease();
    };
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, lift);
    button.addEventListener('contextmenu', (event) => event.preventDefault());
    // A click that no touch made (a screen reader's double tap, Enter or Space on the focused
    // button) is a short press.
    button.addEventListener('click', () => {
      if (pressedByPointer || pointers.size > 0) {
        pressedByPointer = false;
        return;
      }
      press();
      setTimeout(release, ASSISTED_PRESS_MS);
    });
  }
}
