// The terminal's input path on the test clock: bytes arrive at set times, the game asks
// poll_input and wait_release, for terminals that report presses only, kitty key events and
// win32-input-mode records.
#include "console/posix/terminal_input.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
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
      return "\x1b[" + std::to_string(key) + ";0;" + (enter ? "13" : "0") + ";" +
             (action == Release ? "0" : "1") + ";0;1_";
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
  // Sends a timeline of keys: "D1000-1060" is Down pressed at 1000 ms and let go at 1060 (U is
  // Up, E Enter); "D1000-3000/200/20" is Down held, auto-repeating from 200 ms after its press,
  // every 20 ms.
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
  static constexpr std::pair<std::uint32_t, char> kKeys[] = {
      {kKeyDown, 'D'}, {kKeyUp, 'U'}, {kKeyEnter, 'E'}};
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

TEST(TerminalInput, KeysReadAsTheConsoleWouldHaveThemOnEveryKindOfTerminal) {
  const struct {
    const char* name;
    std::uint32_t waitMs;  // the game waits this long first, reading no keys
    const char* keys;
    const char* steps;
    const char* paste = "";  // bytes in one read at 1000 ms, as a terminal reporting presses sends
  } cases[] = {
      {"held Down, repeat after 200 ms at 50 Hz", 0, "D1000-3000/200/20", "D"},
      {"held Down, repeat after 1000 ms at 15 Hz", 0, "D1000-3000/1000/67", "D"},
      {"held Enter confirms once", 0, "E1000-3000/250/33", "E"},
      {"two taps 120 ms apart", 0, "D1000-1060 D1120-1180", "DD"},
      {"two taps 1100 ms apart", 0, "D1000-1060 D2100-2160", "DD"},
      {"four taps 120 ms apart", 0, "D1000-1060 D1120-1180 D1240-1300 D1360-1420", "DDDD"},
      {"four taps 150 ms apart", 0, "D1000-1060 D1150-1210 D1300-1360 D1450-1510", "DDDD"},
      {"four taps 200 ms apart", 0, "D1000-1060 D1200-1260 D1400-1460 D1600-1660", "DDDD"},
      // After a pause where auto-repeat could have started, the next tap acts late: the quick
      // taps behind it still each count.
      {"tap, 820 ms, two taps 120 ms apart", 0, "D1000-1060 D1820-1880 D1940-2000", "DDD"},
      {"tap, 500 ms, four taps 120 ms apart", 0,
       "D1000-1060 D1500-1560 D1620-1680 D1740-1800 D1860-1920", "DDDDD"},
      {"tap, 600 ms, tap, 120 ms, tap", 0, "D1000-1060 D1600-1660 D1720-1780", "DDD"},
      {"Up then Enter in one read", 0, "U1000-1060 E1000-1100", "UE"},
      {"taps while the game waits", 2000, "E500-560 D800-860 D1300-1360 E1500-1560", ""},
      {"Up and Enter in one read while the game waits", 2000, "U1200-1260 E1200-1300", ""},
      {"Enter tapped again during the turn it started", 0, "E1000-1060 E1500-1560 E2600-2660", "E"},
      {"held through the end of a wait", 2000, "D1200-3000/500/33", "D"},
      {"held through the end of a wait before its repeat starts", 2000, "D1500-3500/1000/33", "D"},
      // A paste's few keys act in turn; the Enter at the end of a long one would act seconds
      // late, so it never does.
      {"a short paste", 0, "", "UDE", "\x1b[A\x1b[B\r"},
      {"a long paste", 0, "", "", "abcdefghijklmnopqrstuvwxyz0123456789\r"},
  };
  for (KeyReporting reporting :
       {KeyReporting::PressesOnly, KeyReporting::KittyEvents, KeyReporting::Win32Records}) {
    for (const auto& c : cases) {
      if (*c.paste && reporting != KeyReporting::PressesOnly) continue;  // kitty's arrows are events
      ScriptedTerminal terminal(reporting);
      terminal.send(c.keys);
      terminal.add(1000, c.paste);
      GameConsole game;
      game.attach(&terminal);
      EXPECT_EQ(Play(game, c.waitMs, 8000), c.steps)
          << "the keys the game acted on: " << c.name << " (terminal kind " << static_cast<int>(reporting) << ")";
    }
  }
}

}  // namespace
