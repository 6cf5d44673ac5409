// A test fixture that runs the real game on the headless back end, in game time.
#pragma once

#include <gtest/gtest.h>


#include "console/game_console.hpp"
#include "tests/support/headless_backend.hpp"
#include "tests/support/recording_sound.hpp"
#include "game/model/game_random.hpp"

// Every test starts from the state the program starts in, with the console attached to a
// headless back end (`keys` scripts the player; the clock jumps) and a sound recorder.
class GameSession : public ::testing::Test {
 protected:
  GameSession();
  ~GameSession() override;


  // A timed check (keys.at) that never ran because the game was over before it fails the test.
  void TearDown() override;

  HeadlessBackend keys;
  RecordingSound sound;
};
