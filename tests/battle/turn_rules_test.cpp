// The rules of a turn beyond its messages: its figures at their edges, who acts first and the
// pacing (the blow that ends a turn is in the command menu's run; a fall and a revival in the
// whole runs).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/battle/enemy_command.hpp"
#include "game/battle/play_turn.hpp"
#include "tests/battle/battle_fixture.hpp"

using TurnRulesTest = BattleFixture;

// Whole turns whose draws are known, with figures where a wrong rounding or a wrong order of
// draws changes a number on the screen. The player: max HP 800 at 790, max MP 600 at 400,
// attack 601, defence 400, magic 335, agility 100; the opponent: max HP 800 at 500, max MP
// 600 at 400, attack 600, defence 407, magic 330, agility 50.
TEST_F(TurnRulesTest, EachFigureAsWorkedOutByHand) {
  const std::string hero = "{9}HERO{0}", pokope = "{5}自称勇者ぽこぺ{0}";
  const struct {
    const char* what;
    BattleCommand player;
    std::uint32_t seed;  // its draws, from the first: the opponent's command, then the rolls
    int row;
    std::string line;
  } cases[] = {
      // 525 % 10 = 5: Counter; 3600 % 30 = 0. 901 / 3 - (407 x 0.5 = 203) / 4 = 250, + 1.
      {"a StrongAttack into a Counter", StrongAttack, 149, 21, pokope + "は{12}251のダメージ{0}を受けた！"},
      // (601 + 335) / 2 = 468, x 1.5 = 702; 702 / 3 - 400 / 4 = 134, + 3600 % 30 + 1.
      {"a Magic countered", Magic, 149, 22, hero + "は{12}135のダメージ{0}を受けた！"},
      // 41 % 10 = 1: Attack. 335 / 3 = 111, no draw.
      {"a Magic that lands", Magic, 1, 20, pokope + "は{12}111のダメージ{0}を受けた！"},
      // 355: Counter; 17358 % 101 = 87: it succeeds; 468 / 3 - 100 = 56, + 10050 % 30 + 1.
      {"an Attack countered", Attack, 97, 21, hero + "は{12}57のダメージ{0}を受けた！"},
      // 2427: Counter. The player: (12623 % 3 + 1) x 800 / 20 + 27264 % 16 = 120 HP, then
      // (29840 % 4 + 1) x 600 / 20 + 7776 % 16 = 30 MP. The opponent, from its current HP:
      // (20003 % 4 + 1) x 500 / 20 + 26550 % 16 = 106 HP, (20248 % 4 + 1) x 30 + 12430 % 16 = 44 MP.
      {"the player's recovery", Counter, 101075, 19, hero + "はＨＰを{2}120{0}、ＭＰを{2}30{0}回復した。"},
      {"the opponent's recovery", Counter, 101075, 20,
       "{9}自称勇者ぽこぺ{0}はＨＰを{2}106{0}、ＭＰを{2}44{0}回復した。"},
  };
  for (const auto& c : cases) {
    const Combatant p = PlayerSide(), e = OpponentSide();
    p.maxHp = e.maxHp = 800;
    p.hp = 790;
    e.hp = 500;
    p.maxMp = e.maxMp = 600;
    p.mp = e.mp = 400;
    p.attack = 601;
    e.attack = 600;
    p.defence = 400;
    e.defence = 407;
    p.magic = 335;
    e.magic = 330;
    p.agility = 100;
    e.agility = 50;
    playerCommand = c.player;
    gameRandom.seed(c.seed);
    lines.clear();
    WatchMessages(console.now() + 8000);
    ASSERT_EQ(PlayTurn(), BattleOutcome::Continues) << c.what;
    EXPECT_NE(std::find(lines.begin(), lines.end(), MessageLine(c.row, c.line)), lines.end())
        << c.what << ": the turn told " << ::testing::PrintToString(lines);
  }
  // The last turn: the player's 120 HP stop at its maximum; the line tells them in full.
  EXPECT_EQ(player.hp, 800) << "HP recovered past the maximum";
  EXPECT_EQ(player.mp, 430);
  EXPECT_EQ(roster.hp[0], 606);
  EXPECT_EQ(roster.mp[0], 444);
}

TEST_F(TurnRulesTest, TheOpponentActsFirstAtEqualAgilityAndEachPartHoldsItsPause) {
  roster.agility[0] = player.agility;
  gameRandom.seed(SeedWhere([](GameRandom& r) {  // Attack, then both hit rolls at 91: misses
    int draws[5];
    for (int& d : draws) d = r.next();
    return EnemyCommandTable[0][draws[0] % 10] == Attack && draws[2] % 100 == 91 &&
           draws[4] % 100 == 91;
  }));
  WatchMessages(3000);
  EXPECT_EQ(PlayTurn(), BattleOutcome::Continues);
  // An announcement, its miss 500 later, a second's pause, the other side's: no sound, no bar.
  const std::vector<MessageLine> told = {{19, "{5}自称勇者ぽこぺ{0}の攻撃！"},
                                         {20, "しかし攻撃は外れてしまった！"},
                                         {19, "{9}HERO{0}の攻撃！"},
                                         {20, "しかし攻撃は外れてしまった！"}};
  EXPECT_EQ(lines, told);
  EXPECT_EQ(lineTimes, (std::vector<std::uint32_t>{1, 501, 1501, 2001}));
  EXPECT_EQ(console.now(), 3000u);
  EXPECT_TRUE(sound.names("play_wave").empty());
}
