// A real text field for typing a name on a phone: shown while the game waits for a name (its
// text cursor is on), it opens the phone's keyboard and hands the game what is typed in it as
// the key presses a desk keyboard would give.
'use strict';

const NAME_MAX_LENGTH = 16;
const NAME_CHARACTER = /[A-Za-z0-9 _]/;

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
  constructor(form, field, keyInput) {
    this.form = form;
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
    if (typing === this.typing) return;
    this.typing = typing;
    this.form.hidden = !typing;
    if (typing) {
      this.sent = '';
      this.field.value = '';
      this.field.focus();
    } else if (document.activeElement === this.field) {
      this.field.blur();
    }
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
