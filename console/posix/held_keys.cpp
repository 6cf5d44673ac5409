// Held keys: reported presses and releases as they come, presses alone through PressOnlyKeys.
#include "console/posix/held_keys.hpp"

void HeldKeys::add(const TerminalKey& key) {
  const std::uint32_t code = key.virtual_key;
  if (code == 0 || code > 255) return;
  if (!key.reported) {
    if (!key.released) press_only_.press(code, key.at);
    return;
  }
  auto& since = reported_down_since_[code];
  if (key.released) {
    if (since) events_.push_back({code, false});
    since.reset();
  } else if (since) {
    since = key.at;            // auto-repeat: still held
  } else if (!key.repeated) {  // a repeat of a key that is up belongs to a press let go already
    since = key.at;
    events_.push_back({code, true});
  }
}

void HeldKeys::drain(InputState& state, std::uint32_t now) {
  press_only_.advance(now, events_);
  for (std::uint32_t code = 0; code < reported_down_since_.size(); ++code) {
    auto& since = reported_down_since_[code];
    if (since && now - *since >= kReleaseLostMs) {
      events_.push_back({code, false});
      since.reset();
    }
  }
  for (const KeyEvent& e : events_) state.set(e.key, e.down);
  events_.clear();
  press_only_.drained();
}
