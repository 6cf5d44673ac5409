// A stand-in for the title screen on the real terminal, for measuring the terminal back end:
// "idle" draws a title-like frame and polls every 20 ms like the title menu (Up/Down move the
// selection and wait for the key's release, Enter ends); "waits FILE" measures console.wait
// against the real clock and writes the figures to FILE.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/game_console.hpp"
#include "console/platform.hpp"

namespace {

void DrawTitle(int selected) {
  console.set_color(8, 15);
  console.locate(20, 4);
  console.print("┏━━━━━━━━━━━━━━━━━━┓");
  console.locate(20, 5);
  console.print("┃　ＤＯＭＲＡＫ　闘技場　　┃");
  console.locate(20, 6);
  console.print("┗━━━━━━━━━━━━━━━━━━┛");
  const char* items[] = {"はじめから", "マニュアル"};
  for (int i = 0; i < 2; ++i) {
    console.set_color(i == selected ? 12 : 0, 15);
    console.locate(34, 14 + 2 * i);
    console.print("%s %s", i == selected ? "⇒" : "　", items[i]);
  }
  console.set_color(8, 15);
  console.locate(30, 22);
  console.print("↑↓で選択　Enterで決定");
}

void RunIdle() {
  console.set_color(0, 15);
  console.clear(16, 16);
  console.set_cursor(0, 0);
  int selected = 0;
  while (console.running()) {
    DrawTitle(selected);
    if (console.poll_input(kKeyUp) || console.poll_input(kKeyDown)) {
      selected = 1 - selected;
      DrawTitle(selected);
      console.wait_release(kKeyUp);
      console.wait_release(kKeyDown);
    }
    if (console.poll_input(kKeyEnter)) return;
    console.wait(20);
  }
}

double RealMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void RunWaits(const char* file) {
  std::string report;
  for (std::uint32_t ms : {1u, 5u, 10u, 20u, 33u, 100u}) {
    std::vector<double> errors;
    const int rounds = ms >= 100 ? 30 : 200;
    for (int i = 0; i < rounds; ++i) {
      // Each wait starts at a fresh millisecond of the game clock, as the game's waits do.
      const std::uint32_t start = console.now();
      while (console.now() == start) {
      }
      const double before = RealMs();
      console.wait(ms);
      errors.push_back(RealMs() - before - ms);
    }
    std::sort(errors.begin(), errors.end());
    double sum = 0;
    for (double e : errors) sum += e;
    const auto within = std::count_if(errors.begin(), errors.end(), [](double e) { return std::abs(e) <= 2.0; });
    char line[160];
    std::snprintf(line, sizeof line,
                  "wait(%3u): mean %+.3f ms, median %+.3f, p99 %+.3f, worst %+.3f; within 2 ms: %ld/%d\n", ms,
                  sum / rounds, errors[errors.size() / 2], errors[errors.size() * 99 / 100], errors.back(),
                  static_cast<long>(within), rounds);
    report += line;
  }
  if (FILE* out = std::fopen(file, "w")) {
    std::fputs(report.c_str(), out);
    std::fclose(out);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto backend = CreatePlatformBackend();
  console.attach(backend.get());
  if (argc >= 3 && std::strcmp(argv[1], "waits") == 0)
    RunWaits(argv[2]);
  else
    RunIdle();
  console.attach(nullptr);
  return 0;
}
