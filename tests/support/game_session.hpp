// A test fixture that runs the real game on the headless back end, in game time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

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

  // Whether the text at (column, row) reads `expected` and every one of its cells has the
  // given colours. Prints what is there instead when it does not.
  static ::testing::AssertionResult Shows(int column, int row, const std::string& expected, int fg,
                                          int bg);

  // Runs `check` when the game clock reaches `time`, like keys.at, but the test fails when
  // the game was over before that time, so a timed check is never skipped unnoticed.
  void At(std::uint32_t time, std::function<void()> check);
  void TearDown() override;

  HeadlessBackend keys;
  RecordingSound sound;

 private:
  int pendingChecks_ = 0;
};
