// The terminal's input path on the test clock: bytes arrive at set times, the game asks
// poll_input and wait_release, for terminals that report presses only, kitty key events and
// win32-input-mode records.
#include "console/posix/terminal_input.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "console/game_console.hpp"

namespace {

// A terminal's input half on bytes that arrive at set times; waits make the clock jump.
class ScriptedTerminal final : public ConsoleBackend, public InputSource {
 public:
  explicit ScriptedTerminal(KeyReporting reporting) { input_.decoder().set_reporting(reporting); }
  // Bytes sent at the same time arrive in one read.
  void add(std::uint32_t at, const std::string& bytes) {
    if (!bytes.empty()) arrivals_[at] += bytes;
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
  std::map<std::uint32_t, std::string> arrivals_;
  std::uint32_t now_ = 0;
  TerminalInput input_{*this};
};

enum Action { Press, Repeat, Release };
struct KeyAction {
  std::uint32_t at;
  std::uint32_t key;
  Action action;
};

// What each kind of terminal sends for a key action.
std::string Encode(KeyReporting reporting, const KeyAction& a) {
  const bool enter = a.key == kKeyEnter;
  const char arrow = "DACB"[(a.key - kKeyLeft) & 3];
  switch (reporting) {
    case KeyReporting::PressesOnly:
      return a.action == Release ? "" : enter ? "\r" : std::string("\x1b[") + arrow;
    case KeyReporting::KittyEvents: {
      const std::string type = a.action == Press ? "" : a.action == Repeat ? ";1:2" : ";1:3";
      return enter ? "\x1b[13" + type + "u" : "\x1b[" + (type.empty() ? "" : "1" + type) + arrow;
    }
    case KeyReporting::Win32Records:
      return "\x1b[" + std::to_string(a.key) + ";0;" + (enter ? "13" : "0") + ";" +
             (a.action == Release ? "0" : "1") + ";0;1_";
  }
  return "";
}

// A key held from `from`: its press, auto-repeat after `delay` every `period` ms, let go at
// `until`.
std::vector<KeyAction> Held(std::uint32_t key, std::uint32_t from, std::uint32_t delay,
                            std::uint32_t period, std::uint32_t until) {
  std::vector<KeyAction> actions = {{from, key, Press}};
  for (std::uint32_t t = from + delay; t < until; t += period) actions.push_back({t, key, Repeat});
  actions.push_back({until, key, Release});
  return actions;
}

// A key tapped at `at` and let go `ms` later.
std::vector<KeyAction> Tap(std::uint32_t key, std::uint32_t at, std::uint32_t ms = 60) {
  return {{at, key, Press}, {at + ms, key, Release}};
}

// `count` taps of a key from `from`, `apart` ms apart.
std::vector<KeyAction> Taps(std::uint32_t key, std::uint32_t from, int count, std::uint32_t apart) {
  std::vector<KeyAction> actions;
  for (int i = 0; i < count; ++i) {
    const auto tap = Tap(key, from + static_cast<std::uint32_t>(i) * apart);
    actions.insert(actions.end(), tap.begin(), tap.end());
  }
  return actions;
}

std::vector<KeyAction> operator+(std::vector<KeyAction> a, const std::vector<KeyAction>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

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
    std::vector<KeyAction> keys;
    const char* steps;
  } cases[] = {
      {"held Down, repeat after 200 ms at 50 Hz", 0, Held(kKeyDown, 1000, 200, 20, 3000), "D"},
      {"held Down, repeat after 1000 ms at 15 Hz", 0, Held(kKeyDown, 1000, 1000, 67, 3000), "D"},
      {"held Enter confirms once", 0, Held(kKeyEnter, 1000, 250, 33, 3000), "E"},
      {"two taps 120 ms apart", 0, Tap(kKeyDown, 1000) + Tap(kKeyDown, 1120), "DD"},
      {"two taps 1100 ms apart", 0, Tap(kKeyDown, 1000) + Tap(kKeyDown, 2100), "DD"},
      {"four taps 120 ms apart", 0, Taps(kKeyDown, 1000, 4, 120), "DDDD"},
      {"four taps 150 ms apart", 0, Taps(kKeyDown, 1000, 4, 150), "DDDD"},
      {"four taps 200 ms apart", 0, Taps(kKeyDown, 1000, 4, 200), "DDDD"},
      // After a pause where auto-repeat could have started, the next tap acts late: the quick
      // taps behind it still each count.
      {"tap, 820 ms, two taps 120 ms apart", 0, Tap(kKeyDown, 1000) + Taps(kKeyDown, 1820, 2, 120), "DDD"},
      {"tap, 500 ms, four taps 120 ms apart", 0, Tap(kKeyDown, 1000) + Taps(kKeyDown, 1500, 4, 120), "DDDDD"},
      {"tap, 600 ms, tap, 120 ms, tap", 0, Tap(kKeyDown, 1000) + Taps(kKeyDown, 1600, 2, 120), "DDD"},
      {"Up then Enter in one read", 0, Tap(kKeyUp, 1000) + Tap(kKeyEnter, 1000, 100), "UE"},
      {"taps while the game waits", 2000,
       Tap(kKeyEnter, 500) + Tap(kKeyDown, 800) + Tap(kKeyDown, 1300) + Tap(kKeyEnter, 1500), ""},
      {"Up and Enter in one read while the game waits", 2000,
       Tap(kKeyUp, 1200) + Tap(kKeyEnter, 1200, 100), ""},
      {"Enter tapped again during the turn it started", 0,
       Tap(kKeyEnter, 1000) + Tap(kKeyEnter, 1500) + Tap(kKeyEnter, 2600), "E"},
      {"held through the end of a wait", 2000, Held(kKeyDown, 1200, 500, 33, 3000), "D"},
      {"held through the end of a wait before its repeat starts", 2000,
       Held(kKeyDown, 1500, 1000, 33, 3500), "D"},
  };
  for (KeyReporting reporting :
       {KeyReporting::PressesOnly, KeyReporting::KittyEvents, KeyReporting::Win32Records}) {
    for (const auto& c : cases) {
      ScriptedTerminal terminal(reporting);
      for (const KeyAction& key : c.keys) terminal.add(key.at, Encode(reporting, key));
      GameConsole game;
      game.attach(&terminal);
      EXPECT_EQ(Play(game, c.waitMs, 8000), c.steps)
          << c.name << " (terminal kind " << static_cast<int>(reporting) << ")";
    }
  }
}

// Keys that arrive in one read act at once or not at all: a few of them in turn, but the Enter
// at the end of a long paste would act seconds late, so it never does.
TEST(TerminalInput, APasteActsAtOnceOrNever) {
  const struct {
    const char* paste;
    const char* steps;
  } cases[] = {{"\x1b[A\x1b[B\r", "UDE"}, {"abcdefghijklmnopqrstuvwxyz0123456789\r", ""}};
  for (const auto& c : cases) {
    ScriptedTerminal terminal(KeyReporting::PressesOnly);
    terminal.add(1000, c.paste);
    GameConsole game;
    game.attach(&terminal);
    EXPECT_EQ(Play(game, 0, 8000), c.steps) << "the keys the game acted on after pasting " << c.paste;
  }
}

}  // namespace
