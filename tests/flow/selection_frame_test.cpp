// The title menu's selection frame: exactly its 38 cells are drawn and erased.
#include "game/flow/selection_frame.hpp"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "console/game_console.hpp"
#include "tests/support/game_session.hpp"

using SelectionFrame = GameSession;

namespace {

// Left columns of the "■" around an item at (34, 10), row by row from row 8.
std::set<std::pair<int, int>> FrameCells() {
  const int x = 34, y = 10;
  std::set<std::pair<int, int>> cells;
  for (int dy : {-2, 2}) {
    cells.insert({x - 6, y + dy});
    for (int c = x - 4; c <= x + 18; c += 2) cells.insert({c, y + dy});
    cells.insert({x + 20, y + dy});
  }
  for (int dy : {-1, 1})
    for (int c : {x - 8, x - 6, x + 20, x + 22}) cells.insert({c, y + dy});
  cells.insert({x - 8, y});
  cells.insert({x + 22, y});
  return cells;
}

// Every cell that differs between two screens, as (column, row).
std::set<std::pair<int, int>> Changed(const ScreenGrid& before, const ScreenGrid& after) {
  std::set<std::pair<int, int>> changed;
  for (int row = 1; row <= ScreenGrid::kRows; ++row)
    for (int column = 1; column <= ScreenGrid::kColumns; ++column)
      if (!(before.at(column, row) == after.at(column, row))) changed.insert({column, row});
  return changed;
}

// Both halves of every full-width frame cell.
std::set<std::pair<int, int>> BothHalves(const std::set<std::pair<int, int>>& cells) {
  std::set<std::pair<int, int>> halves;
  for (auto [c, r] : cells) {
    halves.insert({c, r});
    halves.insert({c + 1, r});
  }
  return halves;
}

}  // namespace

TEST_F(SelectionFrame, DrawsExactlyTheOctagonAroundTheLabel) {
  console.clear(0, 15);
  console.locate(34, 10);
  console.print("ネームエントリー");
  const ScreenGrid before = console.screen();

  DrawSelectionFrame(34, 10);
  const auto cells = FrameCells();
  ASSERT_EQ(cells.size(), 38u);
  const auto changed = Changed(before, console.screen());
  EXPECT_EQ(changed, BothHalves(cells));
  for (auto [c, r] : changed) {
    EXPECT_TRUE(c >= 26 && c <= 57 && r >= 8 && r <= 12) << c << "," << r;
  }
  for (auto [c, r] : cells) EXPECT_TRUE(Shows(c, r, "■", 9, 7));
  EXPECT_TRUE(Shows(30, 8, "■■■■■■■■■■■■", 9, 7));
  EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(9, 7));

  const ScreenGrid once = console.screen();
  DrawSelectionFrame(34, 10);
  EXPECT_EQ(console.screen(), once);
}

TEST_F(SelectionFrame, EraseBlanksTheSameCellsAndNothingElse) {
  console.clear(0, 15);
  console.locate(34, 10);
  console.print("ネームエントリー");
  DrawSelectionFrame(34, 10);
  const ScreenGrid drawn = console.screen();

  EraseSelectionFrame(34, 10);
  const auto cells = FrameCells();
  EXPECT_EQ(Changed(drawn, console.screen()), BothHalves(cells));
  for (auto [c, r] : cells) EXPECT_TRUE(Shows(c, r, "　", 15, 15));
  EXPECT_TRUE(Shows(34, 10, "ネームエントリー", 0, 15));
  EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(15, 15));
}
