// Benchmark: whole battles, screen, opening, menu and turns, back to back on the headless back
// end in one session, with Enter held on "攻撃". Prints the real time they took and the heap in
// use before and after, to show that battles leave nothing behind.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "game/battle/battle_screen.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"

int main(int argc, char** argv) {
  const int battles = argc > 1 ? std::atoi(argv[1]) : 1000;
  HeadlessBackend keys;
  console.attach(&keys);  // no sound: a recorder would keep every call
  keys.hold(kKeyEnter, 0, 0xF0000000u);
  gameRandom.seed(1);
  ResetGameState();
  std::strcpy(player.name, "BENCH");

  int won = 0;
  long turns = 0;
  const std::size_t heapBefore = mallinfo2().uordblks;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < battles && console.running(); ++i) {
    ResetRoster();
    runState = RunState{};
    player.maxHp = player.hp = 999;
    player.maxMp = player.mp = 500;
    player.attack = 700;
    player.defence = 400;
    player.agility = 300;
    player.magic = 400;
    won += BattleScreen() == Screen::Victory;
    turns += runState.turnCount;
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d battles (%d won, %ld turns), %.0f s of game time: %.1f ms real time, %.3f ms per battle\n", battles,
              won, turns, console.now() / 1000.0, ms, ms / battles);
  std::printf("heap in use: %zu bytes before, %zu after\n", heapBefore, mallinfo2().uordblks);
  console.attach(nullptr);
  return won == battles ? 0 : 1;
}
