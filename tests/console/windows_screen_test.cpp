// The Windows console screen: what present() leaves in a real console buffer, read back through the console API.
#include <optional>
#include <string>
#include <vector>

#include "console/windows/console_screen.hpp"
#include "console/windows/console_session.hpp"
#include "tests/console/windows_console_fixture.hpp"
#include "tests/support/game_session.hpp"

namespace {

// Runs on the layout the console reports, and again with every full-width character given two
// cells (wine's console stores one, so both ways of drawing are covered there).
enum class Layout { AsProbed, TwoCells };

class WindowsScreen : public GameSession, public ::testing::WithParamInterface<Layout> {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_CONSOLE(test_console);
    SizeScreenBuffer(test_console.output);
    CONSOLE_SCREEN_BUFFER_INFO info;
    ASSERT_TRUE(GetConsoleScreenBufferInfo(test_console.output, &info));
    ASSERT_GE(info.dwSize.X, 80);
    ASSERT_GE(info.dwSize.Y, 25);
    SetConsoleMode(test_console.output, 0);
    if (GetParam() == Layout::AsProbed)
      screen.emplace(test_console.output);
    else
      screen.emplace(test_console.output, true);
  }

  void present() { screen->present(console.screen(), console.cursor()); }

  // Buffer column of a model column on a row whose full-width characters all lie before it.
  int buffer_column(int column, int wide_before) const {
    return screen->wide_takes_two_cells() ? column - 1 : column - 1 - wide_before;
  }

  std::wstring chars(int buffer_column, int row, int count) const {
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(test_console.output, text.data(), static_cast<DWORD>(count),
                                COORD{static_cast<SHORT>(buffer_column), static_cast<SHORT>(row - 1)}, &read);
    text.resize(read);
    return text;
  }

  std::vector<WORD> attributes(int buffer_column, int row, int count) const {
    std::vector<WORD> values(static_cast<std::size_t>(count));
    DWORD read = 0;
    ReadConsoleOutputAttribute(test_console.output, values.data(), static_cast<DWORD>(count),
                               COORD{static_cast<SHORT>(buffer_column), static_cast<SHORT>(row - 1)}, &read);
    values.resize(read);
    return values;
  }

  COORD console_cursor() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(test_console.output, &info);
    return info.dwCursorPosition;
  }

  TestConsole test_console;
  std::optional<ConsoleScreen> screen;
};

TEST_P(WindowsScreen, ClearPaintsEveryCellBlackOnWhiteAndHomesTheCursor) {
  console.locate(30, 12);
  console.print("old");
  present();
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  present();
  for (int row = 1; row <= 25; ++row) {
    EXPECT_EQ(attributes(0, row, 80), std::vector<WORD>(80, 0xF0)) << "row " << row;
    EXPECT_EQ(chars(0, row, 80), std::wstring(80, L' ')) << "row " << row;
  }
  const COORD cursor = console_cursor();
  EXPECT_EQ(cursor.X, 0);
  EXPECT_EQ(cursor.Y, 0);
}

TEST_P(WindowsScreen, CursorVisibilityAndSizeReachTheConsole) {
  struct Step {
    int visible;
    unsigned size;
    BOOL shown;
    DWORD expected_size;
  };
  const Step steps[] = {
      {0, 0, FALSE, 8},     // hides, keeps the start size
      {1, 100, TRUE, 8},    // shows, 100 keeps the size
      {1, 50, TRUE, 50},
      {0, 0, FALSE, 50},
  };
  for (const Step& step : steps) {
    console.set_cursor(step.visible, step.size);
    present();
    CONSOLE_CURSOR_INFO info{};
    ASSERT_TRUE(GetConsoleCursorInfo(test_console.output, &info));
    EXPECT_EQ(info.bVisible, step.shown) << "set_cursor(" << step.visible << ", " << step.size << ")";
    EXPECT_EQ(info.dwSize, step.expected_size) << "set_cursor(" << step.visible << ", " << step.size << ")";
  }
}

TEST_P(WindowsScreen, TextKeepsItsColumnsAndColours) {
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  console.locate(34, 10);
  console.print("ネームエントリー");
  console.set_color(9, 7);
  console.print("|");
  console.locate(1, 1);
  console.set_color(12, 15);
  console.print("top");
  console.locate(78, 25);
  console.print("end");  // the last cell of the buffer: nothing may scroll
  console.locate(40, 12);
  present();

  const int bar = buffer_column(50, 8);
  EXPECT_EQ(chars(bar, 10, 1), L"|");
  EXPECT_EQ(attributes(bar, 10, 1), std::vector<WORD>{0x79});
  EXPECT_EQ(chars(buffer_column(34, 0), 10, 1), L"ネ");
  EXPECT_EQ(chars(buffer_column(48, 7), 10, 1), L"ー");
  EXPECT_EQ(attributes(buffer_column(34, 0), 10, 1), std::vector<WORD>{0xF0});
  EXPECT_EQ(chars(0, 1, 3), L"top");
  EXPECT_EQ(attributes(0, 1, 3), std::vector<WORD>(3, 0xFC));
  EXPECT_EQ(chars(77, 25, 3), L"end");
  const COORD cursor = console_cursor();
  EXPECT_EQ(cursor.X, 39);
  EXPECT_EQ(cursor.Y, 11);
}

TEST_P(WindowsScreen, OnlyChangedCellsAreRedrawn) {
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  present();
  // Something else writes on row 5; the game then changes only row 20.
  DWORD written = 0;
  WriteConsoleOutputCharacterW(test_console.output, L"marker", 6, COORD{10, 4}, &written);
  console.locate(5, 20);
  console.print("ＨＰ:360");
  present();
  EXPECT_EQ(chars(10, 5, 6), L"marker");
  EXPECT_EQ(chars(buffer_column(5, 0), 20, 1), L"Ｈ");
  EXPECT_EQ(chars(buffer_column(9, 2), 20, 4), L":360");
}

INSTANTIATE_TEST_SUITE_P(Layouts, WindowsScreen, ::testing::Values(Layout::AsProbed, Layout::TwoCells));

}  // namespace
