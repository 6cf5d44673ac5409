// The Windows console back end: the game's own 80x25 console screen, its keys and the multimedia clock.
#pragma once

#include <windows.h>

#include "console/console_backend.hpp"
#include "console/windows/console_input.hpp"
#include "console/windows/console_screen.hpp"

// Runs the game in the console window it was started from. The game draws on a screen buffer
// of its own, 80x25, made active for the session (or on the player's own buffer where the
// console allows no second one, or `own_buffer` is false); the buffer, its size, code pages,
// modes, cursor and timer resolution the player had come back when the back end ends, on
// Ctrl+C or Ctrl+Break, and when the window closes or the system logs off or shuts down.
class WindowsBackend final : public ConsoleBackend {
 public:
  explicit WindowsBackend(bool own_buffer = true);
  ~WindowsBackend() override;
  WindowsBackend(const WindowsBackend&) = delete;
  WindowsBackend& operator=(const WindowsBackend&) = delete;

  void present(const ScreenGrid& grid, const CursorState& cursor) override;
  void drain_input(InputState& state) override { input_.drain(state); }
  std::int32_t read_joystick(std::uint32_t code) override;
  bool key_waiting() override { return input_.key_waiting(); }
  int read_key() override { return input_.read_key(); }
  std::uint32_t now_ms() override;
  void sleep_until(std::uint32_t deadline) override;
  void wait_for_input(std::uint32_t deadline) override;

 private:
  HANDLE player_output_;  // the buffer the window showed before the game
  HANDLE input_handle_;
  ConsoleScreen screen_;
  ConsoleInput input_;
};
