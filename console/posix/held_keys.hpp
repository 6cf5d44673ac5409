// Held keys on a terminal that reports presses only: a key is down from its press until a
// poll finds no further press of it within a short grace window.
#pragma once

#include <array>
#include <cstdint>

#include "console/input_state.hpp"

// Longer than the gap between two auto-repeated presses, so a held key reads as one press.
inline constexpr std::uint32_t kHeldGraceMs = 100;
// For keys whose release the terminal reports: how long a key stays down without a repeat
// in case its release is lost (longer than any auto-repeat delay).
inline constexpr std::uint32_t kReleaseLostMs = 1000;

class HeldKeys {
 public:
  // `grace`: how long the key stays down after this press without another one.
  void press(std::uint32_t key, std::uint32_t now, std::uint32_t grace = kHeldGraceMs);
  // The terminal reported the key's release: it is up at the next poll after its press.
  void release(std::uint32_t key);
  // Writes every key this table follows into `state`. A key pressed since the last call
  // reads as down at least once, however long ago the press was.
  void apply(InputState& state, std::uint32_t now);

 private:
  struct Key {
    std::uint32_t last_press = 0;
    std::uint32_t grace = kHeldGraceMs;
    bool released = false;
    bool fresh = false;
    bool down = false;
  };
  std::array<Key, 256> keys_{};
};
