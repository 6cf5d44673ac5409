// The Windows console back end: the game's console screen and keys over the session, and the multimedia clock.
#include "console/windows/windows_backend.hpp"

#include <mmsystem.h>

#include "console/platform.hpp"
#include "console/windows/console_session.hpp"

namespace {

// The console's own input queue or active screen buffer, also when the standard handles are
// redirected.
HANDLE OpenConsole(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

}  // namespace

WindowsBackend::WindowsBackend(bool own_buffer)
    : player_output_(OpenConsole(L"CONOUT$")),
      input_handle_(OpenConsole(L"CONIN$")),
      screen_(BeginConsoleSession(input_handle_, player_output_, own_buffer)),
      input_(input_handle_) {}

WindowsBackend::~WindowsBackend() {
  EndConsoleSession();
  for (HANDLE handle : {player_output_, input_handle_})
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

void WindowsBackend::present(const ScreenGrid& grid, const CursorState& cursor) {
  PresentInSession(screen_, grid, cursor);
}

std::int32_t WindowsBackend::read_joystick(std::uint32_t code) {
  const UINT joystick = code < INPUT_JOY2_X ? JOYSTICKID1 : JOYSTICKID2;
  JOYINFO info{};
  if (joyGetPos(joystick, &info) != JOYERR_NOERROR) return -1;
  switch (code % 8) {
    case 0:
      return static_cast<std::int32_t>(info.wXpos);
    case 1:
      return static_cast<std::int32_t>(info.wYpos);
    case 2:
      return static_cast<std::int32_t>(info.wZpos);
    default:
      return static_cast<std::int32_t>(info.wButtons);
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
