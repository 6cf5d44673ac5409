// A whole arena run played by script on the headless back end: Enter held from start to end.
#pragma once

#include <cstdint>
#include <string>

#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "game/flow/game_loop.hpp"
#include "game/model/run_state.hpp"

// With Enter held, every turn is an Attack, every prompt is confirmed at once and `boostName`
// is typed when the name boost after round 3 asks for it. Runs from a new run until the
// title screen would open (after game over or an ending) and returns that screen, or
// Screen::Quit when the session ends first: Enter is let go after an hour of game time (a run
// takes minutes), and the session ends there, so a run that cannot end fails fast. The loop
// over screens is RunScreens' own, with one look at the round before each victory: a typed
// name would be swallowed by the command menu's polling if it were queued earlier.
inline Screen PlayScriptedRun(HeadlessBackend& keys, const std::string& boostName) {
  keys.hold(kKeyEnter, console.now(), console.now() + 3600 * 1000);  // let go after an hour
  Screen screen = Screen::NewRun;
  while (screen != Screen::Title && screen != Screen::Quit && console.running()) {
    if (screen == Screen::Victory && runState.round == 3) keys.type(boostName + "\r");
    screen = ShowScreen(screen);
  }
  return screen;
}
