// The Windows console back end: the game's own 80x25 console screen, its keys and the multimedia clock.
#pragma once

#include <windows.h>

#include "console/console_backend.hpp"
#include "console/windows/console_input.hpp"
#include "console/windows/console_screen.hpp"

// Runs the game in the console window it was started from. The game draws on a screen buffer
// of its own, 80x25, made active for the session; the buffer, code page, input mode and
// cursor the player had come back when the back end ends or the window gets Ctrl+C.
class WindowsBackend final : public ConsoleBackend {
 public:
  WindowsBackend();
  ~WindowsBackend() override;
  WindowsBackend(const WindowsBackend&) = delete;
  WindowsBackend& operator=(const WindowsBackend&) = delete;

  void present(const ScreenGrid& grid, const CursorState& cursor) override { screen_.present(grid, cursor); }
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
  UINT player_code_page_;
  DWORD player_output_mode_;
  DWORD player_input_mode_;
  HANDLE game_output_;    // the game's own buffer, or the player's when none could be made
  ConsoleScreen screen_;
  ConsoleInput input_;
};

// Makes `output` an 80x25 buffer with an 80x25 window where the console allows it.
void SizeScreenBuffer(HANDLE output);
