// Turns the screen model into the bytes that make a terminal show it, sending only changes.
#pragma once

#include <string>

#include "console/console_backend.hpp"
#include "console/posix/glyph_width.hpp"
#include "console/screen_grid.hpp"

// Remembers what the terminal shows and, for each new frame, writes the escape sequences and
// UTF-8 text that bring it up to date: nothing at all when nothing changed. Every two-column
// cell of the model takes exactly its two terminal columns, however the terminal sizes it.
// In a window larger than the screen, the screen sits in the middle and the margins around
// it take one quiet colour.
class TerminalRenderer {
 public:
  explicit TerminalRenderer(AmbiguousWidth ambiguous = AmbiguousWidth::Unknown) : ambiguous_(ambiguous) {}

  void set_ambiguous_width(AmbiguousWidth ambiguous);
  // The terminal window's size; a change redraws everything in its new place.
  void set_window(int columns, int rows);
  // Appends to `out` what changes the terminal from the last frame to this one.
  void render(const ScreenGrid& grid, const CursorState& cursor, std::string& out);
  // The terminal's contents are lost (resize, resume): the next frame clears and redraws all.
  void invalidate() { valid_ = false; }

 private:
  bool cell_changed(const ScreenGrid& grid, int column, int row) const;
  void draw_cell(const Cell& cell, int column, int row, std::string& out);
  void draw_glyph(char32_t ch, std::string& out);
  void move_to(int column, int row, std::string& out);
  void paint_margins(std::string& out);
  void set_colors(int fg, int bg, std::string& out);

  AmbiguousWidth ambiguous_;
  bool valid_ = false;
  int window_columns_ = ScreenGrid::kColumns;
  int window_rows_ = ScreenGrid::kRows;
  // Terminal columns and rows before the screen's first.
  int left_ = 0;
  int top_ = 0;
  ScreenGrid shown_;
  bool cursor_visible_ = true;
  // Where the terminal's cursor is and which colours it prints in; 0 and -1 when unknown.
  int column_ = 0;
  int row_ = 0;
  int fg_ = -1;
  int bg_ = -1;
};

// The console colour of the margins around the screen in a larger window (dark grey).
inline constexpr int kMarginColor = 8;

// SGR parameters of a console colour (bit 0 blue, 1 green, 2 red, 3 bright): 30-37 or
// 90-97 for a foreground, 40-47 or 100-107 for a background.
int ForegroundSgr(int color);
int BackgroundSgr(int color);
