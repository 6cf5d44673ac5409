// The terminal back end: frames out through one write, keys in through the decoder, time from
// the monotonic clock.
#include "console/posix/terminal_backend.hpp"

#include <algorithm>
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
// whether the terminal can report key events with their releases (kitty keyboard protocol,
// win32-input-mode). The device attributes request at the end is answered by every terminal,
// so one that ignores the other questions is found out without waiting for the timeout. A
// terminal that ignores the marked cursor question is asked the plain one (tmux and the Linux
// console know only that one).
void TerminalBackend::ask_terminal() {
  static constexpr std::string_view kMarkedQuestion = "\x1b[1;1H\xe2\x94\x81\x1b[?6n\x1b[?u\x1b[?9001$p\x1b[c";
  static constexpr std::string_view kPlainQuestion = "\x1b[1;1H\xe2\x94\x81\x1b[6n\x1b[c";
  const std::uint32_t deadline = now_ms() + kProbeTimeoutMs;
  Answers answers = ask(kMarkedQuestion, deadline);
  if (!answers.cursor && !TimeReached(now_ms(), deadline)) {
    input_.decoder().expect_plain_reports(true);
    answers.cursor = ask(kPlainQuestion, deadline).cursor;
    input_.decoder().expect_plain_reports(false);
  }
  AmbiguousWidth width = AmbiguousWidth::Unknown;
  if (answers.cursor && answers.cursor->column == 2) width = AmbiguousWidth::Narrow;
  if (answers.cursor && answers.cursor->column == 3) width = AmbiguousWidth::Wide;
  renderer_.set_ambiguous_width(width);
  // win32-input-mode known to the terminal: on (1) or off (2).
  const bool win32 = answers.win32_input_state == 1 || answers.win32_input_state == 2;
  if (answers.keyboard_flags)
    ask_for_key_events(terminal_session::KeyEvents::Kitty);
  else if (win32)
    ask_for_key_events(terminal_session::KeyEvents::Win32);
}

// Switches on key events with releases, and checks that the terminal took them: kitty's flags
// must include event types (2), win32-input-mode must read as on.
void TerminalBackend::ask_for_key_events(terminal_session::KeyEvents form) {
  const bool kitty = form == terminal_session::KeyEvents::Kitty;
  input_.decoder().set_reporting(kitty ? KeyReporting::KittyEvents : KeyReporting::Win32Records);
  terminal_session::StartKeyEvents(form);
  const std::string_view check = kitty ? "\x1b[?u\x1b[c" : "\x1b[?9001$p\x1b[c";
  const Answers answers = ask(check, now_ms() + kProbeTimeoutMs);
  const bool taken =
      kitty ? answers.keyboard_flags && (*answers.keyboard_flags & 2) != 0 : answers.win32_input_state == 1;
  if (taken) return;
  terminal_session::StopKeyEvents();
  input_.decoder().set_reporting(KeyReporting::PressesOnly);
}

// Writes the questions and reads answers until the device attributes or the deadline.
TerminalBackend::Answers TerminalBackend::ask(std::string_view questions, std::uint32_t deadline) {
  terminal_session::WriteAll(questions.data(), questions.size());
  Answers answers;
  KeyDecoder& decoder = input_.decoder();
  while (!input_.closed() && !TimeReached(now_ms(), deadline)) {
    input_.wait_for_bytes(deadline);
    if (auto report = decoder.take_cursor_report()) answers.cursor = report;
    if (auto flags = decoder.take_keyboard_flags()) answers.keyboard_flags = flags;
    if (auto state = decoder.take_win32_input_state()) answers.win32_input_state = state;
    if (decoder.take_device_attributes()) break;
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
  terminal_session::AskForSize(
      {std::max(size_.columns, ScreenGrid::kColumns), std::max(size_.rows, ScreenGrid::kRows)});
  const std::uint32_t deadline = now_ms() + kResizeWaitMs;
  while (!Fits(size_) && !TimeReached(now_ms(), deadline)) {
    source_.wait_until(deadline, false, true);
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
// should it ever come back, and the game ends. Keys are read while the terminal is slow to take
// a frame, so that Ctrl+C sent as a key event still ends the game.
void TerminalBackend::write_frame() {
  const auto readKeys = [this] {
    input_.read_available();
    return !input_.closed();
  };
  if (frame_.empty() || terminal_session::WriteAll(frame_.data(), frame_.size(), readKeys)) return;
  renderer_.invalidate();
  terminal_gone_ = true;
}

void TerminalBackend::drain_input(InputState& state) { input_.drain(state); }

bool TerminalBackend::key_waiting() { return input_.key_waiting(); }

int TerminalBackend::read_key() { return input_.read_key(); }

std::uint32_t TerminalBackend::now_ms() { return source_.now_ms(); }

void TerminalBackend::sleep_until(std::uint32_t deadline) { input_.sleep_until(deadline); }

void TerminalBackend::wait_for_input(std::uint32_t deadline) {
  if (input_.wait_for_input(deadline)) {
    terminal_session::ClearWake();
    present(model_, model_cursor_);
  }
}
