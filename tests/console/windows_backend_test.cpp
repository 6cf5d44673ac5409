// The Windows back end as the program uses it: it takes the console over and gives it back on every way out.
#include <string>

#include "console/windows/windows_backend.hpp"
#include "tests/console/windows_console_fixture.hpp"

namespace {

HANDLE ActiveBuffer() {
  return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

// The cell that tells the player's buffer: inside 80x25, so it survives the game's resizing,
// away from the cell where the game's screen probes how the console stores wide characters.
constexpr COORD kMarkCell{79, 24};

// What the player sees of the console: the active buffer (by its marked cell), its size, window,
// mode and cursor, the input mode and both code pages.
struct ConsoleState {
  wchar_t mark = 0;
  COORD size{};
  SMALL_RECT window{};
  DWORD output_mode = 0;
  CONSOLE_CURSOR_INFO cursor{};
  DWORD input_mode = 0;
  UINT input_code_page = 0;
  UINT output_code_page = 0;

  static ConsoleState Read(HANDLE input) {
    ConsoleState state;
    HANDLE active = ActiveBuffer();
    DWORD read = 0;
    ReadConsoleOutputCharacterW(active, &state.mark, 1, kMarkCell, &read);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(active, &info);
    state.size = info.dwSize;
    state.window = info.srWindow;
    GetConsoleMode(active, &state.output_mode);
    GetConsoleCursorInfo(active, &state.cursor);
    CloseHandle(active);
    GetConsoleMode(input, &state.input_mode);
    state.input_code_page = GetConsoleCP();
    state.output_code_page = GetConsoleOutputCP();
    return state;
  }
};

void ExpectSameConsole(const ConsoleState& after, const ConsoleState& before) {
  EXPECT_EQ(after.mark, before.mark) << "the player's buffer is not the active one, or was drawn on";
  EXPECT_EQ(after.size.X, before.size.X);
  EXPECT_EQ(after.size.Y, before.size.Y);
  EXPECT_EQ(after.window.Right - after.window.Left, before.window.Right - before.window.Left);
  EXPECT_EQ(after.window.Bottom - after.window.Top, before.window.Bottom - before.window.Top);
  EXPECT_EQ(after.output_mode, before.output_mode);
  EXPECT_EQ(after.cursor.bVisible, before.cursor.bVisible);
  EXPECT_EQ(after.cursor.dwSize, before.cursor.dwSize);
  EXPECT_EQ(after.input_mode, before.input_mode);
  EXPECT_EQ(after.input_code_page, before.input_code_page);
  EXPECT_EQ(after.output_code_page, before.output_code_page);
}

// Stands last in the handler list, after the game's: it records the console as the process
// would leave it, and keeps the test process alive (the system would end the game here).
HANDLE controlSeen = nullptr;
HANDLE controlInput = INVALID_HANDLE_VALUE;
ConsoleState atControl;
BOOL WINAPI RecordAndSurvive(DWORD) {
  atControl = ConsoleState::Read(controlInput);
  SetEvent(controlSeen);
  return TRUE;
}

// Wine raises only Ctrl+C for a program (GenerateConsoleCtrlEvent refuses Ctrl+Break there) and
// never closing, logoff or shutdown; the game's handler treats every control event alike.
struct Case {
  const char* name;
  bool own_buffer;
  bool ctrl_c;  // else the game ends normally
};

class PlayersConsole : public ::testing::Test {
 protected:
  // The player's console: a buffer of its own, larger than the game's, with modes, cursor and
  // code pages of its own, so that anything not put back shows.
  void SetUp() override {
    SKIP_WITHOUT_CONSOLE(test_console);
    controlSeen = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    controlInput = test_console.input;
    ASSERT_TRUE(SetConsoleCtrlHandler(RecordAndSurvive, TRUE));
    previous_active = ActiveBuffer();
    previous = ConsoleState::Read(test_console.input);
    const SMALL_RECT window{0, 0, 59, 19};
    ASSERT_TRUE(SetConsoleWindowInfo(test_console.output, TRUE, &window));
    ASSERT_TRUE(SetConsoleScreenBufferSize(test_console.output, COORD{100, 40}));
    const wchar_t mark = L'#';
    DWORD written = 0;
    WriteConsoleOutputCharacterW(test_console.output, &mark, 1, kMarkCell, &written);
    SetConsoleMode(test_console.output, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
    const CONSOLE_CURSOR_INFO cursor{50, TRUE};
    SetConsoleCursorInfo(test_console.output, &cursor);
    ASSERT_TRUE(SetConsoleActiveScreenBuffer(test_console.output));
    SetConsoleMode(test_console.input, ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
    SetConsoleCP(850);
    SetConsoleOutputCP(437);
    player = ConsoleState::Read(test_console.input);
  }
  void TearDown() override {
    if (previous_active == INVALID_HANDLE_VALUE) return;
    SetConsoleCtrlHandler(RecordAndSurvive, FALSE);
    CloseHandle(controlSeen);
    SetConsoleActiveScreenBuffer(previous_active);
    CloseHandle(previous_active);
    SetConsoleMode(test_console.input, previous.input_mode);
    SetConsoleCP(previous.input_code_page);
    SetConsoleOutputCP(previous.output_code_page);
  }

  TestConsole test_console;
  HANDLE previous_active = INVALID_HANDLE_VALUE;
  ConsoleState previous;  // of the console the tests run in
  ConsoleState player;
};

class WindowsBackendEnding : public PlayersConsole, public ::testing::WithParamInterface<Case> {};

TEST_P(WindowsBackendEnding, GivesThePlayersConsoleBack) {
  const Case& c = GetParam();
  {
    WindowsBackend backend(c.own_buffer);
    const ConsoleState game = ConsoleState::Read(test_console.input);
    EXPECT_EQ(game.mark == L'#', !c.own_buffer);
    EXPECT_EQ(game.size.X, 80);
    EXPECT_EQ(game.size.Y, 25);
    EXPECT_EQ(game.output_mode, 0u);
    EXPECT_EQ(game.output_code_page, 932u);
    if (c.ctrl_c) {
      ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
      ASSERT_EQ(WaitForSingleObject(controlSeen, 10000), WAIT_OBJECT_0) << "no control event came";
      ExpectSameConsole(atControl, player);
      // The game's thread may still draw before the process ends: not on the player's buffer.
      ScreenGrid grid;
      grid.write({ScreenGrid::kColumns, ScreenGrid::kRows}, "X", 0, 15);
      backend.present(grid, CursorState{});
    }
  }
  ExpectSameConsole(ConsoleState::Read(test_console.input), player);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWayOut, WindowsBackendEnding,
    ::testing::Values(Case{"OwnBufferGameEnds", true, false}, Case{"OwnBufferCtrlC", true, true},
                      Case{"PlayersBufferGameEnds", false, false}, Case{"PlayersBufferCtrlC", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The program itself, as a player ends it: started in this console, it takes the console over
// (its input mode is the last thing it sets) and Ctrl+C ends it.
TEST_F(PlayersConsole, TheProgramGivesTheConsoleBackOnCtrlC) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION game{};
  std::wstring command = DOMRAK_PROGRAM;
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game));
  for (int tries = 0; tries < 1000 && !(ConsoleState::Read(test_console.input).input_mode & ENABLE_MOUSE_INPUT); ++tries)
    Sleep(10);
  const ConsoleState playing = ConsoleState::Read(test_console.input);
  EXPECT_NE(playing.mark, L'#');
  EXPECT_EQ(playing.output_code_page, 932u);
  Sleep(300);  // lets the title draw
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  ASSERT_EQ(WaitForSingleObject(game.hProcess, 10000), WAIT_OBJECT_0) << "the game did not end on Ctrl+C";
  ExpectSameConsole(ConsoleState::Read(test_console.input), player);
  CloseHandle(game.hThread);
  CloseHandle(game.hProcess);
  WaitForSingleObject(controlSeen, 10000);  // this process's own share of the event
}

}  // namespace
