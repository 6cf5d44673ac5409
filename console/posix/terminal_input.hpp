// The terminal's keys: bytes read as they arrive (also while the game waits), stamped with
// their arrival time, decoded, and answered as held keys and typed characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "console/input_state.hpp"
#include "console/posix/held_keys.hpp"
#include "console/posix/key_decoder.hpp"

// Where the terminal's bytes come from, and the clock they are stamped with.
class InputSource {
 public:
  enum class Ready { Timeout, Bytes, Woken };
  virtual ~InputSource() = default;
  virtual std::uint32_t now_ms() = 0;
  // Waits until the clock reaches `deadline`, or until bytes can be read (when `bytes`), or
  // until a signal asks for a redraw (when `wake`).
  virtual Ready wait_until(std::uint32_t deadline, bool bytes, bool wake) = 0;
  // Reads waiting bytes without blocking: their count, 0 once input has ended, -1 when none
  // are waiting.
  virtual long read(char* buffer, std::size_t size) = 0;
};

class TerminalInput {
 public:
  explicit TerminalInput(InputSource& source) : source_(source) {}

  // Decodes the keys (told how the terminal reports them) and the terminal's answers.
  KeyDecoder& decoder() { return decoder_; }
  bool closed() const { return closed_; }

  // Held keys: applies everything that has arrived; typed bytes not read yet are dropped.
  void drain(InputState& state);
  // Typed characters, as the console's character input gives them.
  bool key_waiting();
  int read_key();

  // Waits until `deadline`, reading keys as they arrive.
  void sleep_until(std::uint32_t deadline);
  // Waits until a key arrives or `deadline`; true when a signal asked for a redraw instead.
  bool wait_for_input(std::uint32_t deadline);
  // Waits until bytes arrive or `deadline`, and reads them.
  void wait_for_bytes(std::uint32_t deadline);
  // Reads the bytes waiting now: Ctrl+C, Ctrl+\ and Ctrl+Z sent as key events act at once.
  void read_available();

 private:
  void skip_silent_keys();

  InputSource& source_;
  KeyDecoder decoder_;
  std::deque<TerminalKey> keys_;
  std::size_t key_bytes_read_ = 0;  // bytes of keys_.front() already taken by read_key
  HeldKeys held_;
  bool closed_ = false;
};
