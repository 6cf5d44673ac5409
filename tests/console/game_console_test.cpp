// GameConsole's screen operations and key questions, read back from the screen model.
#include <gtest/gtest.h>

#include "tests/support/game_session.hpp"

using ConsoleScreen = GameSession;

TEST_F(ConsoleScreen, ColoursAreStoredAndSixteenKeepsAComponent) {
  console.set_color(0, 15);
  console.set_color(KEEP_COLOR, 4);
  EXPECT_EQ(console.foreground(), 0);
  EXPECT_EQ(console.background(), 4);
  console.set_color(12, KEEP_COLOR);
  EXPECT_EQ(console.make_attribute(KEEP_COLOR, KEEP_COLOR), 0x4C);
  EXPECT_EQ(console.make_attribute(15, 0), 0x0F);
  EXPECT_EQ(console.make_attribute(0, 15), 0xF0);
  EXPECT_EQ(console.foreground(), 0);  // make_attribute stores too
}

TEST_F(ConsoleScreen, ClearFillsInTheStoredColoursAndHomesTheCursor) {
  console.set_color(0, 15);
  console.locate(40, 12);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  EXPECT_EQ(console.cursor().column, 1);
  EXPECT_EQ(console.cursor().row, 1);
  for (int row : {1, 13, 25})
    for (int column : {1, 40, 80}) EXPECT_EQ(console.screen().at(column, row), (Cell{U' ', 1, 0, 15}));
}

TEST_F(ConsoleScreen, PrintWritesAtTheCursorInTheCurrentColours) {
  console.clear(0, 15);
  console.locate(51, 25);
  console.set_color(0, 15);
  console.print("[ENTER]…決定");
  EXPECT_TRUE(Shows(51, 25, "[ENTER]…決定", 0, 15));
  console.locate(19, 20);
  console.set_color(15, 15);
  console.print("%60c", ' ');
  EXPECT_EQ(console.cursor().column, 79);
  console.locate(20, 12);
  console.set_color(12, 15);
  console.print("ＨＰ %3d / %3d", 7, 360);
  EXPECT_TRUE(Shows(20, 12, "ＨＰ   7 / 360", 12, 15));
}

TEST_F(ConsoleScreen, LocateOutsideTheScreenIsIgnored) {
  console.clear(0, 15);
  console.locate(74, 10);
  console.locate(0, 10);
  EXPECT_EQ(console.cursor().column, 74);
  console.locate(81, 1);
  console.locate(1, 26);
  EXPECT_EQ(console.cursor().column, 74);
  EXPECT_EQ(console.cursor().row, 10);
}

TEST_F(ConsoleScreen, CursorSizeKeepsItsOldValueOutside1To99) {
  EXPECT_EQ(console.cursor().size, 8u);
  console.set_cursor(0, 0);
  EXPECT_FALSE(console.cursor().visible);
  EXPECT_EQ(console.cursor().size, 8u);
  console.set_cursor(1, 100);
  EXPECT_TRUE(console.cursor().visible);
  EXPECT_EQ(console.cursor().size, 8u);
  console.set_cursor(0x100, 25);  // only the low byte of `visible` counts
  EXPECT_FALSE(console.cursor().visible);
  EXPECT_EQ(console.cursor().size, 25u);
}

TEST_F(ConsoleScreen, PollInputAnswersHeldKeysMouseAndJoystick) {
  keys.hold(kKeyEnter, 0, 100);
  EXPECT_EQ(console.poll_input(kKeyEnter), 1);
  EXPECT_EQ(console.poll_input(kKeyEnter + 256), 1);  // other codes count modulo 256
  EXPECT_EQ(console.poll_input(kKeyDown), 0);
  EXPECT_EQ(console.poll_input(INPUT_MOUSE_X), 0);
  EXPECT_EQ(console.poll_input(INPUT_MOUSE_Y), 0);
  EXPECT_EQ(console.poll_input(INPUT_JOY1_X), -1);
  EXPECT_EQ(console.poll_input(INPUT_JOY2_BUTTONS), -1);
  console.wait(100);
  EXPECT_EQ(console.poll_input(kKeyEnter), 0);
}

TEST_F(ConsoleScreen, WaitingForAReleaseTakesGameTimeNotProcessorTime) {
  keys.hold(kKeyDown, 0, 730);
  console.wait_release(kKeyDown);
  EXPECT_EQ(console.now(), 730u);
  EXPECT_EQ(console.poll_input(kKeyDown), 0);
}

TEST_F(ConsoleScreen, WaitsPresentTheScreenAndMoveTheClock) {
  console.clear(0, 15);
  console.locate(3, 4);
  console.print("DOMRAK");
  EXPECT_NE(keys.shown().text(3, 4, 6), "DOMRAK");
  console.wait(250);
  EXPECT_EQ(keys.shown().text(3, 4, 6), "DOMRAK");
  EXPECT_EQ(console.now(), 250u);
}
