// Victory: what the screen shows when, and the prompt to the next round (the growth and recovery
// rules are checked along the scripted runs).
#include "game/flow/victory_screen.hpp"

#include <gtest/gtest.h>

#include "game/flow/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/game_session.hpp"

using VictoryScreenTest = GameSession;

TEST_F(VictoryScreenTest, ShowsTheWinThenGrowthForThreeSecondsThenRecoveryAndThePrompt) {
  CreateFighter("Alice");
  runState = {5, 4, 20};
  roster.hp[4] = 0;
  ChangeMusic("buttle2.mid", true);
  sound.forget();
  At(1300 + 1500 + 1, [] {
    EXPECT_TRUE(Shows(20, 19, "きんにくを撃破した！", 9, 15));
    EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15));
    EXPECT_EQ(Text(20, 22, 10), "最大ＨＰ＋");
  });
  At(2800 + 3000 - 1, [] { EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15)); });
  At(2800 + 3000 + 1, [] { EXPECT_EQ(Text(20, 21, 58), std::string(58, ' ')); });
  keys.pause(200);
  keys.press(kKeyEnter);
  EXPECT_EQ(VictoryScreen(), Screen::RoundIntro);
  EXPECT_EQ(std::pair(runState.round, runState.opponentIndex), std::pair(6, 5));
  EXPECT_TRUE(Shows(43, 23, "Press [ENTER KEY] and Next Round...", 8, 15));
  EXPECT_EQ(SoundLog(sound, 0).back(), std::to_string(console.now()) + " wave kettei.wav");
}
