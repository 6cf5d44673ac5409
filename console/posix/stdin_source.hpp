// The terminal's input as the game reads it: standard input, the session's wake-up signal for
// redraws, and the monotonic clock in milliseconds.
#pragma once

#include "console/posix/terminal_input.hpp"

class StdinSource final : public InputSource {
 public:
  std::uint32_t now_ms() override;
  Ready wait_until(std::uint32_t deadline, bool bytes, bool wake) override;
  long read(char* buffer, std::size_t size) override;
};
