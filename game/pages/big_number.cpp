// Big three-digit numbers drawn in box-drawing characters.
#include "game/pages/big_number.hpp"

#include "console/game_console.hpp"

namespace {

// Three rows of three full-width characters for each digit.
// clang-format off
constexpr const char* BigDigitGlyphs[10][3] = {
  {"┏━┓", "┃　┃", "┗━┛"},
  {"　┫　", "　┃　", "　┻　"},
  {"┏━┓", "┏━┛", "┗━┛"},
  {"　━┓", "　━┫", "　━┛"},
  {"┃　┃", "┗━┫", "　　┃"},
  {"┏━━", "┗━┓", "━━┛"},
  {"┏━┓", "┣━┓", "┗━┛"},
  {"┏━┓", "　　┃", "　　┃"},
  {"┏━┓", "┣━┫", "┗━┛"},
  {"┏━┓", "┗━┫", "┗━┛"},
};
// clang-format on

}  // namespace

void DrawBigNumber(int value, int column, int row) {
  const int digits[3] = {value / 100, (value % 100) / 10, value % 10};
  for (int k = 0; k < 3; ++k) {
    for (int line = 0; line < 3; ++line) {
      console.locate(column + 6 * k, row - 1 + line);
      console.print("%s", BigDigitGlyphs[digits[k]][line]);
    }
  }
}
