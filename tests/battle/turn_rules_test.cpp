// The rules of a turn beyond its messages: recovery rolls, who acts first and the pacing (the
// blow that ends a turn is in the command menu's run; a fall and a revival in the whole runs).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>
#include <utility>

#include "game/battle/enemy_command.hpp"
#include "game/battle/play_turn.hpp"
#include "tests/battle/battle_fixture.hpp"

using TurnRulesTest = BattleFixture;

TEST_F(TurnRulesTest, CounterRecoveryIsDrawnAndCappedButToldInFull) {
  // Least and most HP, then MP, told over many turns; HP and MP stop at their maxima.
  struct { bool opponent; int hp; std::array<int, 4> gains; } const cases[] = {
      // 1..3 x (400 / 20) + 0..15; 1..4 x (300 / 20) + 0..15, told in full though capped
      {false, 398, {20, 75, 15, 75}},
      {true, 100, {5, 35, 15, 75}},  // 1..4 x (100 / 20) + 0..15: the current HP counts
      {true, 19, {0, 15, 15, 75}},   // below 20 HP only the addend is left
  };
  const std::regex figures("を([0-9]+)、ＭＰを([0-9]+)");
  Combatant p = PlayerSide(), e = OpponentSide();
  for (const auto& c : cases) {
    p.command = c.opponent ? Attack : Counter;
    e.command = c.opponent ? Counter : Attack;
    Combatant& side = c.opponent ? e : p;
    side.maxHp = 400;
    side.maxMp = 300;
    std::array<int, 4> gains{999, 0, 999, 0};
    for (int i = 0; i < 500; ++i) {
      side.hp = c.hp;
      side.mp = 250;
      ApplyCounterRecovery(p, e);
      const std::string line = Text(20, 19, 59);
      std::smatch told;
      ASSERT_TRUE(std::regex_search(line, told, figures)) << line;
      const int hp = std::stoi(told[1]), mp = std::stoi(told[2]);
      EXPECT_EQ(std::pair(side.hp, side.mp),
                std::pair(std::min(c.hp + hp, 400), std::min(250 + mp, 300)));
      gains = {std::min(gains[0], hp), std::max(gains[1], hp), std::min(gains[2], mp),
               std::max(gains[3], mp)};
    }
    EXPECT_EQ(gains, c.gains) << c.opponent << " at " << c.hp;
  }
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
