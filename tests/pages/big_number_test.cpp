// Big digits: every glyph, their places and leading zeros.
#include "game/pages/big_number.hpp"

#include <gtest/gtest.h>

#include "tests/pages/big_digits.hpp"
#include "tests/support/game_session.hpp"

using BigNumber = GameSession;

TEST_F(BigNumber, DrawsThreeGlyphsInTheCurrentColourWithLeadingZeros) {
  console.clear(0, 15);
  console.set_color(4, 15);
  DrawBigNumber(7, 9, 16);
  EXPECT_TRUE(Shows(9, 15, "┏━┓┏━┓┏━┓", 4, 15));
  EXPECT_TRUE(Shows(9, 16, "┃　┃┃　┃　　┃", 4, 15));
  EXPECT_TRUE(Shows(9, 17, "┗━┛┗━┛　　┃", 4, 15));
  EXPECT_EQ(Text(8, 16, 1), " ");
  EXPECT_EQ(Text(27, 16, 1), " ");
  for (int d = 0; d <= 9; ++d) {
    DrawBigNumber(d * 111, 20, 5);
    EXPECT_EQ(ReadBigNumber(20, 5), d * 111);
  }
}
