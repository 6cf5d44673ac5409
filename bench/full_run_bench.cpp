// Measures the real time that complete scripted arena runs take on the headless back end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "tests/support/recording_sound.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/scripted_run.hpp"

namespace {

// A fighter set up by its abilities (max HP and max MP full), and the seed its run starts from.
struct ScriptedFighter {
  const char* name;
  int hp, mp, attack, defence, agility, magic;
  std::uint32_t seed;
};

// Seeds the game's random source and makes `f` the player's fighter.
void PrepareFighter(const ScriptedFighter& f) {
  gameRandom.seed(f.seed);
  player = Fighter{};
  std::strncpy(player.name, f.name, sizeof player.name - 1);
  player.maxHp = player.hp = f.hp;
  player.maxMp = player.mp = f.mp;
  player.attack = f.attack;
  player.defence = f.defence;
  player.agility = f.agility;
  player.magic = f.magic;
}

// The seeds were found by playing the scripted run with seeds 1 to 12 for each fighter and
// keeping one that ends the way its name says.
constexpr ScriptedFighter kTankToPlainEnding = {"Tank", 999, 300, 300, 999, 300, 100, 3};
constexpr ScriptedFighter kVeteranToTrueEnding = {"Veteran", 600, 300, 500, 400, 400, 300, 2};

struct RunResult {
  double realMs;
  std::uint32_t gameMs;
  int roundsWon;
  int turns;
};

RunResult TimeOneRun(const ScriptedFighter& fighter) {
  ResetGameState();
  HeadlessBackend keys;
  RecordingSound sound([&keys] { return keys.now_ms(); });
  console.attach(&keys);
  console.attach_sound(&sound);
  PrepareFighter(fighter);

  const auto start = std::chrono::steady_clock::now();
  PlayScriptedRun(keys, "A");
  const auto end = std::chrono::steady_clock::now();
  const RunResult result{std::chrono::duration<double, std::milli>(end - start).count(), keys.now_ms(),
                         runState.round - 1, runState.turnCount};
  console.attach_sound(nullptr);
  console.attach(nullptr);
  return result;
}

void Measure(const char* what, const ScriptedFighter& fighter, int runs) {
  double total = 0;
  double slowest = 0;
  RunResult run{};
  for (int i = 0; i < runs; ++i) {
    run = TimeOneRun(fighter);
    total += run.realMs;
    slowest = std::max(slowest, run.realMs);
  }
  std::printf("%-22s %d rounds won, %2d turns, %5.1f s game time: mean %.2f ms, slowest %.2f ms (%d runs)\n", what,
              run.roundsWon, run.turns, run.gameMs / 1000.0, total / runs, slowest, runs);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  Measure("six rounds, plain end", kTankToPlainEnding, runs);
  Measure("seven rounds, true end", kVeteranToTrueEnding, runs);
  return 0;
}
