// Decoding of terminal input: plain bytes, CSI and SS3 sequences (kitty key events and win32
// records among them), strings and mouse reports.
#include "console/posix/key_decoder.hpp"

#include <algorithm>
#include <array>
#include <iterator>

#include "console/console_backend.hpp"
#include "console/input_state.hpp"
#include "console/text_width.hpp"

namespace {

constexpr unsigned char kEsc = 27;
constexpr unsigned char kBell = 7;
// Longer than any key a terminal sends: a sequence that grows past this is junk; the rest of
// it is skipped up to its final byte. Strings (terminal answers) may be longer.
constexpr std::size_t kLongestSequence = 64;
constexpr std::size_t kLongestString = 1024;

// The kitty keyboard protocol: modifier bits (sent as 1 + bits), event types, and the codes of
// keys that have no character of their own.
constexpr int kModShift = 1;
constexpr int kModAltCtrlSuper = 2 | 4 | 8;
constexpr int kModCtrl = 4;
constexpr int kModCapsLock = 64;
constexpr int kEventRepeat = 2;
constexpr int kEventRelease = 3;
constexpr std::uint32_t kKittyKeypadEnter = 57414;
constexpr std::uint32_t kKittyKeypadLeft = 57417;  // then right, up, down
constexpr std::uint32_t kKittyFirstFunctional = 57344;
constexpr std::uint32_t kKittyLastFunctional = 63743;
// The win32-input-mode question's mode number.
constexpr int kWin32InputMode = 9001;

TerminalKey Extended(std::uint8_t code, std::uint32_t virtualKey) {
  return {{static_cast<std::uint8_t>(kExtendedKeyPrefix), code}, 2, virtualKey};
}

TerminalKey Unknown() { return Extended(kExtendedUnknown, 0); }

// A key that types nothing: a modifier or lock key on its own.
TerminalKey Silent(std::uint32_t virtualKey) { return {{0, 0}, 0, virtualKey}; }

// The virtual key a plain byte holds down, as the letter and digit keys of a keyboard do.
std::uint32_t VirtualKeyOf(std::uint32_t byte) {
  if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
  if ((byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == ' ') return byte;
  if (byte == 8 || byte == 13 || byte == kEsc) return byte;
  return 0;
}

TerminalKey Plain(unsigned char byte) {
  if (byte == 0) return Unknown();  // Ctrl+Space: a lone 0 would read as an extended key's prefix
  if (byte == 127) byte = 8;        // Backspace, whichever byte the terminal sends for it
  if (byte == '\n') byte = 13;
  return {{byte, 0}, 1, VirtualKeyOf(byte)};
}

std::optional<TerminalKey> ArrowOf(char final) {
  switch (final) {
    case 'A':
      return Extended(kExtendedUp, kKeyUp);
    case 'B':
      return Extended(kExtendedDown, kKeyDown);
    case 'C':
      return Extended(kExtendedRight, kKeyRight);
    case 'D':
      return Extended(kExtendedLeft, kKeyLeft);
    default:
      return std::nullopt;
  }
}

// The arrow of a virtual key (Left, Up, Right, Down are 37 to 40).
std::optional<TerminalKey> ArrowOfVirtualKey(std::uint32_t virtualKey) {
  static constexpr char kFinals[] = {'D', 'A', 'C', 'B'};
  if (virtualKey < kKeyLeft || virtualKey > kKeyDown) return std::nullopt;
  return ArrowOf(kFinals[virtualKey - kKeyLeft]);
}

bool IsStringIntroducer(char c) { return c == ']' || c == 'P' || c == '_' || c == '^' || c == 'X'; }
bool IsCsiParameterOrIntermediate(unsigned char c) { return c >= 0x20 && c <= 0x3F; }
bool IsCsiFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

// The numbers of a CSI body such as "97:65;2:3;65": up to six fields split by ';', each of up
// to three values split by ':'.
struct CsiNumbers {
  std::array<std::array<int, 3>, 6> values;
  int fields = 1;
  bool has_sub_values = false;
  // The value, or `absent` when the terminal left it out.
  int at(int field, int sub, int absent) const {
    const int v = values[static_cast<std::size_t>(field)][static_cast<std::size_t>(sub)];
    return v < 0 ? absent : v;
  }
};

std::optional<CsiNumbers> ParseNumbers(std::string_view body) {
  CsiNumbers n;
  for (auto& field : n.values) field.fill(-1);
  std::size_t field = 0, sub = 0;
  for (char c : body) {
    if (c == ';') {
      if (++field >= n.values.size()) return std::nullopt;
      sub = 0;
      n.fields = static_cast<int>(field) + 1;
    } else if (c == ':') {
      if (++sub >= n.values[0].size()) return std::nullopt;
      n.has_sub_values = true;
    } else if (c >= '0' && c <= '9') {
      int& v = n.values[field][sub];
      v = std::min((v < 0 ? 0 : v) * 10 + (c - '0'), 1 << 24);
    } else {
      return std::nullopt;
    }
  }
  return n;
}

// The key of a kitty key event as a US keyboard names it: a key of a non-Latin layout (Cyrillic
// С, code 1089) by the key in its place (c, 99), which the terminal sends as the base layout key.
std::uint32_t LatinKey(const CsiNumbers& n, std::uint32_t code) {
  return code < 128 ? code : static_cast<std::uint32_t>(n.at(0, 2, static_cast<int>(code)));
}

// The character a kitty key event types when the terminal sends no text with it: the key's own
// character, shifted, or the control character of Ctrl with a letter (on any layout, so that
// Ctrl+C, Ctrl+Z and Ctrl+\ keep their signals); 0 for none.
std::uint32_t KittyText(const CsiNumbers& n, std::uint32_t code, int mods) {
  const std::uint32_t latin = LatinKey(n, code);
  const bool latinLetter = latin >= 'a' && latin <= 'z';
  if ((mods & kModCtrl) && (latinLetter || (latin >= '@' && latin <= '_'))) return latin & 0x1F;
  const bool letter = code >= 'a' && code <= 'z';
  if (mods & kModAltCtrlSuper) return 0;
  const std::uint32_t upper = letter ? code - 32 : code;
  if (mods & kModShift) return static_cast<std::uint32_t>(n.at(0, 1, static_cast<int>(upper)));
  if (mods & kModCapsLock) return upper;
  return code;
}

}  // namespace

void KeyDecoder::feed(std::string_view bytes, std::uint32_t now, std::deque<TerminalKey>& out) {
  now_ = now;
  if (!sequence_.empty()) sequence_split_ = true;
  for (char c : bytes) feed_byte(static_cast<unsigned char>(c), out);
  if (!bytes.empty()) last_byte_at_ = now;
}

void KeyDecoder::flush_if_stale(std::uint32_t now, std::deque<TerminalKey>& out) {
  const auto stale = stale_at();
  if (!stale || !TimeReached(now, *stale)) return;
  now_ = last_byte_at_;
  if (sequence_.size() == 1) lone_escape_at_ = last_byte_at_;
  push(sequence_.size() == 1 ? Plain(kEsc) : Unknown(), out);
  sequence_.clear();
}

std::optional<std::uint32_t> KeyDecoder::stale_at() const {
  if (sequence_.empty()) return std::nullopt;
  return last_byte_at_ + (sequence_.size() == 1 ? kEscapeTimeoutMs : kSequenceTimeoutMs);
}

std::optional<CursorReport> KeyDecoder::take_cursor_report() {
  auto report = cursor_report_;
  cursor_report_.reset();
  return report;
}

std::optional<int> KeyDecoder::take_win32_input_state() {
  auto state = win32_input_state_;
  win32_input_state_.reset();
  return state;
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
    const bool resumes =
        (byte == '[' || byte == 'O') && lone_escape_at_ && now_ - *lone_escape_at_ < kSequenceTimeoutMs;
    lone_escape_at_.reset();
    sequence_split_ = sequence_resumed_ = resumes;
    if (byte == kEsc)
      sequence_.push_back(static_cast<char>(kEsc));
    else if (resumes)
      sequence_ = {static_cast<char>(kEsc), static_cast<char>(byte)};
    else
      push(Plain(byte), out);
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
    push(sequence_.size() == 1 ? Plain(kEsc) : Unknown(), out);
    sequence_.clear();
    feed_byte(byte, out);
    return;
  }
  sequence_ += static_cast<char>(byte);
  if (sequence_complete()) {
    finish_sequence(out);
  } else if (sequence_.size() >= (inString ? kLongestString : kLongestSequence)) {
    push(Unknown(), out);
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
  if (IsStringIntroducer(kind)) return last == kBell || (size >= 4 && last == '\\' && sequence_[size - 2] == '\x1b');
  return true;  // ESC and any other byte: Alt with a key
}

void KeyDecoder::finish_sequence(std::deque<TerminalKey>& out) {
  const std::string_view seq = sequence_;
  const char final = seq.back();
  if (sequence_split_ && seq.size() == 3 && (seq[1] == '[' || seq[1] == 'O') && final >= 'a' && final <= 'z') {
    // A key that sends ESC [ or ESC O with a small letter sends it at once (rxvt's Shift and
    // Ctrl arrows); typed apart it is Alt+[ or Alt+O (or [ or O after the Esc key), then a
    // letter typed, which must not be lost.
    push(sequence_resumed_ ? Plain(static_cast<unsigned char>(seq[1])) : Unknown(), out);
    push(Plain(static_cast<unsigned char>(final)), out);
  } else if (seq[1] == 'O' && seq.size() == 3) {
    push(ArrowOf(final).value_or(Unknown()), out);
  } else if (seq[1] == '[' && seq.size() >= 3 && seq[2] != 'M') {
    const std::string_view body = seq.substr(2, seq.size() - 3);
    if (!take_answer(body, final)) push_csi_key(body, final, out);
  } else {
    push(Unknown(), out);
  }
  sequence_.clear();
}

// The terminal's answers to the questions asked at start-up: never keys.
bool KeyDecoder::take_answer(std::string_view body, char final) {
  const bool marked = !body.empty() && body[0] == '?';
  const std::string_view rest = body.substr(marked ? 1 : 0);
  if (final == 'c' && marked) {
    device_attributes_ = true;
    return true;
  }
  if (final == 'y' && marked && rest.ends_with('$')) {
    const auto n = ParseNumbers(rest.substr(0, rest.size() - 1));
    if (n && n->at(0, 0, 0) == kWin32InputMode) win32_input_state_ = n->at(1, 0, 0);
    return true;
  }
  const auto n = ParseNumbers(rest);
  if (!n || n->has_sub_values) return false;
  // xterm adds the page to the marked form: CSI ? row ; column ; 1 R.
  const bool cursorFields = n->fields == 2 || (marked && n->fields == 3);
  if (final == 'R' && (marked || expect_plain_reports_) && cursorFields && n->at(0, 0, -1) >= 0 &&
      n->at(1, 0, -1) >= 0) {
    cursor_report_ = CursorReport{n->at(0, 0, 0), n->at(1, 0, 0)};
    return true;
  }
  if (final == 'u' && marked && n->fields == 1 && n->at(0, 0, -1) >= 0) {
    keyboard_flags_ = n->at(0, 0, 0);
    return true;
  }
  return false;
}

void KeyDecoder::push(TerminalKey key, std::deque<TerminalKey>& out) const {
  key.at = now_;
  out.push_back(key);
}

// A typed character as its UTF-8 bytes; the first holds `like`'s key down.
void KeyDecoder::push_text(std::uint32_t codepoint, TerminalKey like, std::deque<TerminalKey>& out) const {
  std::string utf8;
  if (!text::AppendUtf8(codepoint, utf8)) push(Unknown(), out);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    TerminalKey key = Plain(static_cast<unsigned char>(utf8[i]));
    key.virtual_key = i == 0 ? like.virtual_key : 0;
    key.repeated = like.repeated;
    key.reported = like.reported;
    push(key, out);
  }
}

