// Decoding of terminal input: plain bytes, CSI and SS3 sequences, strings and mouse reports.
#include "console/posix/key_decoder.hpp"

#include <algorithm>

#include "console/input_state.hpp"

namespace {

constexpr unsigned char kEsc = 27;
constexpr unsigned char kBell = 7;
// Longer than any key a terminal sends: a sequence that grows past this is junk; the rest of
// it is skipped up to its final byte. Strings (terminal answers) may be longer.
constexpr std::size_t kLongestSequence = 64;
constexpr std::size_t kLongestString = 1024;

TerminalKey Extended(std::uint8_t code, std::uint32_t virtualKey) {
  return {{static_cast<std::uint8_t>(kExtendedKeyPrefix), code}, 2, virtualKey};
}

TerminalKey Unknown() { return Extended(kExtendedUnknown, 0); }

// The virtual key a plain byte holds down, as the letter and digit keys of a keyboard do.
std::uint32_t VirtualKeyOf(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
  if ((byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == ' ') return byte;
  if (byte == 8 || byte == 13 || byte == kEsc) return byte;
  return 0;
}

TerminalKey Plain(unsigned char byte) {
  if (byte == 127) byte = 8;  // Backspace, whichever byte the terminal sends for it
  if (byte == '\n') byte = 13;
  return {{byte, 0}, 1, VirtualKeyOf(byte)};
}

std::optional<TerminalKey> ArrowOf(char final) {
  switch (final) {
    case 'A': return Extended(kExtendedUp, kKeyUp);
    case 'B': return Extended(kExtendedDown, kKeyDown);
    case 'C': return Extended(kExtendedRight, kKeyRight);
    case 'D': return Extended(kExtendedLeft, kKeyLeft);
    default: return std::nullopt;
  }
}

bool IsStringIntroducer(char c) { return c == ']' || c == 'P' || c == '_' || c == '^' || c == 'X'; }
bool IsCsiParameterOrIntermediate(unsigned char c) { return c >= 0x20 && c <= 0x3F; }
bool IsCsiFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

// Parses "row;column" of a cursor report; false when it is not one.
bool ParseReport(std::string_view body, CursorReport& report) {
  int values[2] = {0, 0};
  int index = 0;
  bool digits = false;
  for (char c : body) {
    if (c == ';' && index == 0 && digits) {
      index = 1;
      digits = false;
    } else if (c >= '0' && c <= '9' && values[index] < 100000) {
      values[index] = values[index] * 10 + (c - '0');
      digits = true;
    } else {
      return false;
    }
  }
  if (index != 1 || !digits) return false;
  report = {values[0], values[1]};
  return true;
}

}  // namespace

void KeyDecoder::feed(std::string_view bytes, std::uint32_t now, std::deque<TerminalKey>& out) {
  for (char c : bytes) feed_byte(static_cast<unsigned char>(c), out);
  if (!bytes.empty()) last_byte_at_ = now;
}

void KeyDecoder::flush_if_stale(std::uint32_t now, std::deque<TerminalKey>& out) {
  if (sequence_.empty() || now - last_byte_at_ < kEscapeTimeoutMs) return;
  out.push_back(sequence_.size() == 1 ? Plain(kEsc) : Unknown());
  sequence_.clear();
}

std::optional<CursorReport> KeyDecoder::take_cursor_report() {
  auto report = cursor_report_;
  cursor_report_.reset();
  return report;
}

std::optional<int> KeyDecoder::take_keyboard_flags() {
  auto flags = keyboard_flags_;
  keyboard_flags_.reset();
  return flags;
}

bool KeyDecoder::take_device_attributes() {
  const bool seen = device_attributes_;
  device_attributes_ = false;
  return seen;
}

void KeyDecoder::feed_byte(unsigned char byte, std::deque<TerminalKey>& out) {
  if (skipping_overlong_) {
    if (IsCsiParameterOrIntermediate(byte)) return;
    skipping_overlong_ = false;
    if (IsCsiFinal(byte)) return;
  }
  if (sequence_.empty()) {
    if (byte == kEsc)
      sequence_.push_back(static_cast<char>(kEsc));
    else
      out.push_back(Plain(byte));
    return;
  }
  const bool mouseReport = sequence_.compare(0, 3, "\x1b[M") == 0;
  const bool inCsi = sequence_.size() >= 2 && sequence_[1] == '[' && !mouseReport;
  const bool inString = sequence_.size() >= 2 && IsStringIntroducer(sequence_[1]);
  // A byte that cannot continue the sequence ends it as an unknown key and starts afresh.
  const bool breaksSequence = (sequence_.size() == 1 && byte == kEsc) ||
                              (inCsi && !IsCsiParameterOrIntermediate(byte) && !IsCsiFinal(byte)) ||
                              (!inString && !mouseReport && sequence_.size() >= 2 && byte == kEsc);
  if (breaksSequence) {
    out.push_back(sequence_.size() == 1 ? Plain(kEsc) : Unknown());
    sequence_.clear();
    feed_byte(byte, out);
    return;
  }
  sequence_ += static_cast<char>(byte);
  if (sequence_complete()) {
    finish_sequence(out);
  } else if (sequence_.size() >= (inString ? kLongestString : kLongestSequence)) {
    out.push_back(Unknown());
    skipping_overlong_ = inCsi;
    sequence_.clear();
  }
}

bool KeyDecoder::sequence_complete() const {
  const std::size_t size = sequence_.size();
  const char kind = sequence_[1];
  const auto last = static_cast<unsigned char>(sequence_.back());
  if (kind == '[') {
    if (sequence_.compare(0, 3, "\x1b[M") == 0) return size == 6;  // X10 mouse: three raw bytes
    return size >= 3 && IsCsiFinal(last);
  }
  if (kind == 'O') return size == 3;
  if (IsStringIntroducer(kind))
    return last == kBell || (size >= 4 && last == '\\' && sequence_[size - 2] == '\x1b');
  return true;  // ESC and any other byte: Alt with a key
}

void KeyDecoder::finish_sequence(std::deque<TerminalKey>& out) {
  const std::string_view seq = sequence_;
  const char final = seq.back();
  std::optional<TerminalKey> key;
  if (seq[1] == 'O' && seq.size() == 3) {
    key = ArrowOf(final);
  } else if (seq[1] == '[' && seq.size() >= 3 && seq[2] != 'M') {
    const std::string_view body = seq.substr(2, seq.size() - 3);
    const bool marked = !body.empty() && body[0] == '?';
    CursorReport report;
    if (final == 'R' && (marked || expect_plain_reports_) &&
        ParseReport(body.substr(marked ? 1 : 0), report)) {
      cursor_report_ = report;
      sequence_.clear();
      return;
    }
    if (final == 'c' && marked) {
      device_attributes_ = true;
      sequence_.clear();
      return;
    }
    if (final == 'u' && marked && body.size() > 1 &&
        body.find_first_not_of("0123456789", 1) == std::string_view::npos) {
      int flags = 0;
      for (char c : body.substr(1)) flags = std::min(flags * 10 + (c - '0'), 1 << 16);
      keyboard_flags_ = flags;
      sequence_.clear();
      return;
    }
    // Arrows may carry modifiers and an event type ("1;2A", "1;1:3A" for a release);
    // anything else in front makes it another key.
    const std::size_t colon = body.find(':');
    const bool release = colon != std::string_view::npos && body.substr(colon) == ":3";
    const std::string_view plain = body.substr(0, colon);
    if (plain.find_first_not_of("0123456789;") == std::string_view::npos) key = ArrowOf(final);
    if (release) {
      // A release types nothing; only the arrows' releases matter to the held keys.
      if (key) out.push_back({{0, 0}, 0, key->virtual_key, true});
      sequence_.clear();
      return;
    }
  }
  out.push_back(key.value_or(Unknown()));
  sequence_.clear();
}
