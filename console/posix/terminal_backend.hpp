// The game's console on a POSIX terminal: the screen model drawn with escape sequences, keys
// read from standard input, and the monotonic clock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/console_backend.hpp"
#include "console/posix/key_decoder.hpp"
#include "console/posix/stdin_source.hpp"
#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_renderer.hpp"
#include "console/posix/terminal_session.hpp"

class TerminalBackend final : public ConsoleBackend {
 public:
  // Takes over the terminal, asks a window too small for the screen to grow, and asks the
  // terminal how wide it draws ambiguous characters.
  TerminalBackend();
  // Gives the terminal back as it was.
  ~TerminalBackend() override;
  TerminalBackend(const TerminalBackend&) = delete;
  TerminalBackend& operator=(const TerminalBackend&) = delete;

  void present(const ScreenGrid& grid, const CursorState& cursor) override;
  void drain_input(InputState& state) override;
  bool key_waiting() override;
  int read_key() override;
  std::uint32_t now_ms() override;
  void sleep_until(std::uint32_t deadline) override;
  void wait_for_input(std::uint32_t deadline) override;
  bool running() override { return !input_.closed() && !terminal_gone_; }

 private:
  struct Answers {
    std::optional<CursorReport> cursor;
    std::optional<int> keyboard_flags;
    std::optional<int> win32_input_state;
  };
  void ask_terminal();
  void ask_for_key_events(terminal_session::KeyEvents form);
  Answers ask(std::string_view questions, std::uint32_t deadline);
  void fit_window();
  void show_too_small();
  void write_frame();

  StdinSource source_;
  TerminalInput input_{source_};
  TerminalRenderer renderer_;
  std::string frame_;
  // The game's screen as last presented, shown or not: drawn again when a resize or resume
  // interrupts a wait.
  ScreenGrid model_;
  CursorState model_cursor_;
  terminal_session::Size size_;
  bool too_small_ = false;
  bool terminal_gone_ = false;  // output can no longer reach the terminal
};
