// The name boost: the box with its cursor, the empty-name refusal, the second name's abilities.
#include "game/flow/name_boost.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/fighter.hpp"
#include "tests/support/game_session.hpp"
#include "tests/support/scripted_run.hpp"

using NameBoostTest = GameSession;

TEST_F(NameBoostTest, AsksInABoxRefusesAnEmptyNameAndAddsTheSecondNamesAbilities) {
  PrepareFighter({"Alice", 300, 200, 100, 100, 900, 100, 1});
  player.hp = 100;
  player.mp = 50;
  // The question and the box after 1500 + 750 ms, the cursor in the box.
  At(1500 + 750 + 5, [] {
    EXPECT_TRUE(Shows(20, 19, "追加強化発動！名前を入力して下さい。", 9, 15));
    EXPECT_TRUE(Shows(20, 20, "┏━━━━━━━━┓", 0, 15));
    EXPECT_TRUE(Shows(20, 21, "┃                ┃", 0, 15));
    EXPECT_TRUE(Shows(20, 22, "┗━━━━━━━━┛", 0, 15));
    EXPECT_EQ(console.cursor().column, 22) << "the cursor is not in the box";
    EXPECT_EQ(console.cursor().row, 21) << "the cursor is not in the box";
  });
  keys.type("\r");  // refused with a sound
  keys.pause(10);
  keys.type("A\r");
  ASSERT_TRUE(NameBoost());
  EXPECT_FALSE(console.cursor().visible);
  EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>(2, "kettei.wav"));
  const struct { const char* what; int shown, expected; } after[] = {
      {"max HP", player.maxHp, 565}, {"HP", player.hp, 365},     {"max MP", player.maxMp, 475},
      {"MP", player.mp, 325},        {"magic", player.magic, 225}, {"attack", player.attack, 285},
      {"defence", player.defence, 260},
      {"agility", player.agility, 999},  // stops at 999
  };
  for (const auto& a : after) EXPECT_EQ(a.shown, a.expected) << "the fighter's " << a.what << " after the boost";
  EXPECT_TRUE(Shows(20, 19, "ステータス成長", 9, 15));
  // The gain is shown in full even where the ability stops at 999.
  EXPECT_TRUE(Shows(20, 21, "最大ＨＰ＋265", 4, 15));
  EXPECT_TRUE(Shows(50, 22, "敏捷＋220", 1, 15));
  EXPECT_EQ(Text(20, 20, 40), std::string(40, ' '));  // the box is gone
}
