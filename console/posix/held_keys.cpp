// Held keys from presses alone, with a grace window that bridges auto-repeat.
#include "console/posix/held_keys.hpp"

void HeldKeys::press(std::uint32_t key, std::uint32_t now, std::uint32_t grace) {
  Key& k = keys_[key & 255];
  k.last_press = now;
  k.grace = grace;
  k.released = false;
  k.fresh = true;
  k.down = true;
}

void HeldKeys::release(std::uint32_t key) { keys_[key & 255].released = true; }

void HeldKeys::apply(InputState& state, std::uint32_t now) {
  for (std::uint32_t code = 0; code < keys_.size(); ++code) {
    Key& k = keys_[code];
    if (!k.down) continue;
    k.down = k.fresh || (!k.released && now - k.last_press < k.grace);
    k.fresh = false;
    state.set(code, k.down);
  }
}
