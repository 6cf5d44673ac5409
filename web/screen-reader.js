// The screen's text for screen readers: once the game's screen has settled, what is new on it
// goes to a polite live region (in the page's language), with the chosen menu item named first and a
// greyed item said to be not yet available. A redraw of the same text says nothing, and the
// name being typed is left to the screen reader's own echo of the keys.
'use strict';

const SETTLE_MS = 250;          // the screen is read once it has been still this long
const KEPT_ANNOUNCEMENTS = 8;   // older ones leave the live region
const TEXT_GAP_COLUMNS = 3;     // blank columns that part two texts on one row
const DECORATION = /[\u2500-\u257f\u25a0|]/;  // box drawing, the selection frame, the help line's bar
const SELECTION_MARK = '⇒';
const GREY_ON_WHITE = [7, 15];       // how the game shows an item that cannot be chosen yet
const SELECTION_FRAME = [9, 7];      // the colours of the title menu's frame
// The big box-drawn digits 0 to 9: their three rows of three full-width characters, read across.
const BIG_DIGITS = ['┏━┓┃　┃┗━┛', '　┫　　┃　　┻　', '┏━┓┏━┛┗━┛', '　━┓　━┫　━┛', '┃　┃┗━┫　　┃',
  '┏━━┗━┓━━┛', '┏━┓┣━┓┗━┛', '┏━┓　　┃　　┃', '┏━┓┣━┫┗━┛', '┏━┓┗━┫┗━┛'];

const hasColours = (word, [foreground, background]) =>
  cellForeground(word) === foreground && cellBackground(word) === background;

// The texts on one row (0-based), each with its column, whether it is marked as the chosen
// item and whether all of it is grey.
function rowTexts(cells, row) {
  const texts = [];
  let current = null;
  let gap = 0;
  let marked = false;
  for (let column = 0; column < COLUMNS; ++column) {
    const word = cells[row * COLUMNS + column];
    if (cellWidth(word) === 0) continue;
    const character = String.fromCodePoint(cellChar(word));
    const mark = character === SELECTION_MARK || (character === '■' && hasColours(word, SELECTION_FRAME));
    if (mark) {
      marked = true;
      current = null;
    }
    if (mark || character === ' ' || character === '\u3000' || DECORATION.test(character)) {
      gap += cellWidth(word) === 2 ? 2 : 1;
      if (gap >= TEXT_GAP_COLUMNS) current = null;
      continue;
    }
    if (!current) {
      current = { row, column, text: '', grey: true, chosen: marked };
      texts.push(current);
      marked = false;
    } else if (gap > 0) {
      current.text += ' ';
    }
    current.text += character;
    current.grey = current.grey && hasColours(word, GREY_ON_WHITE);
    gap = 0;
  }
  return texts;
}

// The numbers drawn in big digits, each named by the label two rows above it.
function bigNumbers(cells, texts) {
  const glyph = (row, column) => {
    let text = '';
    for (let r = row - 1; r <= row + 1; ++r)
      for (let c = column; c < column + 6; c += 2) text += String.fromCodePoint(cellChar(cells[r * COLUMNS + c]));
    return BIG_DIGITS.indexOf(text);
  };
  const numbers = [];
  for (let row = 1; row < ROWS - 1; ++row) {
    for (let column = 0; column + 18 <= COLUMNS; ++column) {
      const digits = [0, 6, 12].map((offset) => glyph(row, column + offset));
      if (digits.some((digit) => digit < 0)) continue;
      const label = texts.find((t) => t.row === row - 2 && t.column >= column - 6 && t.column <= column);
      const value = String(digits[0] * 100 + digits[1] * 10 + digits[2]);
      numbers.push({ row, column, text: label ? `${label.text} ${value}` : value, grey: false, chosen: false });
      column += 17;
    }
  }
  return numbers;
}

// Everything the screen says, in reading order.
function screenTexts(cells) {
  const texts = [];
  for (let row = 0; row < ROWS; ++row) texts.push(...rowTexts(cells, row));
  texts.push(...bigNumbers(cells, texts));
  return texts.sort((a, b) => a.row - b.row || a.column - b.column);
}

const spokenForm = (text) => text.text + (text.grey ? pageText().notYet : '');
const textKey = (text) => `${text.row}:${text.column}:${spokenForm(text)}`;

class ScreenReader {
  constructor(region) {
    this.region = region;
    this.timer = 0;
    this.spoken = new Set();  // the texts on the screen when it was last read
    this.chosen = null;
  }

  screenChanged(screen) {
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.read(screen.cells, screen.cursor), SETTLE_MS);
  }

  read(cells, cursor) {
    const texts = screenTexts(cells).filter((text) => !cursor.visible || text.row !== cursor.row - 1);
    const chosen = texts.find((text) => text.chosen);
    const chosenNow = chosen ? spokenForm(chosen) : null;
    const parts = [];
    if (chosenNow && chosenNow !== this.chosen) parts.push(pageText().chosen(chosenNow));
    for (const text of texts) if (text !== chosen && !this.spoken.has(textKey(text))) parts.push(spokenForm(text));
    this.spoken = new Set(texts.map(textKey));
    this.chosen = chosenNow;
    if (parts.length > 0) this.announce(parts.map((part) => (/[。！？!?.]$/.test(part) ? part : part + pageText().stop)).join(' '));
  }

  announce(text) {
    const line = document.createElement('p');
    line.textContent = text;
    this.region.append(line);
    while (this.region.childElementCount > KEPT_ANNOUNCEMENTS) this.region.firstElementChild.remove();
  }
}
