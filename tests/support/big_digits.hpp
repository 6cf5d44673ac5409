// Test helper: reads a three-digit big number back from the screen.
#pragma once

#include "console/game_console.hpp"

// The three rows of each digit's glyph, top to bottom.
inline constexpr const char* kBigDigitGlyphs[10][3] = {
    {"┏━┓", "┃　┃", "┗━┛"},   {"　┫　", "　┃　", "　┻　"}, {"┏━┓", "┏━┛", "┗━┛"},
    {"　━┓", "　━┫", "　━┛"}, {"┃　┃", "┗━┫", "　　┃"},    {"┏━━", "┗━┓", "━━┛"},
    {"┏━┓", "┣━┓", "┗━┛"},    {"┏━┓", "　　┃", "　　┃"},   {"┏━┓", "┣━┫", "┗━┛"},
    {"┏━┓", "┗━┫", "┗━┛"},
};

// The number whose first glyph has its middle row at (column, row); -1 when a glyph is no digit.
inline int ReadBigNumber(int column, int row) {
  int value = 0;
  for (int k = 0; k < 3; ++k) {
    int digit = 0;
    auto matches = [&](int d) {
      for (int line = 0; line < 3; ++line)
        if (console.screen().text(column + 6 * k, row - 1 + line, 6) != kBigDigitGlyphs[d][line])
          return false;
      return true;
    };
    while (digit < 10 && !matches(digit)) ++digit;
    if (digit == 10) return -1;
    value = value * 10 + digit;
  }
  return value;
}
