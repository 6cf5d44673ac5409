// Terminal input: reading and stamping bytes, held keys and typed characters from them.
#include "console/posix/terminal_input.hpp"

#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "console/console_backend.hpp"

namespace {

// The signal that Ctrl+C, Ctrl+Z and Ctrl+\ raise; a terminal that reports them as key events
// no longer lets the terminal driver raise it.
int SignalOf(const TerminalKey& key) {
  if (!key.reported || key.released || key.byte_count != 1) return 0;
  switch (key.bytes[0]) {
    case 3:
      return SIGINT;
    case 26:
      return SIGTSTP;
    case 28:
      return SIGQUIT;
    default:
      return 0;
  }
}

// Sends the signal of Ctrl+C or Ctrl+\ to the terminal's foreground job, as the terminal does when
// it reads them itself: a script or any other wrapper that does not exec ends with the game. Ctrl+Z
// goes to the game alone, whose stop handler gives the terminal back and then stops the whole job.
// Without a terminal, to the game alone.
void SignalForegroundJob(int sig) {
  const pid_t job = sig != SIGTSTP ? tcgetpgrp(STDIN_FILENO) : -1;
  if (job > 0 && kill(-job, sig) == 0) return;
  std::raise(sig);
}

}  // namespace

void TerminalInput::read_available() {
  char buffer[4096];
  while (!closed_) {
    const long n = source_.read(buffer, sizeof buffer);
    if (n < 0) break;
    if (n == 0) {
      closed_ = true;  // end of input or the terminal hung up
      break;
    }
    const std::size_t decoded = keys_.size();
    decoder_.feed({buffer, static_cast<std::size_t>(n)}, source_.now_ms(), keys_);
    for (std::size_t i = decoded; i < keys_.size(); ++i)
      if (const int sig = SignalOf(keys_[i])) SignalForegroundJob(sig);
  }
  decoder_.flush_if_stale(source_.now_ms(), keys_);
}

void TerminalInput::drain(InputState& state) {
  read_available();
  for (const TerminalKey& key : keys_) held_.add(key);
  keys_.clear();  // polling empties the whole queue, typed bytes included
  key_bytes_read_ = 0;
  held_.drain(state, source_.now_ms());
}

// Releases and lone modifier keys type nothing: the typed-character input passes over them,
// and they still reach the held keys.
void TerminalInput::skip_silent_keys() {
  while (!keys_.empty() && keys_.front().byte_count == 0) {
    held_.add(keys_.front());
    keys_.pop_front();
  }
}

bool TerminalInput::key_waiting() {
  read_available();
  skip_silent_keys();
  return !keys_.empty();
}

int TerminalInput::read_key() {
  skip_silent_keys();
  if (keys_.empty()) return 0;
  const TerminalKey& key = keys_.front();
  const int byte = key.bytes[key_bytes_read_++];
  if (key_bytes_read_ >= key.byte_count) {
    keys_.pop_front();
    key_bytes_read_ = 0;
  }
  return byte;
}

void TerminalInput::sleep_until(std::uint32_t deadline) {
  while (!TimeReached(source_.now_ms(), deadline)) wait_for_bytes(deadline);
}

void TerminalInput::wait_for_bytes(std::uint32_t deadline) {
  if (source_.wait_until(deadline, !closed_, false) == InputSource::Ready::Bytes) read_available();
}

bool TerminalInput::wait_for_input(std::uint32_t deadline) {
  read_available();
  if (!keys_.empty() || closed_) return false;
  // A sequence cut short must be finished by its timeout even if no more bytes come.
  if (const auto stale = decoder_.stale_at(); stale && TimeReached(deadline, *stale)) deadline = *stale;
  switch (source_.wait_until(deadline, true, true)) {
    case InputSource::Ready::Woken:
      return true;
    case InputSource::Ready::Bytes:
      read_available();
      break;
    case InputSource::Ready::Timeout:
      break;
  }
  return false;
}
