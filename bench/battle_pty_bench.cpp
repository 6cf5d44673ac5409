// Plays into the first battle of the real game in an 80x25 pseudo-terminal and measures it:
// creates a fighter, enters the arena, and times the round introduction (bars 80 x 10 ms, then
// 3000 ms) and the battle screen's opening (bars 80 x 15 ms, 500 ms, "FIGHT!" 31 x 10 ms,
// 1000 ms, 37 x 10 ms) by when their texts reach the terminal; then counts the bytes the idle
// command menu writes over 10 s.
//
//   battle_pty_bench PROGRAM
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/pty_terminal.hpp"

namespace {

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// The terminal, remembering when each stretch of output arrived.
class TimedTerminal {
 public:
  explicit TimedTerminal(char** command)
      : term_({.answers = PtyTerminal::Window::Answers::Narrow}, [command] {
          execvp(command[0], command);
          return 127;
        }) {}

  // Types `bytes`, then shows the output for `settle` seconds.
  void key(const std::string& bytes, double settle = 0.3) {
    term_.type(bytes);
    const double end = Now() + settle;
    while (Now() < end) {
      term_.pump_until([&] {
        if (arrivals_.empty() || arrivals_.back().first < term_.output().size())
          arrivals_.push_back({term_.output().size(), Now()});
        return Now() >= end;
      });
    }
  }

  // When the first match of `pattern` at or after byte `after` arrived, and where it ends.
  std::optional<double> time_of(const std::string& pattern, std::size_t& after) const {
    std::smatch match;
    const std::string& out = term_.output();
    if (!std::regex_search(out.begin() + static_cast<long>(after), out.end(), match, std::regex(pattern)))
      return std::nullopt;
    const std::size_t start = after + static_cast<std::size_t>(match.position(0));
    after = start + static_cast<std::size_t>(match.length(0));
    for (const auto& [size, time] : arrivals_)
      if (size > start) return time;
    return std::nullopt;
  }

  PtyTerminal& term() { return term_; }

 private:
  PtyTerminal term_;
  std::vector<std::pair<std::size_t, double>> arrivals_;  // output size after a read, and its time
};

void Report(const char* name, double seconds, double nominalMs) {
  std::printf("%s: %.1f ms against %.0f ms (%+.2f%%)\n", name, seconds * 1000, nominalMs,
              (seconds * 1000 / nominalMs - 1) * 100);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: battle_pty_bench PROGRAM\n");
    return 2;
  }
  TimedTerminal t(argv + 1);
  t.key("", 1.0);
  t.key("\r");            // ネームエントリー
  t.key("Bench\r", 4.5);  // the name, then the creation screen rolls
  t.key("\r", 2.5);       // はい: announced, back to the title
  t.key("\x1b[B");        // 闘技場へ行く
  std::size_t after = t.term().output().size();
  t.key("\r", 9.0);  // round introduction and battle opening

  const auto barsStart = t.time_of("\x1b\\[11;1H", after);  // the first bar cell
  const auto caption = t.time_of("Round 1", after);
  const auto panel = t.time_of("ＨＰ +[0-9]", after);
  const auto menu = t.time_of("⇒", after);
  if (!barsStart || !caption || !panel || !menu) {
    std::printf("could not find the round introduction and battle screen in the output\n");
    return 1;
  }
  Report("round introduction bars", *caption - *barsStart, 800);
  Report("round introduction, caption to battle screen", *panel - *caption, 3000);
  Report("battle screen opening to the command menu", *menu - *panel, 80 * 15 + 500 + 310 + 1000 + 370);

  std::printf("idle command menu for 10 s: %zu bytes written\n", t.term().pump_for(10000));
  kill(t.term().pid(), SIGTERM);
  t.term().wait_exit();
  return 0;
}
