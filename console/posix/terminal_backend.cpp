// The terminal back end: frames out through one write, keys in through the decoder, time from
// the monotonic clock.
#include "console/posix/terminal_backend.hpp"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>

#include "console/posix/terminal_session.hpp"
#include "console/posix/too_small_notice.hpp"

namespace {

// How long a terminal may take to answer the width question before it counts as silent.
constexpr int kProbeTimeoutMs = 150;
// How long a terminal asked to grow its window may take to do it before the game goes on.
constexpr std::uint32_t kResizeWaitMs = 250;

std::uint64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u + static_cast<std::uint64_t>(ts.tv_nsec);
}

timespec ToTimespec(std::uint64_t ns) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(ns / 1000000000u);
  ts.tv_nsec = static_cast<long>(ns % 1000000000u);
  return ts;
}

// Milliseconds from now until `deadline` on the wrapping clock; 0 when it has passed.
std::uint32_t MsUntil(std::uint32_t now, std::uint32_t deadline) {
  return TimeReached(now, deadline) ? 0 : deadline - now;
}

// Whether the game's screen fits the window; a size that cannot be asked counts as fitting.
bool Fits(terminal_session::Size size) {
  return size.columns == 0 || (size.columns >= ScreenGrid::kColumns && size.rows >= ScreenGrid::kRows);
}

}  // namespace

TerminalBackend::TerminalBackend() {
  terminal_session::Enter();
  fit_window();
  ask_terminal();
}

TerminalBackend::~TerminalBackend() { terminal_session::Leave(); }

// Prints one ambiguous character at the top left and asks where the cursor went, and
// whether the terminal can report key releases. The device attributes request at the end is
// answered by every terminal, so one that ignores the other questions is found out without
// waiting for the timeout. A terminal that ignores the marked cursor question is asked the
// plain one (tmux and the Linux console know only that one).
void TerminalBackend::ask_terminal() {
  static constexpr std::string_view kMarkedQuestion = "\x1b[1;1H\xe2\x94\x81\x1b[?6n\x1b[?u\x1b[c";
  static constexpr std::string_view kPlainQuestion = "\x1b[1;1H\xe2\x94\x81\x1b[6n\x1b[c";
  const std::uint32_t deadline = now_ms() + kProbeTimeoutMs;
  Answers answers = ask(kMarkedQuestion, deadline);
  if (!answers.cursor && !TimeReached(now_ms(), deadline)) {
    decoder_.expect_plain_reports(true);
    answers.cursor = ask(kPlainQuestion, deadline).cursor;
    decoder_.expect_plain_reports(false);
  }
  AmbiguousWidth width = AmbiguousWidth::Unknown;
  if (answers.cursor && answers.cursor->column == 2) width = AmbiguousWidth::Narrow;
  if (answers.cursor && answers.cursor->column == 3) width = AmbiguousWidth::Wide;
  renderer_.set_ambiguous_width(width);
  if (answers.keyboard_flags) ask_for_key_releases();
}

// Switches on the reporting of key releases, and checks that the terminal took it.
void TerminalBackend::ask_for_key_releases() {
  static constexpr std::string_view kSwitchOn = "\x1b[>2u\x1b[?u\x1b[c";
  static constexpr std::string_view kSwitchOff = "\x1b[<u";
  const auto flags = ask(kSwitchOn, now_ms() + kProbeTimeoutMs).keyboard_flags;
  releases_reported_ = flags && (*flags & 2) != 0;
  if (releases_reported_)
    terminal_session::KeepKeyReleases();
  else
    terminal_session::WriteAll(kSwitchOff.data(), kSwitchOff.size());
}

// Writes the questions and reads answers until the device attributes or the deadline.
TerminalBackend::Answers TerminalBackend::ask(std::string_view questions, std::uint32_t deadline) {
  terminal_session::WriteAll(questions.data(), questions.size());
  Answers answers;
  while (!input_closed_) {
    const std::uint32_t now = now_ms();
    if (TimeReached(now, deadline)) break;
    if (wait_readable(static_cast<int>(MsUntil(now, deadline)))) read_available();
    if (auto report = decoder_.take_cursor_report()) answers.cursor = report;
    if (auto flags = decoder_.take_keyboard_flags()) answers.keyboard_flags = flags;
    if (decoder_.take_device_attributes()) break;
  }
  return answers;
}

// A window smaller than the screen is asked to grow to it (never to shrink), and given a
// moment to do so; one that ignores the request gets the too-small note.
void TerminalBackend::fit_window() {
  size_ = terminal_session::CurrentSize();
  if (Fits(size_)) {
    renderer_.set_window(size_.columns, size_.rows);
    return;
  }
  terminal_session::AskForSize({std::max(size_.columns, ScreenGrid::kColumns),
                                std::max(size_.rows, ScreenGrid::kRows)});
  const std::uint32_t deadline = now_ms() + kResizeWaitMs;
  while (!Fits(size_) && !TimeReached(now_ms(), deadline)) {
    pollfd wake{terminal_session::WakeFd(), POLLIN, 0};
    poll(&wake, 1, static_cast<int>(MsUntil(now_ms(), deadline)));
    terminal_session::ClearWake();
    size_ = terminal_session::CurrentSize();
  }
  renderer_.set_window(size_.columns, size_.rows);
}

