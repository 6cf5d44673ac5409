// Turns the bytes a terminal sends into keys: typed bytes, arrows, and escape sequences.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

// One key as the game sees it: the bytes the typed-character input gets (one, or the
// extended prefix and a second byte; none for keys that type nothing) and the virtual key it
// holds down (0 for none). Terminals that report key releases send those too: no bytes,
// `released` set.
struct TerminalKey {
  std::uint8_t bytes[2] = {0, 0};
  std::uint8_t byte_count = 1;
  std::uint32_t virtual_key = 0;
  bool released = false;
  bool repeated = false;  // an auto-repeat that the terminal marked as one
  bool reported = false;  // the terminal reports this key's release
  std::uint32_t at = 0;   // when its bytes arrived
};

// How the terminal has been asked to report keys. Only keys that arrive as the chosen form's
// key events are `reported`; plain bytes (pastes, input methods) never are.
enum class KeyReporting {
  PressesOnly,
  KittyEvents,   // kitty keyboard protocol with event types: CSI code;mods:event u and arrows
  Win32Records,  // win32-input-mode: CSI Vk;Sc;Uc;Kd;Cs;Rc _
};

// Second bytes of extended keys, as the Windows console gives them.
inline constexpr std::uint8_t kExtendedUp = 72;
inline constexpr std::uint8_t kExtendedDown = 80;
inline constexpr std::uint8_t kExtendedLeft = 75;
inline constexpr std::uint8_t kExtendedRight = 77;
// Any other escape sequence (function keys, Home/End, mouse reports, paste markers):
// one extended key that nothing acts on.
inline constexpr std::uint8_t kExtendedUnknown = 0;

// A lone ESC is the Esc key once this long has passed without the rest of a sequence.
inline constexpr std::uint32_t kEscapeTimeoutMs = 30;
// Once a sequence has begun, the rest may come this much later: a congested link resends a
// lost packet 200 ms or more later, and a held arrow must not fall apart into Esc, [ and a
// letter. A [ or O that comes this soon after a lone ESC let go as the Esc key begins a
// sequence (CSI or SS3).
inline constexpr std::uint32_t kSequenceTimeoutMs = 1000;

// Position reported by the terminal (CSI ? row ; column R).
struct CursorReport {
  int row;
  int column;
};

class KeyDecoder {
 public:
  // Decodes `bytes` read at `now`; complete keys, stamped `now`, are appended to `out`. A
  // sequence may be split across calls.
  void feed(std::string_view bytes, std::uint32_t now, std::deque<TerminalKey>& out);
  // Ends a sequence that has waited too long for its next byte: a lone ESC becomes the Esc key
  // after kEscapeTimeoutMs, anything longer an unknown extended key after kSequenceTimeoutMs.
  void flush_if_stale(std::uint32_t now, std::deque<TerminalKey>& out);
  // When part of a sequence that is waiting for more bytes goes stale, if one is waiting.
  std::optional<std::uint32_t> stale_at() const;

  // The last cursor position report seen, taken once. The plain form (CSI row ; column R,
  // which looks like F3 with modifiers) counts only while plain reports are expected.
  std::optional<CursorReport> take_cursor_report();
  void expect_plain_reports(bool expect) { expect_plain_reports_ = expect; }
  // Whether the terminal has answered a device attributes request (CSI ? ... c) since the
  // last call. Such answers are never keys.
  bool take_device_attributes();
  // The keyboard enhancement flags the terminal reported (CSI ? flags u), taken once.
  std::optional<int> take_keyboard_flags();
  // The terminal's answer about win32-input-mode (CSI ? 9001 ; state $ y), taken once:
  // 0 unknown to it, 1 on, 2 off.
  std::optional<int> take_win32_input_state();
  void set_reporting(KeyReporting reporting) { reporting_ = reporting; }

 private:
  void feed_byte(unsigned char byte, std::deque<TerminalKey>& out);
  void finish_sequence(std::deque<TerminalKey>& out);
  bool take_answer(std::string_view body, char final);
  void push(TerminalKey key, std::deque<TerminalKey>& out) const;
  void push_text(std::uint32_t codepoint, TerminalKey like, std::deque<TerminalKey>& out) const;
  void push_csi_key(std::string_view body, char final, std::deque<TerminalKey>& out);
  void push_win32_record(std::string_view body, std::deque<TerminalKey>& out);
  bool sequence_complete() const;

  std::string sequence_;            // an escape sequence still being read, ESC included
  bool sequence_split_ = false;     // its bytes came in more than one read
  bool sequence_resumed_ = false;   // its ESC already went out as the Esc key
  bool skipping_overlong_ = false;  // the tail of a cut-off sequence is still coming
  std::uint32_t last_byte_at_ = 0;
  std::optional<std::uint32_t> lone_escape_at_;  // a lone ESC just let go as the Esc key
  std::uint32_t now_ = 0;                        // when the bytes being decoded arrived
  KeyReporting reporting_ = KeyReporting::PressesOnly;
  std::uint32_t high_surrogate_ = 0;  // first half of a win32 character outside 16 bits
  std::optional<CursorReport> cursor_report_;
  bool expect_plain_reports_ = false;
  bool device_attributes_ = false;
  std::optional<int> keyboard_flags_;
  std::optional<int> win32_input_state_;
};
