// Big digits: every glyph, their places, colour and leading zeros.
#include "game/pages/big_number.hpp"

#include <gtest/gtest.h>

#include "tests/pages/big_digits.hpp"
#include "tests/support/game_session.hpp"

using BigNumber = GameSession;

TEST_F(BigNumber, DrawsThreeGlyphsInTheCurrentColourWithLeadingZeros) {
  console.clear(0, 15);
  console.set_color(4, 15);
  DrawBigNumber(7, 9, 16);
  EXPECT_EQ(ReadBigNumber(9, 16), 7);
  for (int row = 15; row <= 17; ++row) {
    EXPECT_EQ(Text(8, row, 1) + Text(27, row, 1), "  ") << "nothing outside the glyphs";
    for (int column = 9; column <= 26; ++column) EXPECT_EQ(Colors(column, row), std::make_pair(4, 15));
  }
  for (int d = 0; d <= 9; ++d) {
    DrawBigNumber(d * 111, 20, 5);
    EXPECT_EQ(ReadBigNumber(20, 5), d * 111);
  }
}
