// A whole arena run played by script on the headless back end: Enter held from start to end.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "game/flow/game_loop.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"

// A fighter set up by its abilities (max HP and max MP full), and the seed its run starts from.
struct ScriptedFighter {
  const char* name;
  int hp, mp, attack, defence, agility, magic;
  std::uint32_t seed;
};

// Seeds the game's random source and makes `f` the player's fighter.
inline void PrepareFighter(const ScriptedFighter& f) {
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

// With Enter held, every turn is an Attack, every prompt is confirmed at once and `boostName`
// is typed when the name boost after round 3 asks for it. Runs from a new run until the
// title screen would open (after game over or an ending) and returns that screen, or
// Screen::Quit when the session ends first: Enter is let go after an hour of game time (a run
// takes minutes), and the session ends there, so a run that cannot end fails fast. The loop
// over screens is RunScreens' own, with one look at the round before each victory: a typed
// name would be swallowed by the command menu's polling if it were queued earlier.
inline Screen PlayScriptedRun(HeadlessBackend& keys, const std::string& boostName) {
  constexpr std::uint32_t kRunLimitMs = 3600 * 1000;
  keys.hold(kKeyEnter, console.now(), console.now() + kRunLimitMs);
  Screen screen = Screen::NewRun;
  while (screen != Screen::Title && screen != Screen::Quit && console.running()) {
    if (screen == Screen::Victory && runState.round == 3) keys.type(boostName + "\r");
    screen = ShowScreen(screen);
  }
  return screen;
}
