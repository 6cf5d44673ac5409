// A real text field for typing a name on a phone: shown while the game waits for a name (its
// text cursor is on), it opens the phone's keyboard and hands the game what is typed in it as
// the key presses a desk keyboard would give. It stands below the screen where there is room,
// else over the blank rows at the screen's foot. A link's `#name=…` fills it the first time
// (the player still decides with Enter).
'use strict';

const NAME_MAX_LENGTH = 16;
const NAME_CHARACTER = /[A-Za-z0-9 _]/;
const NAME_FIELD_MARGIN = 6;  // CSS px between the field and what it must not cover

// The key record of one character the game takes in a name: its virtual key, and shift for
// capitals and the underscore.
function nameKeyRecord(character) {
  if (character === '_') return { key: 189, shift: true };
  const upper = character.toUpperCase();
  return { key: upper.charCodeAt(0), shift: /[A-Z]/.test(character) };
}

// What the game would keep of `text`: full-width letters and digits as their plain forms,
// other characters dropped, at most 16.
function acceptedName(text) {
  return [...text.normalize('NFKC')].filter((character) => NAME_CHARACTER.test(character)).join('').slice(0, NAME_MAX_LENGTH);
}

class NameField {
  constructor(form, field, keyInput, canvas) {
    this.form = form;
    this.canvas = canvas;
    this.screen = null;
    this.linkedName = /^#name=(.+)/.exec(location.hash)?.[1];  // from a shared link, until used
    this.field = field;
    this.keyInput = keyInput;
    this.sent = '';        // what the game's own field holds
    this.typing = false;   // the game waits for a name
    this.composing = false;
    field.addEventListener('compositionstart', () => { this.composing = true; });
    field.addEventListener('compositionend', () => {
      this.composing = false;
      this.handOver();
    });
    field.addEventListener('input', (event) => event.isComposing || this.composing || this.handOver());
    field.addEventListener('keydown', (event) => this.onKey(event, true));
    field.addEventListener('keyup', (event) => this.onKey(event, false));
    form.addEventListener('submit', (event) => event.preventDefault());
  }

  // Enter from the phone's keyboard reaches the game as it is held; the text goes as it changes.
  onKey(event, down) {
    // An Enter that ends a composition only commits its text.
    if (event.key !== 'Enter' || event.isComposing || event.keyCode === 229) return;
    event.preventDefault();
    if (down && event.repeat) return;
    if (down) this.handOver();
    this.keyInput.send(13, down, down ? 13 : 0, 0, 0);
  }

  // The game's screen changed: the field is there exactly while the game waits for a name.
  screenChanged(screen) {
    const typing = screen.cursor.visible;
    this.screen = screen;
    if (typing === this.typing) return;
    this.typing = typing;
    this.form.hidden = !typing;
    if (typing) {
      this.sent = '';
      this.field.value = '';
      this.place();
      this.field.focus();
      if (this.linkedName) this.fillFromLink();
    } else if (document.activeElement === this.field) {
      this.field.blur();
    }
  }

  fillFromLink() {
    try {
      this.field.value = decodeURIComponent(this.linkedName);
    } catch {
      this.field.value = this.linkedName;
    }
    this.linkedName = null;
    this.handOver();
  }

  // Below the screen when the room there takes the field, else over the screen's blank rows at
  // its foot (the name entry leaves the last ones blank).
  place() {
    if (this.form.hidden || !this.screen) return;
    const screen = this.canvas.getBoundingClientRect();
    const height = this.form.offsetHeight;
    const stage = this.canvas.parentElement.getBoundingClientRect();
    const hint = document.getElementById('turn-hint');
    let top = (hint.hidden ? screen.bottom : hint.getBoundingClientRect().bottom) + NAME_FIELD_MARGIN;
    if (top + height > stage.bottom) {
      const rows = this.screen.rows ? this.screen.rows() : [];
      const lastText = rows.findLastIndex((row) => row.trim() !== '') + 1;
      top = Math.max(screen.top + (lastText * screen.height) / ROWS + NAME_FIELD_MARGIN, screen.bottom - height);
    }
    this.form.style.top = `${top}px`;
    this.form.style.left = `${screen.left + screen.width / 2}px`;
  }

  // A touch on the page while the game waits for a name brings the phone's keyboard back.
  keepFocus() {
    if (this.typing && document.activeElement !== this.field) this.field.focus();
  }

  // Sends the game the Backspaces and characters that turn its field into the text field's
  // (what is still being composed counts as typed once it is handed over).
  handOver() {
    if (!this.typing) return;
    const wanted = acceptedName(this.field.value);
    let same = 0;
    while (same < this.sent.length && same < wanted.length && this.sent[same] === wanted[same]) ++same;
    for (let i = this.sent.length; i > same; --i) this.tap(8, 8, false);
    for (const character of wanted.slice(same)) {
      const record = nameKeyRecord(character);
      this.tap(record.key, character.charCodeAt(0), record.shift);
    }
    this.sent = wanted;
    if (this.field.value !== wanted && !this.composing) this.field.value = wanted;
  }

  // A key pressed and let go, shift with it and let go after it.
  tap(key, character, shift) {
    this.keyInput.send(key, true, character, 0, shift ? 1 : 0);
    this.keyInput.send(key, false, 0, 0, 0);
  }
}
