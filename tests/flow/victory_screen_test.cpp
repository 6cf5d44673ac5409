// Victory: what the screen shows when, its growth and recovery worked out by hand, and the
// prompt to the next round (the same rules along whole runs are in arena_run_test).
#include "game/flow/victory_screen.hpp"

#include <gtest/gtest.h>

#include "game/ui/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/game_session.hpp"

using VictoryScreenTest = GameSession;

// Alice: HP 425, MP 535, magic 435, attack 200, defence 485, agility 215. Seed 1 draws 41,
// 18467, 6334, 26500, 19169, 15724 for the growth (the last digit x 5 + 5), then 11478, 29358
// for HP: (0 + 2) x (435 / 20) + 14 = 56, and 26962, 24464 for MP: (1 + 2) x (575 / 20) + 0 = 84.
TEST_F(VictoryScreenTest, ShowsTheWinThenGrowthForThreeSecondsThenRecoveryAndThePrompt) {
  CreateFighter("Alice");
  runState = {5, 4, 20};
  roster.hp[4] = 0;
  ChangeMusic("buttle2.mid", true);
  sound.forget();
  At(1300 + 1500 + 1, [] {
    EXPECT_TRUE(Shows(20, 19, "きんにくを撃破した！", 9, 15));
    EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15));
    const struct { int column, row; const char* text; int colour; } grown[] = {
        {20, 22, "最大ＨＰ＋10", 4}, {35, 22, "最大ＭＰ＋40", 5}, {50, 22, "魔力＋25", 6},
        {20, 23, "攻撃＋5", 12},     {35, 23, "防御＋50", 2},     {50, 23, "敏捷＋25", 1}};
    for (const auto& g : grown) EXPECT_TRUE(Shows(g.column, g.row, g.text, g.colour, 15)) << "the growth";
  });
  At(2800 + 3000 - 1, [] { EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15)); });
  At(2800 + 3000 + 1, [] { EXPECT_EQ(Text(20, 21, 58), std::string(58, ' ')); });
  keys.pause(200);
  keys.press(kKeyEnter);
  EXPECT_EQ(VictoryScreen(), Screen::RoundIntro);
  EXPECT_EQ(Text(20, 19, 28), "ＨＰを56、ＭＰを84回復した。");
  EXPECT_EQ(player.hp, 435) << "HP recovered past the grown maximum";
  EXPECT_EQ(player.mp, 575) << "MP recovered past the grown maximum";
  EXPECT_EQ(runState.round, 6) << "the next round";
  EXPECT_EQ(runState.opponentIndex, 5) << "the next opponent";
  EXPECT_TRUE(Shows(43, 23, "Press [ENTER KEY] and Next Round...", 8, 15));
  EXPECT_EQ(SoundLog(sound, 0).back(), std::to_string(console.now()) + " wave kettei.wav");
}
