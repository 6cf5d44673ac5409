// What a platform gives the console: a real screen to show the grid on, keys, and a clock.
#pragma once

#include <cstdint>

#include "console/input_state.hpp"
#include "console/screen_grid.hpp"

struct CursorState {
  int column = 1;
  int row = 1;
  bool visible = true;
  unsigned size = 8;
};

// Times are milliseconds on the platform's clock; they wrap like timeGetTime, so compare
// them with TimeReached rather than with <.
inline bool TimeReached(std::uint32_t now, std::uint32_t deadline) {
  return static_cast<std::int32_t>(now - deadline) >= 0;
}

class ConsoleBackend {
 public:
  virtual ~ConsoleBackend() = default;

  // Makes the real screen show `grid` and the cursor; only what changed needs to go out.
  virtual void present(const ScreenGrid& grid, const CursorState& cursor) = 0;

  // Held keys: applies every input event that has arrived since the last call.
  virtual void drain_input(InputState& state) = 0;
  // A joystick query (INPUT_JOY*): the raw reading, or -1 when there is no joystick.
  virtual std::int32_t read_joystick(std::uint32_t /*code*/) { return -1; }

  // Typed characters: whether a byte is waiting, and the next byte (only when one is waiting).
  // Extended keys arrive as kExtendedKeyPrefix (or 0) followed by a second byte.
  virtual bool key_waiting() = 0;
  virtual int read_key() = 0;

  virtual std::uint32_t now_ms() = 0;
  // Sleeps until the deadline without reading input.
  virtual void sleep_until(std::uint32_t deadline) = 0;
  // Sleeps until input arrives or the deadline passes, whichever comes first.
  virtual void wait_for_input(std::uint32_t deadline) = 0;

  // False once no more input can come (the script of a test has run out, standard input
  // has closed); the game's input loops then end the session.
  virtual bool running() { return true; }
};
