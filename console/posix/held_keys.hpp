// Held keys from a terminal's key events, answered the way the Windows console answers: every
// key change since the last drain is applied in order, so a press and its release drained
// together read as up.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "console/input_state.hpp"
#include "console/posix/key_decoder.hpp"
#include "console/posix/press_only_keys.hpp"

// How long a key whose release the terminal reports stays down with neither a repeat nor its
// release, in case the release is lost (focus moved away): longer than any auto-repeat delay.
inline constexpr std::uint32_t kReleaseLostMs = 1500;

class HeldKeys {
 public:
  // A key event from the terminal, in the order they arrived. Keys whose release is reported
  // are down from press to release; for the others PressOnlyKeys works out when they are down.
  void add(const TerminalKey& key);
  // Applies every key change up to `now` to `state`.
  void drain(InputState& state, std::uint32_t now);

 private:
  PressOnlyKeys press_only_;
  std::vector<KeyEvent> events_;  // not drained yet
  // For each reported key that is down: its press or latest repeat.
  std::array<std::optional<std::uint32_t>, 256> reported_down_since_{};
};
