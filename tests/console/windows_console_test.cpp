// The Windows console back end in a real console (under wine: in a terminal): keys from the
// input queue, frames read back from the buffer, and the player's console given back on every
// way out, also by the program itself.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "console/windows/console_session.hpp"
#include "console/windows/windows_backend.hpp"

namespace {

// The console's input queue (L"CONIN$") or active screen buffer (L"CONOUT$").
HANDLE OpenConsole(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

// The process's console: its input queue, emptied, and a screen buffer of the test's own. Wine
// without a terminal hands out handles that every call refuses: the test is then skipped.
class WindowsConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD events = 0;
    if (!GetNumberOfConsoleInputEvents(input, &events))
      GTEST_SKIP() << "no usable Windows console here, e.g. wine without a terminal (error " << GetLastError() << ")";
    FlushConsoleInputBuffer(input);
  }
  ~WindowsConsole() override {
    CloseHandle(input);
    CloseHandle(output);
  }

  HANDLE input = OpenConsole(L"CONIN$");
  HANDLE output = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr);
};

INPUT_RECORD Key(WORD code, bool down, wchar_t ch = 0, DWORD modifiers = 0, WORD repeats = 1) {
  INPUT_RECORD record{KEY_EVENT, {}};
  record.Event.KeyEvent = {down, repeats,  code, static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC)),
                           {ch}, modifiers};
  return record;
}

INPUT_RECORD Mouse(SHORT x, SHORT y, DWORD buttons) {
  INPUT_RECORD record{MOUSE_EVENT, {}};
  record.Event.MouseEvent = {COORD{x, y}, buttons, 0, 0};
  return record;
}

// Through the console's input queue, as the game reads it: each step's records arrive between
// two polls; the game reads the typed bytes if the step names any; then these keys are held and
// those are not.
TEST_F(WindowsConsole, KeysComeTypedAndCountAsHeldFromPressToRelease) {
  const int up_scan = static_cast<int>(MapVirtualKeyW(VK_UP, MAPVK_VK_TO_VSC));
  const struct {
    std::vector<INPUT_RECORD> records;
    std::vector<WORD> held, released;
    std::vector<int> typed = {};
  } steps[] = {
      {{Key(VK_RETURN, true), Key(VK_RETURN, true)}, {VK_RETURN}, {VK_SHIFT}},  // auto-repeat
      // A modifier and a release type nothing; a held key's auto-repeat may come as one record
      // with a count. Releases read by the typed input still reach the held keys.
      {{Key(VK_SHIFT, true, 0, SHIFT_PRESSED), Key(VK_RETURN, false), Key('K', true, L'k', 0, 2), Key('K', false, L'k'),
        Key(VK_UP, true, 0, ENHANCED_KEY), Key(VK_RETURN, true, L'\r'), Key(VK_RETURN, false, L'\r')},
       {VK_UP},
       {VK_RETURN},
       {'k', 'k', kExtendedKeyPrefix, up_scan, '\r'}},
      {{Key(VK_UP, false), Key(VK_DOWN, true), Key(VK_DOWN, false)}, {}, {VK_UP, VK_DOWN}},
      // The shift key's own press never arrives: every key event carries the modifiers.
      {{Key('A', true, L'A', SHIFT_PRESSED)}, {'A', VK_SHIFT}, {VK_CONTROL, VK_MENU}},
      {{Key('A', false, L'A', SHIFT_PRESSED | LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED)},
       {VK_SHIFT, VK_CONTROL, VK_MENU},
       {'A'}},
      // Codes above 255 change nothing: not the key of their low byte (300 is 44 there), nor the modifiers.
      {{Key(VK_UP, true, 0, SHIFT_PRESSED), Key(300, true), Key(300 + VK_UP, false)}, {VK_UP, VK_SHIFT}, {44}},
      {{Mouse(12, 4, FROM_LEFT_1ST_BUTTON_PRESSED | RIGHTMOST_BUTTON_PRESSED)}, {VK_LBUTTON, VK_RBUTTON}, {VK_MBUTTON}},
      {{Mouse(13, 5, FROM_LEFT_2ND_BUTTON_PRESSED)}, {VK_MBUTTON}, {VK_LBUTTON, VK_RBUTTON}},
  };
  ConsoleInput keys(input);
  InputState state;
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &step - steps);
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(input, step.records.data(), DWORD(step.records.size()), &written));
    std::vector<int> typed;
    for (int n = 0; n < 16 && !step.typed.empty() && keys.key_waiting(); ++n) typed.push_back(keys.read_key());
    EXPECT_EQ(typed, step.typed);
    keys.drain(state);
    for (WORD key : step.held) EXPECT_TRUE(state.held(key)) << key;
    for (WORD key : step.released) EXPECT_FALSE(state.held(key)) << key;
  }
  EXPECT_EQ(keys.read_key(), 0) << "a key typed with nothing waiting";
  EXPECT_EQ(state.mouse_x, 13);
  EXPECT_EQ(state.mouse_y, 5);
}

