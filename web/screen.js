// The 80x25 console screen on a canvas: each cell drawn at its own place, full-width
// characters across two cells, in the console's 16 colours, scaled to the window.
'use strict';

const COLUMNS = 80;
const ROWS = 25;
const FONT_FAMILY = 'DOMRAK Console';
// The console's 16 colours by number: bit 0 blue, bit 1 green, bit 2 red, bit 3 bright.
const PALETTE = [
  '#000000', '#000080', '#008000', '#008080', '#800000', '#800080', '#808000', '#c0c0c0',
  '#808080', '#0000ff', '#00ff00', '#00ffff', '#ff0000', '#ff00ff', '#ffff00', '#ffffff',
];

// A cell word from the game, laid out as the C++ side's CellWord (contract.js): character,
// width (2 full-width, 0 the right half of one), foreground, background.
const cellChar = (word) => word & CONTRACT.kCharMask;
const cellWidth = (word) => (word >>> CONTRACT.kWidthShift) & 3;
const cellForeground = (word) => (word >>> CONTRACT.kForegroundShift) & 15;
const cellBackground = (word) => (word >>> CONTRACT.kBackgroundShift) & 15;

class ConsoleScreen {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: false });
    this.cells = null;   // what the game showed last
    this.drawn = null;   // what is on the canvas
    this.cursor = { column: 1, row: 1, visible: false, size: 8 };
    this.drawnCursor = null;
    this.cellWidth = 8;
    this.lastDrawTime = 0;
    this.firstContentTime = 0;  // when the first screen with anything on it was drawn
    this.fontReady = false;
    this.watchers = [];  // told of every frame the game shows: (screen) => ...
    this.onFirstContent = null;  // called once the first screen with anything on it is drawn
  }

  // The game shows a new frame: only the cells that changed are drawn.
  show(cells, column, row, visible, size) {
    this.cells = cells;
    this.cursor = { column, row, visible: visible !== 0, size };
    this.draw();
    for (const watcher of this.watchers) watcher(this);
  }

  // The screen's rows as text, a full-width character once.
  rows() {
    const rows = [];
    for (let row = 0; row < ROWS; ++row) {
      let text = '';
      for (let column = 0; column < COLUMNS && this.cells; ++column) {
        const word = this.cells[row * COLUMNS + column];
        if (cellWidth(word) !== 0) text += String.fromCodePoint(cellChar(word));
      }
      rows.push(text);
    }
    return rows;
  }

  // Sizes the canvas to the largest whole-pixel cell that fits `width` x `height` CSS
  // pixels; a cell is twice as high as it is wide, as on the console.
  fit(width, height) {
    const ratio = window.devicePixelRatio || 1;
    const cellWidth = Math.max(4, Math.floor(Math.min((width * ratio) / COLUMNS, (height * ratio) / (ROWS * 2))));
    if (cellWidth === this.cellWidth && this.canvas.width === cellWidth * COLUMNS) return;
    this.cellWidth = cellWidth;
    this.canvas.width = cellWidth * COLUMNS;
    this.canvas.height = cellWidth * 2 * ROWS;
    this.canvas.style.width = `${this.canvas.width / ratio}px`;
    this.canvas.style.height = `${this.canvas.height / ratio}px`;
    this.redrawAll();
  }

  redrawAll() {
    this.drawn = null;
    this.drawnCursor = null;
    this.draw();
  }

  draw() {
    if (!this.cells || !this.fontReady) return;
    const context = this.context;
    const width = this.cellWidth;
    const height = width * 2;
    context.font = `${height}px "${FONT_FAMILY}"`;
    context.textBaseline = 'alphabetic';
    const old = this.drawnCursor;
    for (let index = 0; index < COLUMNS * ROWS; ++index) {
      const word = this.cells[index];
      const cursorHere = old && index === (old.row - 1) * COLUMNS + (old.column - 1);
      if (this.drawn && this.drawn[index] === word && !cursorHere) continue;
      // The right half of a full-width character is drawn with its left half.
      const start = cellWidth(word) === 0 && index % COLUMNS > 0 ? index - 1 : index;
      this.drawCell(start, width, height);
    }
    this.drawn = this.cells;
    this.drawCursor(width, height);
    this.lastDrawTime = performance.now();
    if (!this.firstContentTime && this.cells.some((word) => cellChar(word) !== 0x20)) {
      this.firstContentTime = this.lastDrawTime;
      if (this.onFirstContent) this.onFirstContent();
    }
  }

  drawCell(index, width, height) {
    const word = this.cells[index];
    const span = cellWidth(word) === 2 ? 2 : 1;
    const x = (index % COLUMNS) * width;
    const y = Math.floor(index / COLUMNS) * height;
    const context = this.context;
    context.fillStyle = PALETTE[cellBackground(word)];
    context.fillRect(x, y, span * width, height);
    const ch = cellChar(word);
    if (ch === 0x20 || ch === 0x3000 || cellWidth(word) === 0) return;
    const text = String.fromCodePoint(ch);
    const box = span * width;
    const advance = context.measureText(text).width;
    context.fillStyle = PALETTE[cellForeground(word)];
    context.save();
    context.beginPath();
    context.rect(x, y, box, height);
    context.clip();
    // A glyph whose advance is not its cell span (ambiguous-width signs in some fonts) is
    // squeezed or stretched to fit, so every character stands exactly in its cells.
    context.translate(x, y + height * 0.88);
    if (advance > 0 && Math.abs(advance - box) > 0.5) context.scale(box / advance, 1);
    context.fillText(text, 0, 0);
    context.restore();
  }

  drawCursor(width, height) {
    const cursor = this.cursor;
    this.drawnCursor = cursor.visible ? { ...cursor } : null;
    if (!cursor.visible) return;
    const lines = Math.max(1, Math.round((height * cursor.size) / 100));
    const word = this.cells[(cursor.row - 1) * COLUMNS + (cursor.column - 1)];
    this.context.fillStyle = PALETTE[cellForeground(word)];
    this.context.fillRect((cursor.column - 1) * width, cursor.row * height - lines, width, lines);
  }
}
