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
    SetConsoleMode(test_console.output, 0);
    if (GetParam() == Layout::AsProbed)
      screen.emplace(test_console.output);
    else
      screen.emplace(test_console.output, true);
  }

  void present() { screen->present(console.screen(), console.cursor()); }

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

  // Every row but `other` reads in the buffer as the model holds it. Wine stores a full-width
  // character in one cell: with a blank after it on the two-cell layout, packed otherwise, the
  // cells this frees at the row's end blank.
  void expect_rows_as_model(int other = 0) const {
    for (int row = 1; row <= ScreenGrid::kRows; ++row) {
      if (row == other) continue;
      std::wstring model;
      for (int column = 1; column <= ScreenGrid::kColumns; ++column) {
        const Cell& cell = console.screen().at(column, row);
        if (cell.width != 0) model += static_cast<wchar_t>(cell.ch);
        else if (screen->wide_takes_two_cells()) model += L' ';
      }
      model.resize(ScreenGrid::kColumns, L' ');
      EXPECT_EQ(chars(0, row, ScreenGrid::kColumns), model) << "row " << row;
    }
  }

  TestConsole test_console;
  std::optional<ConsoleScreen> screen;
};

// A scripted run of frames: a clear paints every cell, text keeps its columns and colours, only
// changed cells are redrawn, and the console's cursor stays where the game put it.
TEST_P(WindowsScreen, FramesShowTheModelsTextColoursAndCursor) {
  console.locate(30, 12);
  console.print("old");
  present();
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  console.locate(74, 10);
  console.print("tail");
  console.locate(78, 25);
  console.print("end");  // the last cell of the buffer: nothing may scroll
  console.locate(40, 12);
  present();
  expect_rows_as_model();
  for (int row = 1; row <= ScreenGrid::kRows; ++row)
    EXPECT_EQ(attributes(0, row, ScreenGrid::kColumns), std::vector<WORD>(ScreenGrid::kColumns, 0xF0)) << row;

  // Something else writes on row 5; the game then changes other rows only.
  DWORD written = 0;
  WriteConsoleOutputCharacterW(test_console.output, L"marker", 6, COORD{10, 4}, &written);
  console.locate(34, 10);
  console.print("ネームエントリー");
  console.set_color(9, 7);
  console.print("|");
  console.locate(1, 1);
  console.set_color(12, 15);
  console.print("top");
  console.locate(40, 12);
  present();
  expect_rows_as_model(5);
  EXPECT_EQ(chars(10, 5, 6), L"marker");
  const int bar = screen->wide_takes_two_cells() ? 49 : 41;  // after eight full-width characters
  EXPECT_EQ(attributes(bar, 10, 1), std::vector<WORD>{0x79});
  EXPECT_EQ(attributes(33, 10, 1), std::vector<WORD>{0xF0});
  EXPECT_EQ(attributes(0, 1, 3), std::vector<WORD>(3, 0xFC));
  // Drawing moved the console's cursor, the game's did not move: it is put back.
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(test_console.output, &info);
  EXPECT_EQ(info.dwCursorPosition.X, 39);
  EXPECT_EQ(info.dwCursorPosition.Y, 11);
}

TEST_P(WindowsScreen, CursorVisibilityAndSizeReachTheConsole) {
  // {visible, size} as the game sets them; {shown, size} as the console then has them.
  const unsigned steps[][4] = {
      {0, 0, FALSE, 8},    // hides, keeps the start size
      {1, 100, TRUE, 8},   // shows, 100 keeps the size
      {1, 50, TRUE, 50},
      {0, 0, FALSE, 50},
  };
  for (const auto& [visible, size, shown, shown_size] : steps) {
    console.set_cursor(static_cast<int>(visible), size);
    present();
    CONSOLE_CURSOR_INFO info{};
    ASSERT_TRUE(GetConsoleCursorInfo(test_console.output, &info));
    EXPECT_EQ(info.bVisible, static_cast<BOOL>(shown)) << "set_cursor(" << visible << ", " << size << ")";
    EXPECT_EQ(info.dwSize, shown_size) << "set_cursor(" << visible << ", " << size << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, WindowsScreen, ::testing::Values(Layout::AsProbed, Layout::TwoCells));

}  // namespace
