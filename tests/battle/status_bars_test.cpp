// The status bars after damage and recovery: which cells, in what colour, at what pace.
#include <gtest/gtest.h>

#include "game/battle/status_bars.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

class StatusBarsTest : public BattleFixture {
 protected:
  StatusBarsTest() {
    DrawOpponentPanel();
    DrawPlayerPanel();
    FillStatusBars();
    SetShownValuesToCurrent();
    start = console.now();
  }
  std::uint32_t Elapsed() { return console.now() - start; }
  std::uint32_t start = 0;
};

}  // namespace

TEST_F(StatusBarsTest, HpBarShrinksFromTheEndAndGrowsFromTheStart) {
  struct Case {
    int from, to;       // opponent HP, of 360 (step 18)
    int cells;          // painted cells afterwards
    std::uint32_t ms;   // 15 ms for each cell the loop visits
    const char* figures;
  } cases[] = {
      {360, 180, 11, 10 * 15, "ＨＰ 180 / 360"},  // 180 / 18 = 10: cells 20..11 blanked
      {360, 1, 1, 20 * 15, "ＨＰ   1 / 360"},     // full to 1 keeps cell 0
      {360, 0, 0, 20 * 15, "ＨＰ   0 / 360"},     // 0 blanks cell 0 too, without a wait
      {180, 270, 15, 15 * 15, "ＨＰ 270 / 360"},  // growth redraws cells 0..14
      {0, 19, 2, 2 * 15, "ＨＰ  19 / 360"},       // 19 / 18 > 1: the real rule rounds up
  };
  for (const Case& c : cases) {
    roster.hp[0] = c.from;
    shownEnemyHp = 360;
    UpdateStatusBars();  // bring the bar to `from`
    shownEnemyHp = c.from;
    roster.hp[0] = c.to;
    start = console.now();
    UpdateStatusBars();
    EXPECT_EQ(BarCells(3, 4, 12), c.cells) << c.from << "->" << c.to;
    EXPECT_EQ(Colors(3 + c.cells, 4), std::pair(15, 15)) << c.from << "->" << c.to;
    EXPECT_EQ(Elapsed(), c.ms) << c.from << "->" << c.to;
    EXPECT_TRUE(Shows(3, 3, c.figures, 12, 15));
  }
}

TEST_F(StatusBarsTest, MpBarsUseTheIntegerRule) {
  struct Case {
    int maxMp, from, to, cells;
    std::uint32_t ms;
  } cases[] = {
      {300, 300, 150, 11, 10 * 15}, // 150 / 15 = 10: a shrink blanks 20..11, keeps 0..10
      {300, 0, 150, 10, 10 * 15},   // a growth draws cells 0..9
      {300, 300, 0, 0, 20 * 15},    // empty: cell 0 goes too
      {300, 150, 164, 10, 10 * 15}, // 164 / 15 = 10 still
      {10, 0, 5, 5, 5 * 15},        // below 20 MP each MP is a cell (no division by zero)
      {10, 10, 4, 5, 16 * 15},
      {110, 0, 110, 20, 20 * 15},   // 110 / 5 = 22, but a bar has 20 cells
  };
  for (const Case& c : cases) {
    player.maxMp = c.maxMp;
    // The starting bar: empty, grown to `from`.
    console.set_color(15, 15);
    console.locate(57, 15);
    console.print("%22c", ' ');
    player.mp = c.from;
    shownPlayerMp = 0;
    UpdateStatusBars();
    shownPlayerMp = c.from;
    player.mp = c.to;
    start = console.now();
    UpdateStatusBars();
    EXPECT_EQ(BarCells(57, 15, 5), c.cells) << c.maxMp << ": " << c.from << "->" << c.to;
    EXPECT_EQ(Elapsed(), c.ms) << c.maxMp << ": " << c.from << "->" << c.to;
    for (int column = 57 + c.cells; column <= 78; ++column)
      EXPECT_NE(Colors(column, 15), std::pair(5, 5)) << column;
  }
}

TEST_F(StatusBarsTest, OnlyTheBarsThatChangedMoveButAllFiguresAreReprinted) {
  roster.mp[0] = 150;  // integer rule: 150 / 15 = 10
  player.hp = 200;
  console.locate(57, 14);
  console.print("scribbled");
  UpdateStatusBars();
  EXPECT_EQ(Elapsed(), (10 + 10) * 15u);
  EXPECT_EQ(BarCells(3, 4, 12), 20);
  EXPECT_EQ(BarCells(3, 6, 5), 11);
  EXPECT_EQ(BarCells(57, 13, 12), 11);  // 200 / 20 = 10: cells 20..11 go
  EXPECT_EQ(BarCells(57, 15, 5), 20);
  EXPECT_TRUE(Shows(57, 14, "ＭＰ 300 / 300", 5, 15));
  EXPECT_EQ(console.foreground(), 0);
  EXPECT_EQ(console.background(), 15);
  // The shown values are left as they were.
  EXPECT_EQ(shownPlayerHp, 400);
  EXPECT_EQ(shownEnemyMp, roster.maxMp[0]);
}

TEST_F(StatusBarsTest, EveryCallWithinATurnAnimatesAgainFromTheShownValue) {
  player.hp = 300;
  UpdateStatusBars();  // 400 -> 300: cells 20..15
  start = console.now();
  player.hp = 200;
  UpdateStatusBars();  // still from 400: cells 20..11, the first five again
  EXPECT_EQ(Elapsed(), 10 * 15u);
  EXPECT_EQ(BarCells(57, 13, 12), 11);
}
