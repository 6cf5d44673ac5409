// Taking the console and the timer over for the game, and putting them back once, from whichever thread ends it.
#include "console/windows/console_session.hpp"

#include <mmsystem.h>

#include <algorithm>
#include <mutex>

namespace {

// The code page in which the console gives every double-byte character two columns.
constexpr UINT kJapaneseCodePage = 932;
// Every wait is on the millisecond clock.
constexpr UINT kTimerPeriodMs = 1;

// What the game changed, as the player had it.
struct PlayerSettings {
  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE output = INVALID_HANDLE_VALUE;
  HANDLE game_output = INVALID_HANDLE_VALUE;
  UINT input_code_page = 0;
  UINT output_code_page = 0;
  DWORD input_mode = 0;
  DWORD output_mode = 0;
  // Kept when the game draws on the player's buffer: it is resized and its cursor hidden.
  bool screen_saved = false;
  CONSOLE_SCREEN_BUFFER_INFO screen{};
  CONSOLE_CURSOR_INFO cursor{};
};

std::mutex sessionMutex;
bool inSession = false;  // guarded by sessionMutex, as is `saved`
PlayerSettings saved;

DWORD ConsoleMode(HANDLE handle) {
  DWORD mode = 0;
  GetConsoleMode(handle, &mode);
  return mode;
}

// Resizes `output`'s buffer and window; the window must fit inside the buffer at every step,
// so it is first shrunk to the top-left corner, then the buffer is sized, then the window.
void FitScreenBuffer(HANDLE output, COORD size, SMALL_RECT window) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return;
  const SHORT columns = std::min<SHORT>(info.srWindow.Right - info.srWindow.Left, window.Right - window.Left);
  const SHORT rows = std::min<SHORT>(info.srWindow.Bottom - info.srWindow.Top, window.Bottom - window.Top);
  const SMALL_RECT corner{0, 0, std::max<SHORT>(columns, 0), std::max<SHORT>(rows, 0)};
  SetConsoleWindowInfo(output, TRUE, &corner);
  SetConsoleScreenBufferSize(output, size);
  SetConsoleWindowInfo(output, TRUE, &window);
}

// The game's own buffer made active, or the player's when none can be had.
HANDLE OpenGameBuffer(HANDLE player_output, bool own_buffer) {
  if (!own_buffer) return player_output;
  HANDLE buffer = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (buffer == INVALID_HANDLE_VALUE) return player_output;
  if (SetConsoleActiveScreenBuffer(buffer)) return buffer;
  CloseHandle(buffer);
  return player_output;
}

void RestorePlayerSettings() {
  std::lock_guard lock(sessionMutex);
  if (!inSession) return;
  inSession = false;
  if (saved.game_output != saved.output) {
    SetConsoleActiveScreenBuffer(saved.output);
    CloseHandle(saved.game_output);
  }
  if (saved.screen_saved) {
    FitScreenBuffer(saved.output, saved.screen.dwSize, saved.screen.srWindow);
    SetConsoleCursorInfo(saved.output, &saved.cursor);
  }
  SetConsoleMode(saved.output, saved.output_mode);
  SetConsoleMode(saved.input, saved.input_mode);
  SetConsoleCP(saved.input_code_page);
  SetConsoleOutputCP(saved.output_code_page);
  timeEndPeriod(kTimerPeriodMs);
}

BOOL WINAPI RestoreOnControl(DWORD) {
  RestorePlayerSettings();
  return FALSE;  // the default handler ends the process
}

}  // namespace

void SizeScreenBuffer(HANDLE output) {
  const SHORT columns = ScreenGrid::kColumns;
  const SHORT rows = ScreenGrid::kRows;
  FitScreenBuffer(output, COORD{columns, rows},
                  SMALL_RECT{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)});
}

HANDLE BeginConsoleSession(HANDLE input, HANDLE player_output, bool own_buffer) {
  std::lock_guard lock(sessionMutex);
  saved = PlayerSettings{input,
                         player_output,
                         INVALID_HANDLE_VALUE,
                         GetConsoleCP(),
                         GetConsoleOutputCP(),
                         ConsoleMode(input),
                         ConsoleMode(player_output)};
  SetConsoleCtrlHandler(RestoreOnControl, TRUE);
  timeBeginPeriod(kTimerPeriodMs);
  SetConsoleOutputCP(kJapaneseCodePage);
  saved.game_output = OpenGameBuffer(player_output, own_buffer);
  if (saved.game_output == player_output)
    saved.screen_saved =
        GetConsoleScreenBufferInfo(player_output, &saved.screen) && GetConsoleCursorInfo(player_output, &saved.cursor);
  SizeScreenBuffer(saved.game_output);
  SetConsoleMode(saved.game_output, 0);  // no wrap at the last column, so row 25 never scrolls
  // Ctrl+C still ends the game; mouse events come in; quick-edit selection stays off.
  SetConsoleMode(input, ENABLE_PROCESSED_INPUT | ENABLE_MOUSE_INPUT | ENABLE_EXTENDED_FLAGS);
  inSession = true;
  return saved.game_output;
}

void EndConsoleSession() {
  RestorePlayerSettings();
  // Taken out only here: the handler's own thread could not take itself out while it runs.
  SetConsoleCtrlHandler(RestoreOnControl, FALSE);
}

void PresentInSession(ConsoleScreen& screen, const ScreenGrid& grid, const CursorState& cursor) {
  std::lock_guard lock(sessionMutex);
  if (inSession) screen.present(grid, cursor);
}
