// The Windows back end as the program uses it: it takes the console over and gives it back.
#include "console/windows/windows_backend.hpp"
#include "tests/console/windows_console_fixture.hpp"

namespace {

HANDLE ActiveBuffer() {
  return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

// Marks the active buffer's first cell, so that it can be told from another buffer.
void Mark(wchar_t ch) {
  HANDLE active = ActiveBuffer();
  DWORD written = 0;
  WriteConsoleOutputCharacterW(active, &ch, 1, COORD{0, 0}, &written);
  CloseHandle(active);
}

wchar_t FirstCell() {
  HANDLE active = ActiveBuffer();
  wchar_t ch = 0;
  DWORD read = 0;
  ReadConsoleOutputCharacterW(active, &ch, 1, COORD{0, 0}, &read);
  CloseHandle(active);
  return ch;
}

TEST(WindowsBackend, DrawsOnItsOwnBufferAndGivesTheConsoleBack) {
  TestConsole test_console;
  SKIP_WITHOUT_CONSOLE(test_console);
  const UINT code_page = GetConsoleOutputCP();
  DWORD input_mode = 0;
  GetConsoleMode(test_console.input, &input_mode);
  Mark(L'#');
  {
    WindowsBackend backend;
    EXPECT_NE(FirstCell(), L'#');  // the game's buffer is showing
    EXPECT_EQ(GetConsoleOutputCP(), 932u);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    HANDLE active = ActiveBuffer();
    ASSERT_TRUE(GetConsoleScreenBufferInfo(active, &info));
    CloseHandle(active);
    EXPECT_EQ(info.dwSize.X, 80);
    EXPECT_EQ(info.dwSize.Y, 25);
  }
  EXPECT_EQ(FirstCell(), L'#');
  EXPECT_EQ(GetConsoleOutputCP(), code_page);
  DWORD mode_after = 0;
  GetConsoleMode(test_console.input, &mode_after);
  EXPECT_EQ(mode_after, input_mode);
}

}  // namespace
