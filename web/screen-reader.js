// The screen's text for screen readers: once the game's screen has settled, what is new on it
// goes to a polite live region (in the page's language), with the chosen menu item named first,
// a greyed item said to be not yet available, and a fighter's figures and revealed command said
// with the fighter's name. A redraw of the same text says nothing, the name being typed is left
// to the screen reader's own echo of the keys, and only the latest announcement stays in the
// page. F2 (or the page's "Read the screen" button) reads the whole screen.
'use strict';

const SETTLE_MS = 250;          // the screen is read once it has been still this long
const TEXT_GAP_COLUMNS = 3;     // blank columns that part two texts on one row
const FIGURE_GAP_COLUMNS = 4;   // ... before a digit, which a right-aligned figure pads with up to 3
const PANEL_ROWS = 6;           // a fighter's panel: its name, then HP, MP and abilities below it
const FIGURES = /^(ＨＰ|ＭＰ|HP|MP) |^(攻|At)\d/;  // in either language the game speaks
const COMMANDS = new Set(['通常攻撃', '強攻撃', 'カウンター', '魔法攻撃', 'Attack', 'Smash', 'Counter', 'Spell']);  // as a turn reveals them
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
      continue;
    }
    if (gap >= (/\d/.test(character) ? FIGURE_GAP_COLUMNS : TEXT_GAP_COLUMNS)) current = null;
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

// A fighter's figures and the command it revealed, said with its name: the fighter whose panel
// (its name with ＨＰ right under it) spans the text's row.
function nameOwners(texts) {
  const panels = texts.filter((name) => texts.some((hp) => hp.row === name.row + 1 && hp.column === name.column && /^(ＨＰ|HP) /.test(hp.text)));
  for (const text of texts) {
    if (!FIGURES.test(text.text) && !COMMANDS.has(text.text)) continue;
    const panel = panels.find((name) => name !== text && text.row > name.row && text.row < name.row + PANEL_ROWS);
    if (panel) text.text = FIGURES.test(text.text) ? `${panel.text} ${text.text}` : pageText().revealed(panel.text, text.text);
  }
}

// Everything the screen says, in reading order.
function screenTexts(cells) {
  const texts = [];
  for (let row = 0; row < ROWS; ++row) texts.push(...rowTexts(cells, row));
  nameOwners(texts);
  texts.push(...bigNumbers(cells, texts));
  return texts.sort((a, b) => a.row - b.row || a.column - b.column);
}

const withStop = (part) => (/[。！？!?.]$/.test(part) ? part : part + pageText().stop);
const spokenForm = (text) => text.text + (text.grey ? pageText().notYet : '');
const textKey = (text) => `${text.row}:${text.column}:${spokenForm(text)}`;

class ScreenReader {
  constructor(region) {
    this.region = region;
    this.timer = 0;
    this.spoken = new Set();  // the texts on the screen when it was last read
    this.chosen = null;
    this.screen = null;
  }

  screenChanged(screen) {
    this.screen = screen;
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
    if (parts.length > 0) this.announce(parts.map(withStop).join(' '));
  }

  // The whole screen, on demand, the chosen item marked.
  readAll() {
    if (!this.screen?.cells) return;
    const parts = screenTexts(this.screen.cells).map((text) => (text.chosen ? pageText().chosen(spokenForm(text)) : spokenForm(text)));
    this.announce(parts.map(withStop).join(' '));
  }

  // Only the latest announcement is kept: a reader browsing the page meets no old news.
  announce(text) {
    const line = document.createElement('p');
    line.textContent = text;
    this.region.replaceChildren(line);
  }
}
