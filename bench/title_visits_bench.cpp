// Benchmark: the title screen visited over and over through the manual, with the heap in use
// and the time per visit reported, to show that hand-offs do not pile up.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "game/flow/game_loop.hpp"
#include "game/model/run_state.hpp"

namespace {

// The keys of one visit: down to マニュアル, into the manual and back.
void ScriptOneVisit(HeadlessBackend& keys) {
  keys.press(kKeyDown);
  keys.press(kKeyDown);
  keys.press(kKeyEnter);
  keys.pause(30);
  keys.press(kKeyEnter);
  keys.pause(30);
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char** argv) {
  const int visits = argc > 1 ? std::atoi(argv[1]) : 10000;
  HeadlessBackend keys;
  ResetGameState();
  console.attach(&keys);

  std::size_t heapAfterFirstThousand = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int v = 1; v <= visits; ++v) {
    ScriptOneVisit(keys);
    if (ShowScreen(Screen::Title) != Screen::Manual || ShowScreen(Screen::Manual) != Screen::Title) {
      std::fprintf(stderr, "visit %d did not go title -> manual -> title\n", v);
      return 1;
    }
    if (v == 1000) heapAfterFirstThousand = HeapInUse();
  }
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  const std::size_t heapAtEnd = HeapInUse();
  console.attach(nullptr);

  std::printf("visits: %d\n", visits);
  std::printf("heap in use after 1000 visits: %zu bytes\n", heapAfterFirstThousand);
  std::printf("heap in use after %d visits: %zu bytes (growth %lld bytes)\n", visits, heapAtEnd,
              static_cast<long long>(heapAtEnd) - static_cast<long long>(heapAfterFirstThousand));
  std::printf("real time per visit: %.1f us\n", elapsed.count() / visits);
  return 0;
}
