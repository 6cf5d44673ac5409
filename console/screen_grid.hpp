// The 80x25 screen as a grid of cells: what the game has drawn, independent of any terminal.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One character cell. A full-width character covers two cells: the left one holds the
// character with width 2, the right one is its continuation with width 0.
struct Cell {
  char32_t ch = U' ';
  std::uint8_t width = 1;
  std::uint8_t fg = 7;
  std::uint8_t bg = 0;

  bool operator==(const Cell&) const = default;
};

// Positions are (column, row), 1-based, as everywhere in the game.
class ScreenGrid {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 25;

  struct Position {
    int column;
    int row;
  };

  const Cell& at(int column, int row) const { return cells_[index(column, row)]; }
  static bool contains(int column, int row) { return column >= 1 && column <= kColumns && row >= 1 && row <= kRows; }

  // Blanks every cell with spaces in the given colours.
  void fill(std::uint8_t fg, std::uint8_t bg);

  // Writes UTF-8 text from `from` in the given colours and returns the position after it.
  // Text wraps at column 80 to the next row; anything past the last row is dropped, so the
  // screen never scrolls. A full-width character that would straddle the edge starts the
  // next row. Overwriting half of a full-width character blanks its other half.
  Position write(Position from, std::string_view utf8, std::uint8_t fg, std::uint8_t bg);

  // The characters of `columns` cells of a row from `column`, as UTF-8 (a full-width
  // character once). Handy for tests and diagnostics.
  std::string text(int column, int row, int columns) const;
  std::string row_text(int row) const { return text(1, row, kColumns); }

  bool operator==(const ScreenGrid&) const = default;

 private:
  static int index(int column, int row) { return (row - 1) * kColumns + (column - 1); }
  Cell& cell(int column, int row) { return cells_[index(column, row)]; }
  void put(int column, int row, char32_t ch, int width, std::uint8_t fg, std::uint8_t bg);

  std::array<Cell, kColumns * kRows> cells_{};
};
