// A test fixture that runs the real game on the headless back end, in game time.
#pragma once

#include <gtest/gtest.h>

#include "console/game_console.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"
#include "tests/support/headless_backend.hpp"
#include "tests/support/recording_sound.hpp"

// Every test starts from the state the program starts in, with the console attached to a
// headless back end (`keys` scripts the player; the clock jumps) and a sound recorder.
class GameSession : public ::testing::Test {
 protected:
  GameSession() : sound([this] { return keys.now_ms(); }) {
    ResetGameState();
    UseLanguage(kSourceLanguage);  // whatever the developer's locale says
    gameRandom.seed(1);
    console.attach(&keys);
    console.attach_sound(&sound);
  }
  ~GameSession() override {
    console.attach_sound(nullptr);
    console.attach(nullptr);
  }

  // A timed check (keys.at) that never ran because the game was over before it fails the test.
  void TearDown() override {
    EXPECT_EQ(keys.checks_ahead(), 0u) << "timed checks never ran: the game was over before them";
  }

  HeadlessBackend keys;
  RecordingSound sound;
};