void TerminalBackend::present(const ScreenGrid& grid, const CursorState& cursor) {
  model_ = grid;
  model_cursor_ = cursor;
  const auto changes = terminal_session::TakeChanges();
  if (changes.resized || changes.resumed) {
    renderer_.invalidate();
    too_small_ = false;
    size_ = terminal_session::CurrentSize();
    renderer_.set_window(size_.columns, size_.rows);
  }
  if (!Fits(size_)) {
    if (!too_small_) show_too_small();
    return;
  }
  frame_.clear();
  renderer_.render(grid, cursor, frame_);
  write_frame();
}

void TerminalBackend::show_too_small() {
  frame_.clear();
  AppendTooSmallNotice(size_.columns, size_.rows, frame_);
  write_frame();
  too_small_ = true;
  renderer_.invalidate();
}

// A terminal that can take no more output has gone: what was not shown is drawn in full
// should it ever come back, and the game ends.
void TerminalBackend::write_frame() {
  if (frame_.empty() || terminal_session::WriteAll(frame_.data(), frame_.size())) return;
  renderer_.invalidate();
  terminal_gone_ = true;
}

void TerminalBackend::drain_input(InputState& state) {
  read_available();
  const std::uint32_t now = now_ms();
  for (const TerminalKey& key : keys_) apply_key(key, now);
  keys_.clear();  // polling empties the whole queue, typed bytes included
  key_bytes_read_ = 0;
  held_.apply(state, now);
}

void TerminalBackend::apply_key(const TerminalKey& key, std::uint32_t now) {
  if (key.virtual_key == 0) return;
  if (key.released) {
    held_.release(key.virtual_key);
    return;
  }
  // Arrows on a terminal that reports their release stay down until it comes.
  const bool arrow = key.virtual_key >= kKeyLeft && key.virtual_key <= kKeyDown;
  held_.press(key.virtual_key, now, releases_reported_ && arrow ? kReleaseLostMs : kHeldGraceMs);
}

// Releases type nothing: the typed-character input passes over them, and they still reach
// the held keys.
void TerminalBackend::skip_releases() {
  while (!keys_.empty() && keys_.front().released) {
    apply_key(keys_.front(), now_ms());
    keys_.pop_front();
  }
}

bool TerminalBackend::key_waiting() {
  read_available();
  skip_releases();
  return !keys_.empty();
}

int TerminalBackend::read_key() {
  skip_releases();
  if (keys_.empty()) return 0;
  const TerminalKey& key = keys_.front();
  const int byte = key.bytes[key_bytes_read_++];
  if (key_bytes_read_ >= key.byte_count) {
    keys_.pop_front();
    key_bytes_read_ = 0;
  }
  return byte;
}

std::uint32_t TerminalBackend::now_ms() {
  return static_cast<std::uint32_t>(MonotonicNs() / 1000000u);
}

void TerminalBackend::sleep_until(std::uint32_t deadline) {
  const std::uint64_t nowNs = MonotonicNs();
  const std::uint32_t wait = MsUntil(static_cast<std::uint32_t>(nowNs / 1000000u), deadline);
  if (wait == 0) return;
  // The deadline as an absolute time on the same clock: the start of millisecond `deadline`.
  const timespec until = ToTimespec((nowNs / 1000000u + wait) * 1000000u);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

void TerminalBackend::wait_for_input(std::uint32_t deadline) {
  read_available();
  if (!keys_.empty() || input_closed_) return;
  std::uint32_t wait = MsUntil(now_ms(), deadline);
  // A sequence cut short must be finished by its timeout even if no more bytes come.
  if (decoder_.pending() && wait > kEscapeTimeoutMs) wait = kEscapeTimeoutMs;
  bool woken = false;
  if (wait > 0 && wait_readable(static_cast<int>(wait), &woken)) read_available();
  if (woken) {
    terminal_session::ClearWake();
    present(model_, model_cursor_);
  }
}

bool TerminalBackend::wait_readable(int timeout_ms, bool* woken) {
  pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {terminal_session::WakeFd(), POLLIN, 0}};
  const int ready = poll(fds, fds[1].fd >= 0 ? 2 : 1, timeout_ms);
  if (woken) *woken = ready > 0 && (fds[1].revents & POLLIN) != 0;
  return ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

void TerminalBackend::read_available() {
  char buffer[4096];
  while (!input_closed_ && wait_readable(0)) {
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) break;
    if (n <= 0) {
      input_closed_ = true;  // end of input or the terminal hung up
      break;
    }
    decoder_.feed({buffer, static_cast<std::size_t>(n)}, now_ms(), keys_);
  }
  decoder_.flush_if_stale(now_ms(), keys_);
}
