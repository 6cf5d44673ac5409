// The terminal's input path on the test clock: bytes arrive at set times, the game asks
// poll_input and wait_release, for terminals that report presses only, kitty key events and
// win32-input-mode records.
#include "console/posix/terminal_input.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "console/game_console.hpp"

namespace {

enum Action { Press, Repeat, Release };

// What each kind of terminal sends for a key action.
std::string Encode(KeyReporting reporting, std::uint32_t key, Action action) {
  const bool enter = key == kKeyEnter;
  const char arrow = "DACB"[(key - kKeyLeft) & 3];
  switch (reporting) {
    case KeyReporting::PressesOnly:
      return action == Release ? "" : enter ? "\r" : std::string("\x1b[") + arrow;
    case KeyReporting::KittyEvents: {
      const std::string type = action == Press ? "" : action == Repeat ? ";1:2" : ";1:3";
      return enter ? "\x1b[13" + type + "u" : "\x1b[" + (type.empty() ? "" : "1" + type) + arrow;
    }
    case KeyReporting::Win32Records:
      return "\x1b[" + std::to_string(key) + ";0;" + (enter ? "13" : "0") + ";" + (action == Release ? "0" : "1") +
             ";0;1_";
  }
  return "";
}

// A terminal's input half on bytes that arrive at set times; waits make the clock jump.
class ScriptedTerminal final : public ConsoleBackend, public InputSource {
 public:
  explicit ScriptedTerminal(KeyReporting reporting) : reporting_(reporting) {
    input_.decoder().set_reporting(reporting);
  }
  // Bytes sent at the same time arrive in one read.
  void add(std::uint32_t at, const std::string& bytes) {
    if (!bytes.empty()) arrivals_[at] += bytes;
  }
  // Sends a timeline of keys, as key_timelines.txt writes them.
  void send(const std::string& timeline) {
    std::istringstream in(timeline);
    char name = 0, mark = 0;
    std::uint32_t from = 0, until = 0, delay = 0, period = 0;
    while (in >> name >> from >> mark >> until) {
      const std::uint32_t key = name == 'D' ? kKeyDown : name == 'U' ? kKeyUp : kKeyEnter;
      add(from, Encode(reporting_, key, Press));
      if (in.peek() == '/' && in >> mark >> delay >> mark >> period)
        for (std::uint32_t t = from + delay; t < until; t += period) add(t, Encode(reporting_, key, Repeat));
      add(until, Encode(reporting_, key, Release));
    }
  }

  std::uint32_t now_ms() override { return now_; }
  Ready wait_until(std::uint32_t deadline, bool bytes, bool) override {
    const auto next = arrivals_.begin();
    if (bytes && next != arrivals_.end() && !TimeReached(next->first, deadline)) {
      if (TimeReached(next->first, now_)) now_ = next->first;
      return Ready::Bytes;
    }
    if (!TimeReached(now_, deadline)) now_ = deadline;
    return Ready::Timeout;
  }
  long read(char* buffer, std::size_t size) override {
    if (arrivals_.empty() || !TimeReached(now_, arrivals_.begin()->first)) return -1;
    const std::string bytes = arrivals_.begin()->second;
    arrivals_.erase(arrivals_.begin());
    std::memcpy(buffer, bytes.data(), std::min(size, bytes.size()));
    return static_cast<long>(bytes.size());
  }

  void present(const ScreenGrid&, const CursorState&) override {}
  void drain_input(InputState& state) override { input_.drain(state); }
  bool key_waiting() override { return input_.key_waiting(); }
  int read_key() override { return input_.read_key(); }
  void sleep_until(std::uint32_t deadline) override { input_.sleep_until(deadline); }
  void wait_for_input(std::uint32_t deadline) override { input_.wait_for_input(deadline); }

 private:
  KeyReporting reporting_;
  std::map<std::uint32_t, std::string> arrivals_;
  std::uint32_t now_ = 0;
  TerminalInput input_{*this};
};

// The game as its screens use the keys: after `waitMs` of waiting (a round introduction, a
// turn's messages), each 20 ms pass asks for Down, Up and Enter. A held arrow is one step and
// is waited for until it is let go; Enter plays a turn (3 s of waits). Returns the steps.
std::string Play(GameConsole& game, std::uint32_t waitMs, std::uint32_t end) {
  static constexpr std::pair<std::uint32_t, char> kKeys[] = {{kKeyDown, 'D'}, {kKeyUp, 'U'}, {kKeyEnter, 'E'}};
  std::string steps;
  game.wait(waitMs);
  for (int passes = 0; passes < 100000 && !TimeReached(game.now(), end); ++passes) {  // a stuck clock ends too
    for (const auto& [key, name] : kKeys) {
      if (!game.poll_input(key)) continue;
      steps += name;
      if (key == kKeyEnter)
        game.wait(3000);
      else
        game.wait_release(key);
    }
    game.wait(20);
  }
  return steps;
}

// Each timeline of key_timelines.txt on every kind of terminal.
TEST(TerminalInput, KeysReadAsTheConsoleWouldHaveThemOnEveryKindOfTerminal) {
  std::ifstream file(DOMRAK_SOURCE_DIR "/tests/console/key_timelines.txt");
  const std::regex row(R"(([^|]+) \| (\d+) \| ([^|]+) \| (\S+)(?: \| (.+))?)");
  int timelines = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::smatch c;  // what happens, the wait, the keys, the steps, a paste
    ASSERT_TRUE(std::regex_match(line, c, row)) << "an unreadable timeline: " << line;
    ++timelines;
    const std::string paste =
        std::regex_replace(std::regex_replace(c[5].str(), std::regex(R"(\\e)"), "\x1b"), std::regex(R"(\\r)"), "\r");
    for (KeyReporting reporting : {KeyReporting::PressesOnly, KeyReporting::KittyEvents, KeyReporting::Win32Records}) {
      // Only a terminal reporting presses sends keys as plain bytes: kitty's arrows are events.
      if (!paste.empty() && reporting != KeyReporting::PressesOnly) continue;
      ScriptedTerminal terminal(reporting);
      terminal.send(c[3]);
      terminal.add(1000, paste);
      GameConsole game;
      game.attach(&terminal);
      EXPECT_EQ(Play(game, std::stoul(c[2]), 8000), c[4] == "-" ? "" : c[4].str())
          << "the keys the game acted on: " << c[1] << " (terminal kind " << int(reporting) << ")";
    }
  }
  EXPECT_EQ(timelines, 19) << "the timelines read from key_timelines.txt";
}

}  // namespace
