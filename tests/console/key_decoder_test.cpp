// The terminal key decoder fed the byte sequences of key_bytes.txt (plain keys, arrows, kitty
// key events, win32 records, junk, split reads, timeouts) and the terminal's answers.
#include "console/posix/key_decoder.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <deque>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "console/input_state.hpp"

namespace {

// What the typed-character input reads, which keys go down and which come up.
using Decoded = std::tuple<std::vector<int>, std::vector<int>, std::vector<int>>;

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
    if (k.virtual_key) (k.released ? up : down).push_back(static_cast<int>(k.virtual_key));
  }
  return d;
}

// The reads of a line of key_bytes.txt, its escapes turned into bytes.
std::vector<std::string> Reads(const std::string& text) {
  static const std::map<char, char> kEscapes = {{'e', '\x1b'}, {'a', '\a'}, {'0', '\0'}, {'r', '\r'},
                                                {'n', '\n'},   {'b', '\b'}, {'\\', '\\'}};
  std::vector<std::string> reads(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, " + ") == 0) {
      reads.emplace_back();
      i += 2;
    } else if (text[i] != '\\') {
      reads.back() += text[i];
    } else if (text[++i] == 'x') {
      reads.back() += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      reads.back() += kEscapes.at(text[i]);
    }
  }
  return reads;
}

// Typed bytes or keys as key_bytes.txt writes them.
std::vector<int> Values(const std::string& list) {
  static const std::map<std::string, int> kNames = {{"X", kExtendedKeyPrefix}, {"Up", kKeyUp},
                                                    {"Down", kKeyDown},        {"Left", kKeyLeft},
                                                    {"Right", kKeyRight},      {"Enter", kKeyEnter}};
  std::vector<int> values;
  std::istringstream in(list);
  for (std::string word; in >> word && word != "-";) {
    values.push_back(kNames.count(word) ? kNames.at(word) : word[0] == '\'' ? word[1] : std::stoi(word, nullptr, 0));
  }
  return values;
}

TEST(KeyDecoder, TurnsTerminalBytesIntoKeys) {
  std::ifstream file(DOMRAK_SOURCE_DIR "/tests/console/key_bytes.txt");
  const std::regex row(R"(([^|]+) \| ([^|]+) \| ([^|]+) \| ([^|]+) \| ([^|]+?)(?: \| (.+))?)");
  int lines = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::smatch c;  // what arrives, the reads, typed bytes, keys down and up, the terminal or gap
    ASSERT_TRUE(std::regex_match(line, c, row)) << "an unreadable line: " << line;
    ++lines;
    const KeyReporting reporting = c[6] == "kitty"   ? KeyReporting::KittyEvents
                                   : c[6] == "win32" ? KeyReporting::Win32Records
                                                     : KeyReporting::PressesOnly;
    const std::uint32_t gap = std::isdigit(c[6].str()[0]) ? std::stoul(c[6]) : kEscapeTimeoutMs - 1;
    EXPECT_EQ(Decode(Reads(c[2]), reporting, gap), Decoded(Values(c[3]), Values(c[4]), Values(c[5]))) << c[1];
  }
  EXPECT_EQ(lines, 32) << "the lines read from key_bytes.txt";
}

// The terminal's answers to the game's questions are taken, never typed; a plain cursor report
// (which looks like F3 with modifiers) only while one is expected.
TEST(KeyDecoder, TakesCursorReportsOnceAndPlainOnesOnlyWhenAsked) {
  KeyDecoder decoder;
  std::deque<TerminalKey> keys;
  decoder.feed("\x1b[?2;3R", 0, keys);
  const CursorReport report = decoder.take_cursor_report().value_or(CursorReport{});
  EXPECT_EQ(std::pair(report.row, report.column), std::pair(2, 3)) << "the cursor report's row and column";
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
