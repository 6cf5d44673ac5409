// Keys from the Windows console input queue: held keys for poll_input, typed bytes for names.
#pragma once

#include <windows.h>

#include <deque>
#include <vector>

#include "console/input_state.hpp"

// Applies one console input record to the held-key table: a key event writes its own key's
// bit (codes above 255 are skipped whole), then shift, control and alt from its modifier
// state; a mouse event records the cell and the three buttons; other events are dropped.
void ApplyInputRecord(const INPUT_RECORD& record, InputState& state);

// The console input queue, shared by the held-key table and the typed-character input.
// Records that the typed-character input takes out of the queue (key releases, the key
// presses it turns into bytes) are still applied to the held-key table at the next drain, so
// no key stays held because its release was read while a name was being typed.
class ConsoleInput {
 public:
  // `input` is a console input handle; an invalid one leaves the table as it is.
  explicit ConsoleInput(HANDLE input) : input_(input) {}

  // Applies every waiting record, in order, to `state`.
  void drain(InputState& state);

  // Whether a typed byte is waiting; key events that type nothing are taken out on the way.
  bool key_waiting();
  // The next typed byte: a character as UTF-8 bytes, a key without a character (arrows,
  // function keys) as a prefix (kExtendedKeyPrefix or 0) and its scan code. 0 when none waits.
  int read_key();

 private:
  DWORD waiting_count();
  bool next_record(INPUT_RECORD& record);

  HANDLE input_;
  std::vector<INPUT_RECORD> taken_;  // read by the typed-character input, not yet drained
  std::deque<unsigned char> typed_;  // bytes of a key already read, not yet asked for
};
