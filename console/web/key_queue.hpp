// The browser's keys as one queue of key records, read both as held keys and as typed bytes.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "console/input_state.hpp"

// One key-down or key-up event as the page reports it.
struct KeyRecord {
  std::uint32_t key = 0;  // Windows virtual-key code; above 255 changes nothing
  bool down = false;
  char32_t character = 0;  // what the key types, 0 when it types no character
  // A key without a character that still types (arrows, function keys): the prefix byte
  // (kExtendedKeyPrefix or 0) in bits 8-15 and the scan code in bits 0-7; 0 for keys that
  // type nothing at all (shift, control, ...).
  std::uint32_t extended = 0;
  bool shift = false;
  bool control = false;
  bool alt = false;

  bool types() const { return down && (character != 0 || extended != 0); }
};

// Like the console's input queue: poll_input drains every record into the held-key table,
// the typed-character input takes the key presses that type. Records the typed input takes
// out still reach the table at the next drain, so no key stays held because its release was
// read while a name was being typed.
class KeyQueue {
 public:
  void push(const KeyRecord& record) { queue_.push_back(record); }
  bool empty() const { return queue_.empty() && typed_.empty(); }

  // Applies every waiting record, in order, to `state`.
  void drain(InputState& state);
  // Whether a typed byte waits; records that type nothing are set aside on the way.
  bool key_waiting();
  // The next typed byte: a character as UTF-8, a key without one as its prefix and scan
  // code. 0 when none waits.
  int read_key();

 private:
  std::deque<KeyRecord> queue_;
  std::vector<KeyRecord> taken_;     // read by the typed input, not yet drained
  std::deque<unsigned char> typed_;  // bytes of a key already read, not yet asked for
};
