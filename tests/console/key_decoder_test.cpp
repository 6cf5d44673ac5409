// The terminal key decoder fed byte sequences: plain keys, arrows, kitty key events, win32
// records, junk, split reads, timeouts, the terminal's answers.
#include "console/posix/key_decoder.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "console/input_state.hpp"

namespace {

// What the typed-character input reads, which keys go down and which come up.
using Decoded = std::tuple<std::vector<int>, std::vector<std::uint32_t>, std::vector<std::uint32_t>>;

// Feeds each chunk `gap` ms after the one before, then lets the last run out.
Decoded Decode(const std::vector<std::string>& chunks, KeyReporting reporting, std::uint32_t gap) {
  KeyDecoder decoder;
  decoder.set_reporting(reporting);
  std::deque<TerminalKey> keys;
  std::uint32_t now = 1000;
  for (const auto& chunk : chunks) {
    decoder.feed(chunk, now, keys);
    now += gap;
    decoder.flush_if_stale(now, keys);
  }
  decoder.flush_if_stale(now + 10000, keys);
  Decoded d;
  auto& [bytes, down, up] = d;
  for (const TerminalKey& k : keys) {
    bytes.insert(bytes.end(), k.bytes, k.bytes + k.byte_count);
    if (k.virtual_key) (k.released ? up : down).push_back(k.virtual_key);
  }
  return d;
}

constexpr int X = kExtendedKeyPrefix;

TEST(KeyDecoder, TurnsTerminalBytesIntoKeys) {
  constexpr auto Kitty = KeyReporting::KittyEvents;
  constexpr auto Win32 = KeyReporting::Win32Records;
  const struct {
    const char* name;
    std::vector<std::string> chunks;
    Decoded expected;
    KeyReporting reporting = KeyReporting::PressesOnly;
    std::uint32_t gap = kEscapeTimeoutMs - 1;  // between chunks: by default just soon enough
  } cases[] = {
      {"Enter as CR and LF, Backspace as DEL and BS", {"\r\n\x7f\b"}, {{13, 13, 8, 8}, {kKeyEnter, kKeyEnter, 8, 8}, {}}},
      {"letters hold their upper-case key", {"aZ5 _"}, {{'a', 'Z', '5', ' ', '_'}, {'A', 'Z', '5', ' '}, {}}},
      {"CSI and SS3 arrows", {"\x1b[A\x1b[B\x1b[C\x1b[D\x1bOA\x1bOD"},
       {{X, 72, X, 80, X, 77, X, 75, X, 72, X, 75}, {kKeyUp, kKeyDown, kKeyRight, kKeyLeft, kKeyUp, kKeyLeft}, {}}},
      {"function keys, Home, alt with a letter, SGR mouse, rxvt's Shift+Up, Ctrl+Space",
       {std::string("\x1b[15~\x1bOP\x1b[H\x1bx\x1b[<0;12;5M\x1b[a\0", 27)}, {{X, 0, X, 0, X, 0, X, 0, X, 0, X, 0, X, 0}, {}, {}}},
      {"X10 mouse report with raw bytes", {"\x1b[M !!x"}, {{X, 0, 'x'}, {'X'}, {}}},
      {"bracketed paste keeps the text, drops the markers",
       {"\x1b[200~ab\x1b[201~"}, {{X, 0, 'a', 'b', X, 0}, {'A', 'B'}, {}}},
      {"OSC strings up to BEL and ST", {"\x1b]11;rgb:0/0/0\x07q\x1b]11;x\x1b\\"}, {{X, 0, 'q', X, 0}, {'Q'}, {}}},
      {"lone ESC after the timeout", {"\x1b"}, {{27}, {27}, {}}},
      {"ESC ESC: the first is the Esc key", {"\x1b\x1b[A"}, {{27, X, 72}, {27, kKeyUp}, {}}},
      {"sequence split after ESC", {"\x1b", "[A"}, {{X, 72}, {kKeyUp}, {}}},
      {"sequence split inside", {"\x1b[1;", "5", "C"}, {{X, 77}, {kKeyRight}, {}}},
      {"cut-off CSI then a control byte", {"\x1b[12\x01"}, {{X, 0, 1}, {}, {}}},
      {"unfinished CSI times out as one key", {"\x1b[12"}, {{X, 0}, {}, {}}},
      {"Esc, then a letter 40 ms later", {"\x1b", "a"}, {{27, 'a'}, {27, 'A'}, {}}, {}, 40},
      {"arrow split after ESC [ by 500 ms", {"\x1b[", "B"}, {{X, 80}, {kKeyDown}, {}}, {}, 500},
      {"arrow split after ESC by 500 ms: Esc, then the arrow", {"\x1b", "[B"},
       {{27, X, 80}, {27, kKeyDown}, {}}, {}, 500},
      {"SS3 arrow split after ESC by 50 ms", {"\x1b", "OD"}, {{27, X, 75}, {27, kKeyLeft}, {}}, {}, 50},
      {"Esc, [ and letters typed apart: no letter lost", {"\x1b", "[", "a", "b"}, {{27, '[', 'a', 'b'}, {27, 'A', 'B'}, {}}, {}, 100},
      {"Alt+[ and Alt+O, then a letter", {"\x1b[", "a", "\x1bO", "k"}, {{X, 0, 'a', X, 0, 'k'}, {'A', 'K'}, {}}, {}, 100},
      {"cursor report and keyboard flags are no keys", {"\x1b[?3;5R\x1b[?2u"}, {}},
      {"press with its event type; releases type nothing, nor count for other keys",
       {"\x1b[1;1:1A\x1b[1;1:3D\x1b[15;1:3~"}, {{X, 72}, {kKeyUp}, {kKeyLeft}}},
      {"report without ? is a key (F3 with modifiers)", {"\x1b[1;2R"}, {{X, 0}, {}, {}}},
      {"overlong junk is one key, its tail skipped", {"\x1b[" + std::string(200, '1') + "Ax"},
       {{X, 0, 'x'}, {'X'}, {}}},
      {"kitty Enter, Backspace and their releases", {"\x1b[13u\x1b[13;1:3u\x1b[127u"},
       {{13, 8}, {kKeyEnter, 8}, {kKeyEnter}}, Kitty},
      {"kitty typed text: plain, shifted, shifted key, text field",
       {"\x1b[97u\x1b[97;2u\x1b[45:95;2u\x1b[122;;12354u"},
       {{'a', 'A', '_', 0xE3, 0x81, 0x82}, {'A', 'A', 'Z'}, {}}, Kitty},
      {"kitty keypad arrows", {"\x1b[57417u\x1b[57418u\x1b[57419u\x1b[57420u"},
       {{X, 75, X, 77, X, 72, X, 80}, {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}, {}}, Kitty},
      {"kitty Ctrl+C, Ctrl+Z on a Cyrillic layout: the keys of C and Z",
       {"\x1b[1089::99;5u\x1b[1103::122;5u"}, {{3, 26}, {'C', 'Z'}, {}}, Kitty},
      {"kitty keypad digits type their text", {"\x1b[57399;129;48u\x1b[57408;129;57u\x1b[57400;129:3u"},
       {{'0', '9'}, {}, {}}, Kitty},
      {"kitty modifier keys type nothing", {"\x1b[57441;2u\x1b[57441;1:3u"}, {}, Kitty},
      {"win32 letter, Enter, lone Shift", {"\x1b[65;30;97;1;0;1_\x1b[13;28;13;1;0;1_\x1b[16;42;0;1;16;1_"},
       {{'a', 13}, {'A', kKeyEnter, 16}, {}}, Win32},
      {"win32 character in two halves", {"\x1b[0;0;55357;1;0;1_\x1b[0;0;56832;1;0;1_"},
       {{0xF0, 0x9F, 0x98, 0x80}, {}, {}}, Win32},
      {"win32 record without win32-input-mode is junk", {"\x1b[40;80;0;1;0;1_"}, {{X, 0}, {}, {}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(c.chunks, c.reporting, c.gap), c.expected) << c.name;
}

// The terminal's answers to the game's questions are taken, never typed; a plain cursor report
// (which looks like F3 with modifiers) only while one is expected.
TEST(KeyDecoder, TakesCursorReportsOnceAndPlainOnesOnlyWhenAsked) {
  KeyDecoder decoder;
  std::deque<TerminalKey> keys;
  decoder.feed("\x1b[?2;3R", 0, keys);
  const CursorReport report = decoder.take_cursor_report().value_or(CursorReport{});
  EXPECT_EQ(report.row, 2) << "the cursor report's row";
  EXPECT_EQ(report.column, 3) << "the cursor report's column";
  EXPECT_FALSE(decoder.take_cursor_report().has_value()) << "one report taken twice";
  decoder.expect_plain_reports(true);
  decoder.feed("\x1b[?5;6;1R", 0, keys);
  EXPECT_EQ(decoder.take_cursor_report().value_or(CursorReport{}).column, 6) << "xterm's answer, with its page";
  decoder.feed("\x1b[4;2R\x1b[?62;22c\x1b[?9001;2$y", 0, keys);
  EXPECT_EQ(decoder.take_cursor_report().value_or(CursorReport{}).column, 2) << "a plain report";
  EXPECT_TRUE(decoder.take_device_attributes()) << "the device attributes";
  EXPECT_EQ(decoder.take_win32_input_state(), 2) << "win32-input-mode's state";
  EXPECT_TRUE(keys.empty()) << "an answer typed as a key";
}

}  // namespace
