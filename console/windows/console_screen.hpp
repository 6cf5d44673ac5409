// The game's screen on a Windows console buffer: draws the cells that changed and the cursor.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "console/console_backend.hpp"
#include "console/screen_grid.hpp"

// Draws the screen model on one console screen buffer through the wide-character console
// calls; only rows and cells that differ from the last present() go out.
//
// Consoles differ in how they store a full-width character. The Windows console gives it two
// buffer cells: each one is written at its own column after a blank in its right-hand cell,
// so the text after it keeps its columns whether the console draws it one or two columns
// wide. A console that stores one character per cell (wine's) draws the cell two columns
// wide on the terminal: there a row goes out without the right-hand halves, from its first
// change to its end, so the terminal shows every character at its model column.
class ConsoleScreen {
 public:
  // `output` is a console screen buffer handle; an invalid one makes every call do nothing.
  // Finds out, by writing one full-width character, how the console stores them.
  explicit ConsoleScreen(HANDLE output);
  // Takes the console's way of storing full-width characters as given.
  ConsoleScreen(HANDLE output, bool wide_takes_two_cells)
      : output_(output), wide_takes_two_cells_(wide_takes_two_cells) {}

  void present(const ScreenGrid& grid, const CursorState& cursor);

  bool wide_takes_two_cells() const { return wide_takes_two_cells_; }

 private:
  bool changed(const ScreenGrid& grid, int column, int row) const;
  void draw_changed_runs(const ScreenGrid& grid, int row);
  void draw_run(const ScreenGrid& grid, int row, int first, int last);
  void draw_row_packed(const ScreenGrid& grid, int row);
  int buffer_column(const ScreenGrid& grid, int column, int row) const;
  void write(int buffer_column, int row, const std::wstring& text, WORD attribute);
  void show_cursor(const ScreenGrid& grid, const CursorState& cursor);

  HANDLE output_;
  bool wide_takes_two_cells_ = true;
  bool wrote_ = false;  // whether this present() has written, moving the console's cursor
  std::optional<ScreenGrid> shown_;
  std::optional<CursorState> shown_cursor_;
};

// The console attribute of a cell: background in the high nibble, foreground in the low one.
inline WORD CellAttribute(const Cell& cell) { return static_cast<WORD>((cell.bg & 15) << 4 | (cell.fg & 15)); }
