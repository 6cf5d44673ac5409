// A whole arena run played by script on the headless back end: Enter held from start to end.
#pragma once

#include <cstdint>
#include <string>

#include "console/game_console.hpp"
#include "console/headless/headless_backend.hpp"
#include "game/flow/screen.hpp"
#include "game/model/run_state.hpp"

// With Enter held, every turn is an Attack, every prompt is confirmed at once and `boostName`
// is typed when the name boost after round 3 asks for it. Runs from a new run until the
// title screen would open (after game over or an ending) and returns that screen, or
// Screen::Quit when the session ends first. The loop over screens is RunScreens' own, with
// one look at the round before each victory: a typed name would be swallowed by the
// command menu's polling if it were queued earlier.
inline Screen PlayScriptedRun(HeadlessBackend& keys, const std::string& boostName) {
  keys.hold(kKeyEnter, console.now(), UINT32_MAX);
  Screen screen = Screen::NewRun;
  while (screen != Screen::Title && screen != Screen::Quit && console.running()) {
    if (screen == Screen::Victory && runState.round == 3) keys.type(boostName + "\r");
    screen = ShowScreen(screen);
  }
  return screen;
}