// The cell that tells the player's buffer: inside 80x25, so it survives the game's resizing,
// away from the cell where the game's screen probes how the console stores wide characters.
constexpr COORD kMarkCell{79, 24};

// What the player sees of the console, by name: the active buffer (or `buffer`) by its marked
// cell, its size, window, mode and cursor, the input mode and both code pages.
using ConsoleState = std::map<std::string, long>;

ConsoleState ReadConsoleState(HANDLE input, HANDLE buffer = nullptr) {
  HANDLE active = buffer ? buffer : OpenConsole(L"CONOUT$");
  wchar_t mark = 0;
  DWORD read = 0, output_mode = 0, input_mode = 0;
  ReadConsoleOutputCharacterW(active, &mark, 1, kMarkCell, &read);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(active, &info);
  GetConsoleMode(active, &output_mode);
  CONSOLE_CURSOR_INFO cursor{};
  GetConsoleCursorInfo(active, &cursor);
  if (!buffer) CloseHandle(active);
  GetConsoleMode(input, &input_mode);
  return {{"mark", mark},
          {"columns", info.dwSize.X},
          {"rows", info.dwSize.Y},
          {"window columns", info.srWindow.Right - info.srWindow.Left},
          {"window rows", info.srWindow.Bottom - info.srWindow.Top},
          {"output mode", output_mode},
          {"cursor shown", cursor.bVisible},
          {"cursor size", cursor.dwSize},
          {"cursor column", info.dwCursorPosition.X},
          {"cursor row", info.dwCursorPosition.Y},
          {"input mode", input_mode},
          {"input code page", GetConsoleCP()},
          {"output code page", GetConsoleOutputCP()}};
}

// A run of frames, on the layout the console reports and again with every full-width character
// given two cells (wine's console stores one, so both ways of drawing are covered there): a fill
// paints every cell, text keeps its columns and colours, only changed rows are redrawn, the cursor
// stays where the game put it and shows as the game asks.
TEST_F(WindowsConsole, FramesShowTheModelsTextColoursAndCursor) {
  const auto chars = [&](int buffer_column, int row, int count) {
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(output, text.data(), count, COORD{SHORT(buffer_column), SHORT(row - 1)}, &read);
    return text.substr(0, read);
  };
  const auto attribute = [&](int buffer_column, int row) {
    WORD value = 0;
    DWORD read = 0;
    ReadConsoleOutputAttribute(output, &value, 1, COORD{SHORT(buffer_column), SHORT(row - 1)}, &read);
    return value;
  };
  SizeScreenBuffer(output);
  SetConsoleMode(output, 0);
  for (const bool two_cells : {false, true}) {
    SCOPED_TRACE(two_cells ? "every full-width character in two cells" : "as the console stores them");
    std::optional<ConsoleScreen> screen;
    two_cells ? screen.emplace(output, true) : screen.emplace(output);
    ScreenGrid grid;
    grid.write({30, 12}, "old", 0, 15);
    screen->present(grid, {});
    grid.fill(0, 15);
    grid.write({74, 10}, "tail", 0, 15);
    grid.write({78, 25}, "end", 0, 15);  // the last cell of the buffer: nothing may scroll
    screen->present(grid, {40, 12, false, 8});
    EXPECT_EQ(chars(0, 12, 80), std::wstring(80, L' ')) << "the old text stays after a fill";
    EXPECT_EQ(chars(0, 25, 80), std::wstring(77, L' ') + L"end");
    for (int column : {0, 29, 79}) EXPECT_EQ(attribute(column, 12), 0xF0) << "black on white at " << column;
    EXPECT_EQ(ReadConsoleState(input, output)["cursor shown"], 0) << "the hidden cursor shows";

    // Something else writes on row 5; the game then changes other rows only.
    DWORD written = 0;
    WriteConsoleOutputCharacterW(output, L"marker", 6, COORD{10, 4}, &written);
    grid.write({34, 10}, "ネームエントリー", 0, 15);
    grid.write({50, 10}, "|", 9, 7);
    screen->present(grid, {40, 12, true, 50});
    EXPECT_EQ(chars(10, 5, 6), L"marker");
    // Wine stores a full-width character in one cell: with a blank after it on the two-cell
    // layout, packed otherwise, the cells this frees at the row's end blank.
    const bool two = screen->wide_takes_two_cells();
    EXPECT_EQ(chars(0, 10, 80), std::wstring(33, L' ') + (two ? L"ネ ー ム エ ン ト リ ー |" : L"ネームエントリー|") +
                                    std::wstring(23, L' ') + L"tail" + std::wstring(two ? 3 : 11, L' '));
    EXPECT_EQ(attribute(two ? 49 : 41, 10), 0x79) << "bright blue on grey";
    ConsoleState after = ReadConsoleState(input, output);
    EXPECT_EQ(after["cursor column"], 39) << "drawing moved the cursor the game had not moved";
    EXPECT_EQ(after["cursor row"], 11);
    EXPECT_EQ(after["cursor shown"], 1);
    EXPECT_EQ(after["cursor size"], 50);
  }
}

