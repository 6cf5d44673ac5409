// Held keys by virtual-key code, and the query codes that poll_input answers.
#pragma once

#include <array>
#include <cstdint>

// The keys the game asks for (Windows virtual-key codes).
enum VirtualKey : std::uint32_t {
  kKeyEnter = 13,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
};

// Query codes beyond the 256 keys.
enum InputQuery : std::uint32_t {
  INPUT_MOUSE_X = 257,
  INPUT_MOUSE_Y = 258,
  INPUT_JOY1_X = 272,
  INPUT_JOY1_Y = 273,
  INPUT_JOY1_Z = 274,
  INPUT_JOY1_BUTTONS = 279,
  INPUT_JOY2_X = 280,
  INPUT_JOY2_Y = 281,
  INPUT_JOY2_Z = 282,
  INPUT_JOY2_BUTTONS = 287,
};

// Extended keys reach the typed-character input as this prefix byte and a second byte.
inline constexpr int kExtendedKeyPrefix = 224;

struct InputState {
  std::array<std::uint32_t, 8> key_down{};
  std::int16_t mouse_x = -1;
  std::int16_t mouse_y = -1;

  bool held(std::uint32_t key) const { return (key_down[(key & 255) / 32] >> (key % 32)) & 1u; }
  void set(std::uint32_t key, bool down) {
    const std::uint32_t bit = 1u << (key % 32);
    std::uint32_t& word = key_down[(key & 255) / 32];
    word = down ? (word | bit) : (word & ~bit);
  }
};

inline bool IsJoystickQuery(std::uint32_t code) {
  return (code >= INPUT_JOY1_X && code <= INPUT_JOY1_Z) || code == INPUT_JOY1_BUTTONS ||
         (code >= INPUT_JOY2_X && code <= INPUT_JOY2_Z) || code == INPUT_JOY2_BUTTONS;
}
