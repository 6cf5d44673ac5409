// The screen model: text lands in the right cells, wraps without scrolling, and wide characters
// stay whole (also when half overwritten: the recorded runs see that).
#include "console/screen_grid.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(ScreenGrid, WritesWideCharactersWholeTabsAndWrapsWithoutScrolling) {
  ScreenGrid grid;
  grid.fill(0, 15);
  EXPECT_EQ(grid.write({10, 3}, "A■B", 9, 7).column, 14);
  EXPECT_EQ(grid.text(10, 3, 5), "A■B ");
  EXPECT_EQ(grid.at(12, 3), (Cell{U' ', 0, 9, 7}));

  // A tab advances to the next stop (columns 9, 17, ...) with blanks in the text colours.
  grid.write({1, 2}, "abcdefgh", 0, 15);
  EXPECT_EQ(grid.write({3, 2}, "x\ty", 4, 15).column, 10);
  EXPECT_EQ(grid.text(1, 2, 10), "abx     y ");
  EXPECT_EQ(grid.at(5, 2).fg, 4);

  const auto end = grid.write({78, 1}, "abcd", 0, 15);
  EXPECT_EQ(grid.text(78, 1, 3) + grid.text(1, 2, 1), "abcd");
  EXPECT_EQ(std::pair(end.column, end.row), std::pair(2, 2)) << "the next text would not follow on the next row";
  // A full-width character with one column left starts the next row.
  grid.write({80, 5}, "■", 0, 15);
  EXPECT_EQ(grid.text(80, 5, 1) + grid.text(1, 6, 2), " ■");
  // Past the last cell everything is dropped; row 1 stays as it was.
  grid.write({79, 25}, "xyz", 0, 15);
  EXPECT_EQ(grid.text(79, 25, 2), "xy");
  EXPECT_EQ(grid.row_text(1), std::string(77, ' ') + "abc");
}
