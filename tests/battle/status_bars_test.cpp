// The status bars after damage and recovery: which cells, in what colour, at what pace.
#include <gtest/gtest.h>

#include "game/battle/status_bars.hpp"
#include "tests/battle/battle_fixture.hpp"

using StatusBarsTest = BattleFixture;

TEST_F(StatusBarsTest, OnlyChangedBarsMoveShrinkingFromTheEndAndGrowingFromTheStart) {
  DrawOpponentPanel();
  DrawPlayerPanel();
  FillStatusBars();
  console.locate(57, 12);
  console.print("scribbled");  // figures are reprinted whether their bar moves or not
  // The opponent's HP bar uses the real rule (360 HP: a cell per 18, rounding up); the
  // player's MP bar the integer rule mp / (max / 20), one MP per cell below 20.
  // Painted cells afterwards, and 15 ms for each cell the loop visits.
  struct { bool hp; int max, from, to, cells; std::uint32_t ms; const char* figures; } const cases[] = {
      {true, 360, 360, 180, 11, 10 * 15, "ＨＰ 180 / 360"},   // 180 / 18 = 10: cells 20..11 blanked
      {true, 360, 360, 1, 1, 20 * 15, "ＨＰ   1 / 360"},      // full to 1 keeps cell 0
      {true, 360, 360, 0, 0, 20 * 15, "ＨＰ   0 / 360"},      // 0 blanks cell 0 too, without a wait
      {true, 360, 180, 270, 15, 15 * 15, "ＨＰ 270 / 360"},   // growth redraws cells 0..14
      {true, 360, 0, 19, 2, 2 * 15, "ＨＰ  19 / 360"},        // 19 / 18 > 1
      {false, 300, 300, 150, 11, 10 * 15, "ＭＰ 150 / 300"},  // 150 / 15 = 10: a shrink keeps 0..10
      {false, 300, 0, 150, 10, 10 * 15, "ＭＰ 150 / 300"},    // a growth draws cells 0..9
      {false, 250, 0, 60, 5, 5 * 15, "ＭＰ  60 / 250"},       // 60 / (250 / 20 = 12), not 60 x 20 / 250
      {false, 300, 300, 0, 0, 20 * 15, "ＭＰ   0 / 300"},     // empty: cell 0 goes too
      {false, 10, 0, 5, 5, 5 * 15, "ＭＰ   5 /  10"},         // below 20 MP each MP is a cell
      {false, 110, 0, 110, 20, 20 * 15, "ＭＰ 110 / 110"},    // 110 / 5 = 22, but a bar has 20 cells
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.hp ? "HP " : "MP ") << c.from << "->" << c.to);
    const int column = c.hp ? 3 : 57, row = c.hp ? 4 : 15, color = c.hp ? 12 : 5;
    int& value = c.hp ? roster.hp[0] : player.mp;
    int& shown = c.hp ? shownEnemyHp : shownPlayerMp;
    (c.hp ? roster.maxHp[0] : player.maxMp) = c.max;
    SetShownValuesToCurrent();  // no other bar moves
    // The starting bar: empty, grown to `from`.
    console.set_color(15, 15);
    console.locate(column, row);
    console.print("%22c", ' ');
    value = c.from;
    shown = 0;
    UpdateStatusBars();
    shown = c.from;
    value = c.to;
    const std::uint32_t start = console.now();
    UpdateStatusBars();
    EXPECT_EQ(BarCells(column, row, color), c.cells);
    EXPECT_EQ(console.now() - start, c.ms);
    EXPECT_TRUE(Shows(column, row - 1, c.figures, color, 15));
    EXPECT_EQ(shown, c.from);  // left alone: the next call animates from it again
    EXPECT_EQ(console.foreground(), 0) << "the next text would print in the bar's colour";
    EXPECT_EQ(console.background(), 15) << "the next text would print on the bar's colour";
  }
  EXPECT_TRUE(Shows(57, 12, "ＨＰ 400 / 400", 12, 15));
}
