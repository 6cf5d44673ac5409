// Big digits: the glyphs, their places and leading zeros.
#include <gtest/gtest.h>

#include "game/pages/big_number.hpp"
#include "tests/support/game_session.hpp"

using BigNumber = GameSession;

TEST_F(BigNumber, DrawsThreeGlyphsWithLeadingZeros) {
  console.clear(0, 15);
  console.set_color(4, 15);
  DrawBigNumber(7, 9, 16);
  EXPECT_TRUE(Shows(9, 15, "┏━┓┏━┓┏━┓", 4, 15));
  EXPECT_TRUE(Shows(9, 16, "┃　┃┃　┃　　┃", 4, 15));
  EXPECT_TRUE(Shows(9, 17, "┗━┛┗━┛　　┃", 4, 15));
  EXPECT_EQ(Text(8, 16, 1), " ");
  EXPECT_EQ(Text(27, 16, 1), " ");
}

TEST_F(BigNumber, EveryDigitHasItsGlyph) {
  console.clear(0, 15);
  const char* expected[10][3] = {
      {"┏━┓", "┃　┃", "┗━┛"}, {"　┫　", "　┃　", "　┻　"}, {"┏━┓", "┏━┛", "┗━┛"},
      {"　━┓", "　━┫", "　━┛"}, {"┃　┃", "┗━┫", "　　┃"}, {"┏━━", "┗━┓", "━━┛"},
      {"┏━┓", "┣━┓", "┗━┛"}, {"┏━┓", "　　┃", "　　┃"}, {"┏━┓", "┣━┫", "┗━┛"},
      {"┏━┓", "┗━┫", "┗━┛"},
  };
  for (int d = 0; d <= 9; ++d) {
    DrawBigNumber(d * 111, 20, 5);
    for (int line = 0; line < 3; ++line)
      for (int k = 0; k < 3; ++k) EXPECT_EQ(Text(20 + 6 * k, 4 + line, 6), expected[d][line]) << d;
  }
}
