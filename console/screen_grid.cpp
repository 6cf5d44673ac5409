// The 80x25 screen as a grid of cells: writing text with full-width characters, reading it back.
#include "console/screen_grid.hpp"

#include "console/text_width.hpp"

void ScreenGrid::fill(std::uint8_t fg, std::uint8_t bg) { cells_.fill(Cell{U' ', 1, fg, bg}); }

void ScreenGrid::put(int column, int row, char32_t ch, int width, std::uint8_t fg, std::uint8_t bg) {
  // A full-width character cut in half by this write leaves a blank in its other half.
  const int last = column + width - 1;
  if (cell(column, row).width == 0 && column > 1) {
    Cell& lead = cell(column - 1, row);
    lead.ch = U' ';
    lead.width = 1;
  }
  if (cell(last, row).width == 2 && last < kColumns) {
    Cell& tail = cell(last + 1, row);
    tail.ch = U' ';
    tail.width = 1;
  }
  cell(column, row) = Cell{ch, static_cast<std::uint8_t>(width), fg, bg};
  if (width == 2) cell(column + 1, row) = Cell{U' ', 0, fg, bg};
}

ScreenGrid::Position ScreenGrid::write(Position at, std::string_view utf8, std::uint8_t fg, std::uint8_t bg) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t ch = text::DecodeUtf8(utf8, pos);
    if (ch == U'\n' || ch == U'\r') {
      at.column = 1;
      if (ch == U'\n') ++at.row;
      continue;
    }
    if (ch == U'\t') {
      const int stop = ((at.column - 1) / 8 + 1) * 8 + 1;
      while (at.column < stop && at.column <= kColumns && at.row <= kRows) {
        put(at.column, at.row, U' ', 1, fg, bg);
        ++at.column;
      }
    } else {
      const int width = text::ColumnWidth(ch);
      if (at.column + width - 1 > kColumns) {
        at.column = 1;
        ++at.row;
      }
      if (at.row > kRows) break;
      put(at.column, at.row, ch, width, fg, bg);
      at.column += width;
    }
    if (at.column > kColumns) {
      at.column = 1;
      ++at.row;
    }
    if (at.row > kRows) break;
  }
  return at;
}

std::string ScreenGrid::text(int column, int row, int columns) const {
  std::string out;
  for (int c = column; c < column + columns && c <= kColumns; ++c) {
    const Cell& cell = at(c, row);
    if (cell.width != 0) text::AppendUtf8(cell.ch, out);
  }
  return out;
}