// Arrows and other keys, with the modifiers and event type of the kitty keyboard protocol
// ("1;1:3A" is a released Up, "97;2;65u" a typed A), and win32-input-mode records.
void KeyDecoder::push_csi_key(std::string_view body, char final, std::deque<TerminalKey>& out) {
  if (final == '_' && reporting_ == KeyReporting::Win32Records) {
    push_win32_record(body, out);
    return;
  }
  const auto n = ParseNumbers(body);
  if (!n) {
    push(Unknown(), out);
    return;
  }
  const int mods = n->at(1, 0, 1) - 1;
  const int event = n->at(1, 1, 1);
  const auto code = static_cast<std::uint32_t>(n->at(0, 0, 0));
  TerminalKey key = Unknown();
  std::uint32_t text = 0;
  const auto sentText = static_cast<std::uint32_t>(n->at(2, 0, 0));
  if (final != 'u') {
    if (n->at(0, 0, 1) == 1) key = ArrowOf(final).value_or(Unknown());
  } else if (code == 13 || code == kKittyKeypadEnter || code == 27 || code == 127 || code == 8 || code == 9) {
    key = Plain(static_cast<unsigned char>(code == kKittyKeypadEnter ? 13 : code));
  } else if (code >= kKittyKeypadLeft && code < kKittyKeypadLeft + 4) {
    static constexpr std::uint32_t kKeypadArrows[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
    key = *ArrowOfVirtualKey(kKeypadArrows[code - kKittyKeypadLeft]);
  } else if (code >= kKittyFirstFunctional && code <= kKittyLastFunctional) {
    key = Silent(0);
    text = sentText;  // keypad digits with num lock on; other such keys type nothing
  } else if (code != 0) {
    text = sentText ? sentText : KittyText(*n, code, mods);
    key.virtual_key = VirtualKeyOf(LatinKey(*n, code));
  }
  key.reported = reporting_ == KeyReporting::KittyEvents;
  if (event == kEventRelease) {
    // A release types nothing; only the held keys hear of it.
    if (key.virtual_key) push({{0, 0}, 0, key.virtual_key, true, false, key.reported}, out);
    return;
  }
  key.repeated = event == kEventRepeat;
  if (text == 0) {
    push(key, out);
    return;
  }
  push_text(text, key, out);
  for (int sub = 1; sub < 3 && n->at(2, sub, 0); ++sub) {
    key.virtual_key = 0;
    push_text(static_cast<std::uint32_t>(n->at(2, sub, 0)), key, out);
  }
}

// A win32-input-mode record: Vk;Sc;Uc;Kd;Cs;Rc, a key going down (again, when repeated) or up,
// with the UTF-16 character it types.
void KeyDecoder::push_win32_record(std::string_view body, std::deque<TerminalKey>& out) {
  const auto n = ParseNumbers(body);
  if (!n) {
    push(Unknown(), out);
    return;
  }
  const int vk = n->at(0, 0, 0);
  const auto character = static_cast<std::uint32_t>(n->at(2, 0, 0));
  TerminalKey key = Silent(vk > 0 && vk < 256 ? static_cast<std::uint32_t>(vk) : 0);
  key.reported = true;
  if (n->at(3, 0, 0) == 0) {
    key.released = true;
    if (key.virtual_key) push(key, out);
    return;
  }
  if (character >= 0xD800 && character <= 0xDBFF) {
    high_surrogate_ = character;
    return;
  }
  if (character >= 0xDC00 && character <= 0xDFFF) {
    if (high_surrogate_) push_text(0x10000 + ((high_surrogate_ - 0xD800) << 10) + (character - 0xDC00), key, out);
    high_surrogate_ = 0;
    return;
  }
  if (character) {
    push_text(character, key, out);
    return;
  }
  static constexpr std::uint32_t kSilentKeys[] = {16, 17, 18, 20, 91, 92, 93, 144, 145};
  if (std::find(std::begin(kSilentKeys), std::end(kSilentKeys), key.virtual_key) == std::end(kSilentKeys)) {
    const std::uint32_t held = key.virtual_key;
    key = ArrowOfVirtualKey(held).value_or(Unknown());
    key.virtual_key = held;
    key.reported = true;
  }
  push(key, out);
}
