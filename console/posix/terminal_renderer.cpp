// The frame renderer: cell changes to cursor moves, colour changes and UTF-8 text.
#include "console/posix/terminal_renderer.hpp"

#include "console/text_width.hpp"

namespace {

// Console colour bits are blue, green, red; ANSI numbers them red, green, blue.
constexpr int kAnsiColorOrder[8] = {0, 4, 2, 6, 1, 5, 3, 7};

void AppendNumber(int value, std::string& out) { out += std::to_string(value); }

// Moves the terminal's cursor to a cell of the window, 1-based.
void AppendMove(int column, int row, std::string& out) {
  out += "\x1b[";
  AppendNumber(row, out);
  out += ';';
  AppendNumber(column, out);
  out += 'H';
}

// What actually goes out for a character: control characters would move the cursor or start
// a sequence, so they show as a blank or a replacement mark.
char32_t Printable(char32_t ch) {
  if (ch < 0x20 || ch == 0x7F) return U' ';
  if ((ch >= 0x80 && ch < 0xA0) || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) return 0xFFFD;
  return ch;
}

}  // namespace

int ForegroundSgr(int color) { return ((color & 8) ? 90 : 30) + kAnsiColorOrder[color & 7]; }

int BackgroundSgr(int color) { return ((color & 8) ? 100 : 40) + kAnsiColorOrder[color & 7]; }

void TerminalRenderer::set_ambiguous_width(AmbiguousWidth ambiguous) {
  ambiguous_ = ambiguous;
  valid_ = false;
}

void TerminalRenderer::set_window(int columns, int rows) {
  if (columns == window_columns_ && rows == window_rows_) return;
  window_columns_ = columns;
  window_rows_ = rows;
  left_ = columns > ScreenGrid::kColumns ? (columns - ScreenGrid::kColumns) / 2 : 0;
  top_ = rows > ScreenGrid::kRows ? (rows - ScreenGrid::kRows) / 2 : 0;
  valid_ = false;
}

void TerminalRenderer::render(const ScreenGrid& grid, const CursorState& cursor, std::string& out) {
  if (!valid_) {
    out += "\x1b[0m\x1b[2J";
    fg_ = bg_ = -1;
    paint_margins(out);
    column_ = row_ = 0;
  }
  for (int row = 1; row <= ScreenGrid::kRows; ++row)
    for (int column = 1; column <= ScreenGrid::kColumns; ++column)
      if (grid.at(column, row).width != 0 && cell_changed(grid, column, row))
        draw_cell(grid.at(column, row), column, row, out);
  if (!valid_ || cursor.visible != cursor_visible_) {
    out += cursor.visible ? "\x1b[?25h" : "\x1b[?25l";
    cursor_visible_ = cursor.visible;
  }
  if (cursor.visible) move_to(cursor.column, cursor.row, out);
  shown_ = grid;
  valid_ = true;
}

bool TerminalRenderer::cell_changed(const ScreenGrid& grid, int column, int row) const {
  if (!valid_ || grid.at(column, row) != shown_.at(column, row)) return true;
  return grid.at(column, row).width == 2 && grid.at(column + 1, row) != shown_.at(column + 1, row);
}

void TerminalRenderer::draw_cell(const Cell& cell, int column, int row, std::string& out) {
  set_colors(cell.fg, cell.bg, out);
  const char32_t ch = Printable(cell.ch);
  if (cell.width == 1) {
    move_to(column, row, out);
    draw_glyph(ch, out);
    column_ = column + 1;
  } else {
    switch (FitOfTwoColumnGlyph(ch, ambiguous_)) {
      case GlyphFit::Wide:
        move_to(column, row, out);
        draw_glyph(ch, out);
        column_ = column + 2;
        break;
      case GlyphFit::Narrow:
        move_to(column, row, out);
        draw_glyph(ch, out);
        draw_glyph(FillerFor(ch, GlyphFit::Narrow), out);
        column_ = column + 2;
        break;
      case GlyphFit::Unknown:
        // The filler holds the second column if the character turns out narrow; a wide one
        // covers it. Where the cursor ends up is then unknown.
        move_to(column + 1, row, out);
        draw_glyph(FillerFor(ch, GlyphFit::Unknown), out);
        move_to(column, row, out);
        draw_glyph(ch, out);
        column_ = 0;
        break;
    }
  }
  // Past the last column the terminal's cursor stays put (autowrap is off).
  if (column_ > ScreenGrid::kColumns) column_ = 0;
}

void TerminalRenderer::draw_glyph(char32_t ch, std::string& out) { text::AppendUtf8(ch, out); }

void TerminalRenderer::paint_margins(std::string& out) {
  if (window_columns_ <= ScreenGrid::kColumns && window_rows_ <= ScreenGrid::kRows) return;
  set_colors(kMarginColor, kMarginColor, out);
  const int right = window_columns_ - left_ - ScreenGrid::kColumns;
  for (int row = 1; row <= window_rows_; ++row) {
    AppendMove(1, row, out);
    if (row <= top_ || row > top_ + ScreenGrid::kRows) {
      out.append(static_cast<std::size_t>(window_columns_), ' ');
      continue;
    }
    out.append(static_cast<std::size_t>(left_), ' ');
    if (right <= 0) continue;
    AppendMove(left_ + ScreenGrid::kColumns + 1, row, out);
    out.append(static_cast<std::size_t>(right), ' ');
  }
}

void TerminalRenderer::move_to(int column, int row, std::string& out) {
  if (column == column_ && row == row_) return;
  AppendMove(left_ + column, top_ + row, out);
  column_ = column;
  row_ = row;
}

void TerminalRenderer::set_colors(int fg, int bg, std::string& out) {
  if (fg == fg_ && bg == bg_) return;
  out += "\x1b[";
  AppendNumber(ForegroundSgr(fg), out);
  out += ';';
  AppendNumber(BackgroundSgr(bg), out);
  out += 'm';
  fg_ = fg;
  bg_ = bg;
}
