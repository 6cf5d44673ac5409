// The Windows console back end: sets up the game's console screen, restores the player's, keeps time.
#include "console/windows/windows_backend.hpp"

#include <mmsystem.h>

#include <algorithm>

#include "console/platform.hpp"

namespace {

// The code page in which the console gives every double-byte character two columns.
constexpr UINT kJapaneseCodePage = 932;

// The buffer the window showed before the game, for the Ctrl+C and close handler.
HANDLE restoreOnSignal = INVALID_HANDLE_VALUE;

BOOL WINAPI RestoreBeforeExit(DWORD) {
  if (restoreOnSignal != INVALID_HANDLE_VALUE) SetConsoleActiveScreenBuffer(restoreOnSignal);
  return FALSE;  // the default handler ends the process
}

// The console's own input queue or active screen buffer, also when the standard handles are
// redirected.
HANDLE OpenConsole(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD ConsoleMode(HANDLE handle) {
  DWORD mode = 0;
  GetConsoleMode(handle, &mode);
  return mode;
}

// Sets the console up for the game's screen and returns the buffer to draw on: a new one,
// made active, or the player's own when the console allows no second buffer.
HANDLE OpenGameScreen(HANDLE player_output) {
  SetConsoleOutputCP(kJapaneseCodePage);
  HANDLE buffer = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (buffer != INVALID_HANDLE_VALUE && !SetConsoleActiveScreenBuffer(buffer)) {
    CloseHandle(buffer);
    buffer = INVALID_HANDLE_VALUE;
  }
  if (buffer == INVALID_HANDLE_VALUE) buffer = player_output;
  SizeScreenBuffer(buffer);
  SetConsoleMode(buffer, 0);  // no wrap at the last column, so row 25 never scrolls
  return buffer;
}

}  // namespace

void SizeScreenBuffer(HANDLE output) {
  const SHORT columns = ScreenGrid::kColumns;
  const SHORT rows = ScreenGrid::kRows;
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return;
  // The window must fit inside the buffer at every step: shrink it first, then size both.
  SMALL_RECT window = info.srWindow;
  window.Right = static_cast<SHORT>(window.Left + std::min<SHORT>(columns, window.Right - window.Left + 1) - 1);
  window.Bottom = static_cast<SHORT>(window.Top + std::min<SHORT>(rows, window.Bottom - window.Top + 1) - 1);
  SetConsoleWindowInfo(output, TRUE, &window);
  SetConsoleScreenBufferSize(output, COORD{columns, rows});
  const SMALL_RECT whole{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
  SetConsoleWindowInfo(output, TRUE, &whole);
}

WindowsBackend::WindowsBackend()
    : player_output_(OpenConsole(L"CONOUT$")),
      input_handle_(OpenConsole(L"CONIN$")),
      player_code_page_(GetConsoleOutputCP()),
      player_output_mode_(ConsoleMode(player_output_)),
      player_input_mode_(ConsoleMode(input_handle_)),
      game_output_(OpenGameScreen(player_output_)),
      screen_(game_output_),
      input_(input_handle_) {
  timeBeginPeriod(1);  // every wait is on the millisecond clock; kept for the whole session
  // Ctrl+C still ends the game; mouse events come in; quick-edit selection stays off.
  SetConsoleMode(input_handle_, ENABLE_PROCESSED_INPUT | ENABLE_MOUSE_INPUT | ENABLE_EXTENDED_FLAGS);
  if (game_output_ != player_output_) {
    restoreOnSignal = player_output_;
    SetConsoleCtrlHandler(RestoreBeforeExit, TRUE);
  }
}

WindowsBackend::~WindowsBackend() {
  SetConsoleMode(input_handle_, player_input_mode_);
  SetConsoleMode(player_output_, player_output_mode_);
  SetConsoleOutputCP(player_code_page_);
  if (game_output_ != player_output_) {
    SetConsoleActiveScreenBuffer(player_output_);
    SetConsoleCtrlHandler(RestoreBeforeExit, FALSE);
    restoreOnSignal = INVALID_HANDLE_VALUE;
    CloseHandle(game_output_);
  }
  for (HANDLE handle : {player_output_, input_handle_})
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

std::int32_t WindowsBackend::read_joystick(std::uint32_t code) {
  const UINT joystick = code < INPUT_JOY2_X ? JOYSTICKID1 : JOYSTICKID2;
  JOYINFO info{};
  if (joyGetPos(joystick, &info) != JOYERR_NOERROR) return -1;
  switch (code % 8) {
    case 0: return static_cast<std::int32_t>(info.wXpos);
    case 1: return static_cast<std::int32_t>(info.wYpos);
    case 2: return static_cast<std::int32_t>(info.wZpos);
    default: return static_cast<std::int32_t>(info.wButtons);
  }
}

std::uint32_t WindowsBackend::now_ms() { return timeGetTime(); }

void WindowsBackend::sleep_until(std::uint32_t deadline) {
  for (std::uint32_t now = now_ms(); !TimeReached(now, deadline); now = now_ms()) Sleep(deadline - now);
}

void WindowsBackend::wait_for_input(std::uint32_t deadline) {
  const std::uint32_t now = now_ms();
  if (TimeReached(now, deadline)) return;
  // A handle that cannot be waited on (no console) must not turn the wait into a spin.
  if (WaitForSingleObject(input_handle_, deadline - now) == WAIT_FAILED) sleep_until(deadline);
}

std::unique_ptr<ConsoleBackend> CreatePlatformBackend() { return std::make_unique<WindowsBackend>(); }
