// GameConsole's screen operations and key questions, read back from the screen model.
#include <gtest/gtest.h>

#include "tests/support/game_session.hpp"

using ConsoleScreen = GameSession;

// 16 keeps a colour; clear fills every cell and homes the cursor; print formats at the cursor
// in its colours; locate ignores what is off the screen; a wait presents the screen. Held keys
// are asked for by their code's low byte.
TEST_F(ConsoleScreen, PrintsWhereAndHowAskedAndWaitsPresentItAndAnswersHeldKeys) {
  keys.hold(kKeyEnter, 0, 100);
  EXPECT_EQ(console.poll_input(kKeyEnter + 256), 1);  // codes count modulo 256
  EXPECT_EQ(console.poll_input(kKeyDown), 0);
  console.set_color(0, 15);
  console.set_color(12, KEEP_COLOR);
  EXPECT_EQ(console.make_attribute(KEEP_COLOR, 4), 0x4C);  // and stores red on blue
  console.locate(40, 12);
  console.clear(KEEP_COLOR, 15);
  EXPECT_EQ(std::pair(console.cursor().column, console.cursor().row), std::pair(1, 1));
  for (int row : {1, 25})
    for (int column : {1, 80}) EXPECT_EQ(console.screen().at(column, row), (Cell{U' ', 1, 12, 15}));
  console.locate(20, 12);
  for (auto [x, y] : {std::pair{0, 12}, {81, 12}, {20, 0}, {20, 26}}) console.locate(x, y);
  console.print("ＨＰ %3d / %3d", 7, 360);
  EXPECT_EQ(console.screen().text(20, 12, 14), "ＨＰ   7 / 360");
  EXPECT_EQ(console.screen().at(20, 12), (Cell{U'Ｈ', 2, 12, 15})) << "the text's first cell";
  EXPECT_EQ(console.screen().at(33, 12), (Cell{U'0', 1, 12, 15})) << "the text's last cell";
  EXPECT_EQ(console.cursor().column, 34);
  EXPECT_NE(keys.shown().row_text(12), console.screen().row_text(12));
  console.wait(250);
  EXPECT_EQ(keys.shown().row_text(12), console.screen().row_text(12));
  EXPECT_EQ(console.poll_input(kKeyEnter), 0) << "Enter held after its release";

  // The cursor's size (8 at first) keeps its old value outside 1 to 99.
  for (unsigned size : {0u, 100u}) console.set_cursor(1, size);
  EXPECT_EQ(std::pair(console.cursor().visible, console.cursor().size), std::pair(true, 8u));
  console.set_cursor(0x100, 1);  // only the low byte of `visible` counts
  EXPECT_EQ(std::pair(console.cursor().visible, console.cursor().size), std::pair(false, 1u));
}