// Stands last in the handler list, after the game's: it records the console as the process
// would leave it, and keeps the test process alive (the system would end the game here).
HANDLE controlSeen = CreateEventW(nullptr, FALSE, FALSE, nullptr);
HANDLE controlInput;
ConsoleState atControl;
BOOL WINAPI RecordAndSurvive(DWORD) {
  atControl = ReadConsoleState(controlInput);
  SetEvent(controlSeen);
  return TRUE;
}

class PlayersConsole : public WindowsConsole {
 protected:
  // The player's console: a buffer of its own, larger than the game's, with modes, cursor and
  // code pages of its own, so that anything not put back shows.
  void SetUp() override {
    WindowsConsole::SetUp();
    if (IsSkipped()) return;
    controlInput = input;
    ASSERT_TRUE(SetConsoleCtrlHandler(RecordAndSurvive, TRUE));
    previous_active = OpenConsole(L"CONOUT$");
    previous = ReadConsoleState(input);
    const SMALL_RECT window{0, 0, 59, 19};
    ASSERT_TRUE(SetConsoleWindowInfo(output, TRUE, &window));
    ASSERT_TRUE(SetConsoleScreenBufferSize(output, COORD{100, 40}));
    DWORD written = 0;
    WriteConsoleOutputCharacterW(output, L"#", 1, kMarkCell, &written);
    SetConsoleMode(output, ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
    const CONSOLE_CURSOR_INFO cursor{50, TRUE};
    SetConsoleCursorInfo(output, &cursor);
    ASSERT_TRUE(SetConsoleActiveScreenBuffer(output));
    SetConsoleMode(input, ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
    SetConsoleCP(850);
    SetConsoleOutputCP(437);
    player = ReadConsoleState(input);
  }
  void TearDown() override {
    if (previous_active == INVALID_HANDLE_VALUE) return;
    SetConsoleCtrlHandler(RecordAndSurvive, FALSE);
    SetConsoleActiveScreenBuffer(previous_active);
    CloseHandle(previous_active);
    SetConsoleMode(input, previous["input mode"]);
    SetConsoleCP(previous["input code page"]);
    SetConsoleOutputCP(previous["output code page"]);
  }

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
        ConsoleState game = ReadConsoleState(input);
        EXPECT_EQ(game["mark"] == L'#', !own_buffer);
        for (const auto& [name, value] :
             ConsoleState{{"columns", 80}, {"rows", 25}, {"output mode", 0}, {"output code page", 932}})
          EXPECT_EQ(game[name], value) << "the game's console: " << name;
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
      EXPECT_EQ(ReadConsoleState(input), player);
    }
  }
}

// The program itself, as a player ends it: started in this console, it takes the console over
// (its input mode is the last thing it sets) and Ctrl+C ends it. (That its title shows is checked
// from outside by tests/windows/windows-check.sh.)
TEST_F(PlayersConsole, TheProgramGivesTheConsoleBackOnCtrlC) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION game{};
  ASSERT_TRUE(CreateProcessW(DOMRAK_PROGRAM, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game));
  for (int tries = 0; tries < 6000 && !(ReadConsoleState(input)["input mode"] & ENABLE_MOUSE_INPUT); ++tries) Sleep(10);
  EXPECT_NE(ReadConsoleState(input)["mark"], L'#') << "the game drew on the player's buffer";
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  ASSERT_EQ(WaitForSingleObject(game.hProcess, 60000), WAIT_OBJECT_0) << "the game did not end on Ctrl+C";
  EXPECT_EQ(ReadConsoleState(input), player);
  CloseHandle(game.hThread);
  CloseHandle(game.hProcess);
  WaitForSingleObject(controlSeen, 60000);  // this process's own share of the event
}

}  // namespace
