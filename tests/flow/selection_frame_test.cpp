// The title menu's selection frame: exactly its 38 cells are drawn and erased.
#include "game/flow/selection_frame.hpp"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "console/game_console.hpp"
#include "tests/support/game_session.hpp"

using SelectionFrame = GameSession;

namespace {

using Cells = std::set<std::pair<int, int>>;

// Left columns of the "■" around an item at (34, 10): runs of twelve at rows 8 and 12 with
// one more cell each side, two cells each side at rows 9 and 11, one each side at row 10.
Cells FrameCells() {
  Cells cells = {{28, 8}, {54, 8}, {28, 12}, {54, 12}, {26, 10}, {56, 10}};
  for (int c = 30; c <= 52; c += 2) cells.insert({c, 8}), cells.insert({c, 12});
  for (int row : {9, 11})
    for (int c : {26, 28, 54, 56}) cells.insert({c, row});
  return cells;
}

// Every cell that differs between two screens, as (column, row).
Cells ChangedCells(const ScreenGrid& before, const ScreenGrid& after) {
  Cells changed;
  for (int row = 1; row <= ScreenGrid::kRows; ++row)
    for (int column = 1; column <= ScreenGrid::kColumns; ++column)
      if (!(before.at(column, row) == after.at(column, row))) changed.insert({column, row});
  return changed;
}

Cells BothHalves(const Cells& cells) {
  Cells halves;
  for (auto [c, r] : cells) halves.insert({c, r}), halves.insert({c + 1, r});
  return halves;
}

}  // namespace

TEST_F(SelectionFrame, DrawsAndErasesExactlyTheOctagonAroundTheLabel) {
  console.clear(0, 15);
  console.locate(34, 10);
  console.print("ネームエントリー");
  const ScreenGrid before = console.screen();
  const Cells cells = FrameCells();
  ASSERT_EQ(cells.size(), 38u);

  DrawSelectionFrame(34, 10);
  const ScreenGrid drawn = console.screen();
  EXPECT_EQ(ChangedCells(before, drawn), BothHalves(cells));
  for (auto [c, r] : cells) EXPECT_TRUE(Shows(c, r, "■", 9, 7));
  EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(9, 7));
  DrawSelectionFrame(34, 10);
  EXPECT_EQ(console.screen(), drawn) << "drawing twice changes nothing";

  EraseSelectionFrame(34, 10);
  EXPECT_EQ(ChangedCells(drawn, console.screen()), BothHalves(cells));
  for (auto [c, r] : cells) EXPECT_TRUE(Shows(c, r, "　", 15, 15));
  EXPECT_TRUE(Shows(34, 10, "ネームエントリー", 0, 15));
  EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(15, 15));
}
