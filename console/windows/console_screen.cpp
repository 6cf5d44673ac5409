// Drawing the screen model on a Windows console buffer, changed cells only.
#include "console/windows/console_screen.hpp"

namespace {

void AppendUtf16(char32_t ch, std::wstring& out) {
  if (ch < 0x10000) {
    out.push_back(static_cast<wchar_t>(ch));
    return;
  }
  ch -= 0x10000;
  out.push_back(static_cast<wchar_t>(0xD800 + (ch >> 10)));
  out.push_back(static_cast<wchar_t>(0xDC00 + (ch & 0x3FF)));
}

bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }

}  // namespace

ConsoleScreen::ConsoleScreen(HANDLE output) : output_(output) {
  if (!IsValid(output_)) return;
  SetConsoleCursorPosition(output_, COORD{0, 0});
  DWORD written = 0;
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (WriteConsoleW(output_, L"\u6C7A", 1, &written, nullptr) && GetConsoleScreenBufferInfo(output_, &info))
    wide_takes_two_cells_ = info.dwCursorPosition.X != 1;
}

void ConsoleScreen::present(const ScreenGrid& grid, const CursorState& cursor) {
  if (!IsValid(output_)) return;
  wrote_ = false;
  for (int row = 1; row <= ScreenGrid::kRows; ++row) {
    if (wide_takes_two_cells_)
      draw_changed_runs(grid, row);
    else
      draw_row_packed(grid, row);
  }
  shown_ = grid;
  show_cursor(grid, cursor);
}

bool ConsoleScreen::changed(const ScreenGrid& grid, int column, int row) const {
  return !shown_ || !(grid.at(column, row) == shown_->at(column, row));
}

void ConsoleScreen::draw_changed_runs(const ScreenGrid& grid, int row) {
  int column = 1;
  while (column <= ScreenGrid::kColumns) {
    if (!changed(grid, column, row)) {
      ++column;
      continue;
    }
    int first = column;
    if (grid.at(first, row).width == 0 && first > 1) --first;  // start at the character itself
    int last = column;
    while (last < ScreenGrid::kColumns && changed(grid, last + 1, row)) ++last;
    if (grid.at(last, row).width == 2 && last < ScreenGrid::kColumns) ++last;
    draw_run(grid, row, first, last);
    column = last + 1;
  }
}

// Writes cells first..last of a row on a two-cell console: narrow cells of one colour go out
// together; each full-width character goes out on its own, after a blank in its right half.
void ConsoleScreen::draw_run(const ScreenGrid& grid, int row, int first, int last) {
  std::wstring text;
  int text_column = first;
  WORD text_attribute = CellAttribute(grid.at(first, row));
  const auto flush = [&](int next_column) {
    if (!text.empty()) write(text_column - 1, row, text, text_attribute);
    text.clear();
    text_column = next_column;
  };
  for (int column = first; column <= last; ++column) {
    const Cell& cell = grid.at(column, row);
    const WORD attribute = CellAttribute(cell);
    if (cell.width == 0) {
      flush(column + 1);  // the right half of a character already drawn
    } else if (cell.width == 2) {
      flush(column + 2);
      write(column, row, L" ", attribute);
      std::wstring wide;
      AppendUtf16(cell.ch, wide);
      write(column - 1, row, wide, attribute);
    } else {
      if (attribute != text_attribute) flush(column);
      text_attribute = attribute;
      AppendUtf16(cell.ch, text);
    }
  }
  flush(last + 1);
}

// Writes a row on a one-cell console from its first changed cell to its end, right-hand
// halves left out, and blanks the buffer cells that this frees at the row's end.
void ConsoleScreen::draw_row_packed(const ScreenGrid& grid, int row) {
  int first = 1;
  while (first <= ScreenGrid::kColumns && !changed(grid, first, row)) ++first;
  if (first > ScreenGrid::kColumns) return;
  if (grid.at(first, row).width == 0 && first > 1) --first;
  int at = buffer_column(grid, first, row);
  std::wstring text;
  WORD text_attribute = CellAttribute(grid.at(first, row));
  for (int column = first; column <= ScreenGrid::kColumns; ++column) {
    const Cell& cell = grid.at(column, row);
    if (cell.width == 0) continue;
    if (CellAttribute(cell) != text_attribute) {
      write(at, row, text, text_attribute);
      at += static_cast<int>(text.size());
      text.clear();
      text_attribute = CellAttribute(cell);
    }
    AppendUtf16(cell.ch, text);
  }
  text.append(static_cast<std::size_t>(ScreenGrid::kColumns - at) - text.size(), L' ');
  write(at, row, text, text_attribute);
}

// The buffer column (0-based) that holds model column `column` of a row.
int ConsoleScreen::buffer_column(const ScreenGrid& grid, int column, int row) const {
  if (wide_takes_two_cells_) return column - 1;
  int halves = 0;
  for (int c = 1; c < column; ++c) halves += grid.at(c, row).width == 0;
  return column - 1 - halves;
}

void ConsoleScreen::write(int buffer_column, int row, const std::wstring& text, WORD attribute) {
  if (text.empty() || buffer_column >= ScreenGrid::kColumns) return;
  wrote_ = true;
  SetConsoleCursorPosition(output_, COORD{static_cast<SHORT>(buffer_column), static_cast<SHORT>(row - 1)});
  SetConsoleTextAttribute(output_, attribute);
  DWORD written = 0;
  WriteConsoleW(output_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ConsoleScreen::show_cursor(const ScreenGrid& grid, const CursorState& cursor) {
  const bool same_look =
      shown_cursor_ && shown_cursor_->visible == cursor.visible && shown_cursor_->size == cursor.size;
  const bool same_place = shown_cursor_ && shown_cursor_->column == cursor.column && shown_cursor_->row == cursor.row;
  if (!same_look) {
    const CONSOLE_CURSOR_INFO info{cursor.size, cursor.visible ? TRUE : FALSE};
    SetConsoleCursorInfo(output_, &info);
  }
  // Writing moves the console's cursor: put it back where the game left it.
  if (wrote_ || !same_place)
    SetConsoleCursorPosition(output_, COORD{static_cast<SHORT>(buffer_column(grid, cursor.column, cursor.row)),
                                            static_cast<SHORT>(cursor.row - 1)});
  shown_cursor_ = cursor;
}
