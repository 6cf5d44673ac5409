// The Windows back end as the program uses it: it takes the console over and gives it back on every way out.
#include <map>
#include <string>

#include "console/windows/windows_backend.hpp"
#include "tests/console/windows_console_fixture.hpp"

namespace {

// The cell that tells the player's buffer: inside 80x25, so it survives the game's resizing,
// away from the cell where the game's screen probes how the console stores wide characters.
constexpr COORD kMarkCell{79, 24};

// What the player sees of the console, by name: the active buffer (by its marked cell), its
// size, window, mode and cursor, the input mode and both code pages.
using ConsoleState = std::map<std::string, long>;

ConsoleState ReadConsoleState(HANDLE input) {
  HANDLE active = OpenConsole(L"CONOUT$");
  wchar_t mark = 0;
  DWORD read = 0, output_mode = 0, input_mode = 0;
  ReadConsoleOutputCharacterW(active, &mark, 1, kMarkCell, &read);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(active, &info);
  GetConsoleMode(active, &output_mode);
  CONSOLE_CURSOR_INFO cursor{};
  GetConsoleCursorInfo(active, &cursor);
  CloseHandle(active);
  GetConsoleMode(input, &input_mode);
  return {{"mark", mark},
          {"columns", info.dwSize.X},
          {"rows", info.dwSize.Y},
          {"window columns", info.srWindow.Right - info.srWindow.Left},
          {"window rows", info.srWindow.Bottom - info.srWindow.Top},
          {"output mode", output_mode},
          {"cursor shown", cursor.bVisible},
          {"cursor size", cursor.dwSize},
          {"input mode", input_mode},
          {"input code page", GetConsoleCP()},
          {"output code page", GetConsoleOutputCP()}};
}

// Stands last in the handler list, after the game's: it records the console as the process
// would leave it, and keeps the test process alive (the system would end the game here).
HANDLE controlSeen = nullptr;
HANDLE controlInput = INVALID_HANDLE_VALUE;
ConsoleState atControl;
BOOL WINAPI RecordAndSurvive(DWORD) {
  atControl = ReadConsoleState(controlInput);
  SetEvent(controlSeen);
  return TRUE;
}

class PlayersConsole : public ::testing::Test {
 protected:
  // The player's console: a buffer of its own, larger than the game's, with modes, cursor and
  // code pages of its own, so that anything not put back shows.
  void SetUp() override {
    SKIP_WITHOUT_CONSOLE(test_console);
    controlSeen = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    controlInput = test_console.input;
    ASSERT_TRUE(SetConsoleCtrlHandler(RecordAndSurvive, TRUE));
    previous_active = OpenConsole(L"CONOUT$");
    previous = ReadConsoleState(test_console.input);
    const SMALL_RECT window{0, 0, 59, 19};
    ASSERT_TRUE(SetConsoleWindowInfo(test_console.output, TRUE, &window));
    ASSERT_TRUE(SetConsoleScreenBufferSize(test_console.output, COORD{100, 40}));
    DWORD written = 0;
    WriteConsoleOutputCharacterW(test_console.output, L"#", 1, kMarkCell, &written);
    SetConsoleMode(test_console.output, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
    const CONSOLE_CURSOR_INFO cursor{50, TRUE};
    SetConsoleCursorInfo(test_console.output, &cursor);
    ASSERT_TRUE(SetConsoleActiveScreenBuffer(test_console.output));
    SetConsoleMode(test_console.input, ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
    SetConsoleCP(850);
    SetConsoleOutputCP(437);
    player = ReadConsoleState(test_console.input);
  }
  void TearDown() override {
    if (previous_active == INVALID_HANDLE_VALUE) return;
    SetConsoleCtrlHandler(RecordAndSurvive, FALSE);
    CloseHandle(controlSeen);
    SetConsoleActiveScreenBuffer(previous_active);
    CloseHandle(previous_active);
    SetConsoleMode(test_console.input, previous["input mode"]);
    SetConsoleCP(previous["input code page"]);
    SetConsoleOutputCP(previous["output code page"]);
  }

  TestConsole test_console;
  HANDLE previous_active = INVALID_HANDLE_VALUE;
  ConsoleState previous;  // of the console the tests run in
  ConsoleState player;
};

// On its own buffer or the player's; ended by the game or by Ctrl+C. Wine raises only Ctrl+C
// for a program (GenerateConsoleCtrlEvent refuses Ctrl+Break there) and never closing, logoff
// or shutdown; the game's handler treats every control event alike.
TEST_F(PlayersConsole, BackendGivesThePlayersConsoleBackOnEveryWayOut) {
  for (const bool own_buffer : {true, false}) {
    for (const bool ctrl_c : {false, true}) {
      SCOPED_TRACE(testing::Message() << "own buffer " << own_buffer << ", Ctrl+C " << ctrl_c);
      {
        WindowsBackend backend(own_buffer);
        ConsoleState game = ReadConsoleState(test_console.input);
        EXPECT_EQ(game["mark"] == L'#', !own_buffer);
        EXPECT_EQ(game["columns"], 80);
        EXPECT_EQ(game["rows"], 25);
        EXPECT_EQ(game["output mode"], 0);
        EXPECT_EQ(game["output code page"], 932);
        // A frame with the cursor hidden; the marked cell drawn as it was.
        ScreenGrid grid;
        grid.write({ScreenGrid::kColumns, ScreenGrid::kRows}, "#", 0, 15);
        backend.present(grid, CursorState{1, 1, false, 8});
        if (ctrl_c) {
          ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
          ASSERT_EQ(WaitForSingleObject(controlSeen, 60000), WAIT_OBJECT_0) << "no control event came";
          EXPECT_EQ(atControl, player);
          // The game's thread may still draw before the process ends: not on the player's buffer.
          grid.write({ScreenGrid::kColumns, ScreenGrid::kRows}, "X", 0, 15);
          backend.present(grid, CursorState{});
        }
      }
      EXPECT_EQ(ReadConsoleState(test_console.input), player);
    }
  }
}

// The program itself, as a player ends it: started in this console, it takes the console over
// (its input mode is the last thing it sets) and Ctrl+C ends it.
TEST_F(PlayersConsole, TheProgramGivesTheConsoleBackOnCtrlC) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION game{};
  std::wstring command = DOMRAK_PROGRAM;
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game));
  for (int tries = 0; tries < 6000 && !(ReadConsoleState(test_console.input)["input mode"] & ENABLE_MOUSE_INPUT);
       ++tries)
    Sleep(10);
  ConsoleState playing = ReadConsoleState(test_console.input);
  EXPECT_NE(playing["mark"], L'#');
  EXPECT_EQ(playing["output code page"], 932);
  Sleep(300);  // lets the title draw
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  ASSERT_EQ(WaitForSingleObject(game.hProcess, 60000), WAIT_OBJECT_0) << "the game did not end on Ctrl+C";
  EXPECT_EQ(ReadConsoleState(test_console.input), player);
  CloseHandle(game.hThread);
  CloseHandle(game.hProcess);
  WaitForSingleObject(controlSeen, 60000);  // this process's own share of the event
}

}  // namespace
