// The name boost: the worked second names, the empty-name refusal, arrows, the box and cursor.
#include <gtest/gtest.h>

#include "game/flow/name_boost.hpp"
#include "game/flow/victory_screen.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

namespace {

class NameBoostTest : public GameSession {
 protected:
  NameBoostTest() {
    CreateFighter("Alice");
    player.maxHp = 300;
    player.hp = 100;
    player.maxMp = 200;
    player.mp = 50;
    player.magic = 100;
    player.attack = 100;
    player.defence = 100;
    player.agility = 900;
  }
};

}  // namespace

TEST_F(NameBoostTest, AddsTheAbilitiesOfTheSecondNameAndShowsThem) {
  struct Case {
    const char* typed;
    int hp, mp, magic, attack, defence, agility;
  } cases[] = {
      {"A\r", 265, 275, 125, 185, 160, 220},
      {"AA\r", 135, 170, 250, 80, 35, 160},
      {"abc\r", 240, 5, 300, 25, 190, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const Fighter before = player;
    keys.type(c.typed);
    ASSERT_TRUE(NameBoost());
    EXPECT_EQ(player.maxHp, before.maxHp + c.hp);
    EXPECT_EQ(player.hp, before.hp + c.hp);
    EXPECT_EQ(player.maxMp, before.maxMp + c.mp);
    EXPECT_EQ(player.mp, before.mp + c.mp);
    EXPECT_EQ(player.magic, before.magic + c.magic);
    EXPECT_EQ(player.attack, before.attack + c.attack);
    EXPECT_EQ(player.defence, before.defence + c.defence);
    EXPECT_EQ(player.agility, std::min(999, before.agility + c.agility));

    EXPECT_TRUE(Shows(20, 19, "ステータス成長", 9, 15));
    EXPECT_TRUE(Shows(20, 21, "最大ＨＰ＋" + std::to_string(c.hp), 4, 15));
    EXPECT_TRUE(Shows(35, 21, "最大ＭＰ＋" + std::to_string(c.mp), 5, 15));
    EXPECT_TRUE(Shows(50, 21, "魔力＋" + std::to_string(c.magic), 6, 15));
    EXPECT_TRUE(Shows(20, 22, "攻撃＋" + std::to_string(c.attack), 12, 15));
    EXPECT_TRUE(Shows(35, 22, "防御＋" + std::to_string(c.defence), 2, 15));
    EXPECT_TRUE(Shows(50, 22, "敏捷＋" + std::to_string(c.agility), 1, 15));
    EXPECT_EQ(Text(20, 20, 40), std::string(40, ' '));  // the box is gone
  }
  EXPECT_EQ(player.agility, 999);
}

TEST_F(NameBoostTest, AsksInABoxWithTheCursorShownWhileTyping) {
  // 1500 ms, then the question, then 750 ms before the box.
  At(1500 - 1, [] { EXPECT_EQ(Text(20, 19, 14), std::string(14, ' ')); });
  At(1500 + 750 - 1, [] {
    EXPECT_TRUE(Shows(20, 19, "追加強化発動！名前を入力して下さい。", 9, 15));
    EXPECT_EQ(Text(20, 20, 20), std::string(20, ' ')) << "no box yet";
  });
  At(1500 + 750 + 5, [] {
    EXPECT_TRUE(Shows(20, 19, "追加強化発動！名前を入力して下さい。", 9, 15));
    EXPECT_TRUE(Shows(20, 20, "┏━━━━━━━━┓", 0, 15));
    EXPECT_TRUE(Shows(20, 21, "┃                ┃", 0, 15));
    EXPECT_TRUE(Shows(20, 22, "┗━━━━━━━━┛", 0, 15));
    EXPECT_TRUE(console.cursor().visible);
    EXPECT_EQ(console.cursor().column, 22);
    EXPECT_EQ(console.cursor().row, 21);
  });
  keys.pause(10);
  keys.type("Zed");
  At(1500 + 750 + 20, [] {
    EXPECT_TRUE(Shows(20, 21, "┃Zed             ┃", 0, 15));
    EXPECT_EQ(console.cursor().column, 25);
  });
  keys.pause(20);
  keys.type("\r");
  ASSERT_TRUE(NameBoost());
  EXPECT_FALSE(console.cursor().visible);
  ASSERT_EQ(sound.names("play_wave"), std::vector<std::string>{"kettei.wav"});
  EXPECT_EQ(console.now(), sound.calls()[0].time + 2000);
}

TEST_F(NameBoostTest, RefusesAnEmptyNameAndIgnoresArrows) {
  const Fighter before = player;
  keys.type("\r");           // refused with a sound
  keys.type("\xE0K");        // an arrow key inserts nothing
  keys.type("abc\r");
  ASSERT_TRUE(NameBoost());
  EXPECT_EQ(player.maxHp, before.maxHp + 240);
  EXPECT_EQ(player.agility, before.agility + 5);
  EXPECT_EQ(player.attack, before.attack + 25);
  const auto log = TimedSoundLog(sound);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], std::to_string(1500 + 750) + " wave kettei.wav");
  EXPECT_EQ(log[1].substr(log[1].find(' ')), " wave kettei.wav");
  EXPECT_GT(sound.calls()[1].time, sound.calls()[0].time);
}

TEST_F(NameBoostTest, RunsOnlyAfterTheThirdRound) {
  for (int round : {2, 3, 4}) {
    SCOPED_TRACE(round);
    runState = {round, round - 1, 10};
    keys.type("A\r");
    keys.press(kKeyEnter);
    const Fighter before = player;
    EXPECT_EQ(VictoryScreen(), Screen::RoundIntro);
    const bool boosted = player.attack - before.attack > 50;  // growth alone adds at most 50
    EXPECT_EQ(boosted, round == 3);
    EXPECT_EQ(Text(20, 19, 14) == "ステータス成長", round == 3);
  }
}

TEST_F(NameBoostTest, EndsWhenTheSessionEndsWhileTyping) {
  keys.type("ab");
  EXPECT_FALSE(NameBoost());
  runState = {3, 2, 10};
  EXPECT_EQ(VictoryScreen(), Screen::Quit);
}
