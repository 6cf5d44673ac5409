// A gamepad (the Gamepad API) as the game's keys: the d-pad or the left stick as the arrows,
// the south button as Enter, each held as long as it is, as the touch pad's buttons are.
'use strict';

const STICK_TILT = 0.5;  // how far the stick leans before it counts as an arrow held
// Buttons by the standard mapping: 0 south, 12 to 15 the d-pad.
const pressed = (pad, button) => pad.buttons[button]?.pressed === true;
const GAMEPAD_KEYS = {
  Up: (pad) => pressed(pad, 12) || pad.axes[1] < -STICK_TILT,
  Down: (pad) => pressed(pad, 13) || pad.axes[1] > STICK_TILT,
  Left: (pad) => pressed(pad, 14) || pad.axes[0] < -STICK_TILT,
  Right: (pad) => pressed(pad, 15) || pad.axes[0] > STICK_TILT,
  Enter: (pad) => pressed(pad, 0),
};

class GamepadKeys {
  // `keyInput` takes the key records (PAD_KEYS, touch-pad.js); `beforePress()` runs first.
  constructor(keyInput, beforePress) {
    this.keyInput = keyInput;
    this.beforePress = beforePress;
    this.held = new Set();
    this.polling = false;
    window.addEventListener('gamepadconnected', () => this.poll());
  }

  // Browsers report gamepads only when asked: asked once a frame while one is connected.
  poll() {
    if (this.polling) return;
    this.polling = true;
    const look = () => {
      const pads = [...navigator.getGamepads()].filter(Boolean);
      for (const [name, isDown] of Object.entries(GAMEPAD_KEYS)) this.hold(name, pads.some(isDown));
      if (pads.length > 0 || this.held.size > 0) requestAnimationFrame(look);
      else this.polling = false;
    };
    look();
  }

  hold(name, down) {
    if (down === this.held.has(name)) return;
    const record = PAD_KEYS[name];
    if (down) {
      this.held.add(name);
      this.beforePress();
      this.keyInput.send(record.key, true, record.character, record.extended, 0);
    } else {
      this.held.delete(name);
      this.keyInput.send(record.key, false, 0, 0, 0);
    }
  }
}
