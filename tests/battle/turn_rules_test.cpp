// The arithmetic of a turn (damage, counters, magic, hit chance, recovery), who acts first,
// the pacing, and a deciding blow that ends the turn at once.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>

#include "game/battle/enemy_command.hpp"
#include "game/battle/play_turn.hpp"
#include "game/battle/status_bars.hpp"
#include "game/battle/strike_scripts.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

class TurnRulesTest : public BattleFixture {
 protected:
  // Plays one script of x on y `times` times, each from full HP, and returns the HP that y
  // (or x, for a counter) lost each time it lost any.
  template <typename Script>
  std::set<int> Losses(Script script, int times, bool countered = false) {
    std::set<int> losses;
    gameRandom.seed(3);
    for (int i = 0; i < times; ++i) {
      player.hp = player.maxHp = 999;
      player.mp = 999;
      roster.hp[0] = roster.maxHp[0] = 999;
      Combatant x = PlayerSide();
      Combatant y = OpponentSide();
      const int& watched = countered ? x.hp : y.hp;
      script(x, y);
      if (watched < 999) losses.insert(999 - watched);
    }
    return losses;
  }
};

std::pair<int, int> Span(const std::set<int>& values) {
  return values.empty() ? std::pair(0, 0) : std::pair(*values.begin(), *values.rbegin());
}

}  // namespace

TEST_F(TurnRulesTest, WorkedDamageAndCounterFigures) {
  // Attacker: attack 300, magic 200, defence 150; target defence 200.
  player.attack = 300;
  player.magic = 200;
  player.defence = 150;
  roster.defence[0] = 200;
  roster.agility[0] = 1;
  struct Case {
    BattleCommand mine, theirs;
    bool countered;
    int low, high;
  } cases[] = {
      {Attack, Attack, false, 51, 80},     // base 100 - 50
      {Attack, StrongAttack, false, 126, 155},  // power 450, guard 100
      {Attack, Counter, true, 47, 76},     // counter power 250 on 150
      {Magic, Counter, true, 89, 118},     // counter power 375 on 150
  };
  for (const Case& c : cases) {
    playerCommand = c.mine;
    enemyCommand = c.theirs;
    const auto losses = Losses(
        [&](Combatant& x, Combatant& y) {
          if (c.theirs != Counter) return StrikeWithHitRoll(x, y);
          return c.mine == Magic ? MagicIntoCounter(x, y) : AttackIntoCounter(x, y);
        },
        1000, c.countered);
    EXPECT_EQ(Span(losses), std::pair(c.low, c.high)) << c.mine << "/" << c.theirs;
    EXPECT_EQ(losses.size(), 30u) << c.mine << "/" << c.theirs;
  }
}

TEST_F(TurnRulesTest, MagicDealsAThirdOfTheCastersMagicAndCostsOneHundredAndFifty) {
  playerCommand = Magic;
  enemyCommand = Attack;
  for (auto [magic, damage] : {std::pair(280, 93), std::pair(2, 0)}) {
    player.magic = magic;
    const std::set<int> dealt =
        Losses([](Combatant& x, Combatant& y) { return CastMagic(x, y); }, 5);
    if (damage == 0) {
      EXPECT_TRUE(dealt.empty());
    } else {
      EXPECT_EQ(dealt, std::set<int>{damage});
    }
    EXPECT_EQ(player.mp, 999 - 150);
  }
}

TEST_F(TurnRulesTest, HitChanceFallsWithTheDefendersAgilityAndMissesChangeNothing) {
  struct Case {
    BattleCommand command;
    int defenderAgility;  // the attacker has 100
    int landingPercent;   // chance + 1
  } cases[] = {{Attack, 299, 91}, {Attack, 300, 81}, {Attack, 499, 81}, {Attack, 1100, 41},
               {StrongAttack, 100, 76}, {StrongAttack, 300, 51}, {StrongAttack, 500, 41}};
  player.agility = 100;
  enemyCommand = Attack;
  for (const Case& c : cases) {
    playerCommand = c.command;
    roster.agility[0] = c.defenderAgility;
    sound.forget();
    const int strikes = 1000;
    int hits = 0;
    gameRandom.seed(11);
    for (int i = 0; i < strikes; ++i) {
      roster.hp[0] = 999;
      Combatant x = PlayerSide();
      Combatant y = OpponentSide();
      StrikeWithHitRoll(x, y);
      hits += roster.hp[0] < 999;
    }
    EXPECT_NEAR(hits * 100.0 / strikes, c.landingPercent, 3.5) << c.command << " on " << c.defenderAgility;
    EXPECT_EQ(sound.names("play_wave").size(), static_cast<std::size_t>(hits));
  }
}

TEST_F(TurnRulesTest, AnAttackBreaksACounterOnSixtySixOfHundredAndOneDraws) {
  playerCommand = Attack;
  enemyCommand = Counter;
  int countered = 0;
  gameRandom.seed(5);
  for (int i = 0; i < 2000; ++i) {
    player.hp = roster.hp[0] = 999;
    Combatant x = PlayerSide();
    Combatant y = OpponentSide();
    AttackIntoCounter(x, y);
    countered += player.hp < 999;
    ASSERT_NE(player.hp < 999, roster.hp[0] < 999);  // exactly one side is hurt
  }
  EXPECT_NEAR(countered / 2000.0, 35.0 / 101, 0.03);
}

TEST_F(TurnRulesTest, CounterRecoveryFiguresAndCaps) {
  struct Case {
    bool opponent;
    int maxHp, hp, maxMp, hpLow, hpHigh, mpLow, mpHigh;
  } cases[] = {
      {false, 400, 100, 300, 20, 75, 15, 75},  // 1..3 x 20 + 0..15; 1..4 x 15 + 0..15
      {true, 400, 100, 300, 5, 35, 15, 75},    // 1..4 x (100 / 20) + 0..15
      {true, 400, 19, 300, 0, 15, 15, 75},     // below 20 HP only the addend is left
  };
  for (const Case& c : cases) {
    playerCommand = c.opponent ? Attack : Counter;
    enemyCommand = c.opponent ? Counter : Attack;
    std::set<int> hpGains, mpGains;
    gameRandom.seed(17);
    for (int i = 0; i < 500; ++i) {
      int& hp = c.opponent ? roster.hp[0] : player.hp;
      int& mp = c.opponent ? roster.mp[0] : player.mp;
      (c.opponent ? roster.maxHp[0] : player.maxHp) = c.maxHp;
      (c.opponent ? roster.maxMp[0] : player.maxMp) = c.maxMp;
      hp = c.hp;
      mp = 0;
      Combatant p = PlayerSide();
      Combatant e = OpponentSide();
      ApplyCounterRecovery(p, e);
      hpGains.insert(hp - c.hp);
      mpGains.insert(mp);
    }
    EXPECT_EQ(Span(hpGains), std::pair(c.hpLow, c.hpHigh)) << c.opponent << c.hp;
    EXPECT_EQ(Span(mpGains), std::pair(c.mpLow, c.mpHigh)) << c.opponent << c.hp;
  }

  // Near the maximum the HP stops there, but the line tells the gain as drawn.
  playerCommand = Counter;
  enemyCommand = Attack;
  player.maxHp = 400;
  player.hp = 398;
  player.maxMp = player.mp = 300;
  Combatant p = PlayerSide();
  Combatant e = OpponentSide();
  ApplyCounterRecovery(p, e);
  EXPECT_EQ(player.hp, 400);
  EXPECT_EQ(player.mp, 300);
  const std::string line = Styled(20, 19, 59);
  EXPECT_EQ(line.rfind("{9}HERO{0}はＨＰを{2}", 0), 0u) << line;
  EXPECT_GE(std::stoi(line.substr(std::string("{9}HERO{0}はＨＰを{2}").size())), 20) << line;
}

TEST_F(TurnRulesTest, ThePlayerActsFirstOnlyWhenStrictlyFaster) {
  struct Case {
    int playerAgility;
    const char* firstLine;
  } cases[] = {{101, "{9}HERO{0}の攻撃！"},
               {100, "{5}自称勇者ぽこぺ{0}の攻撃！"},
               {99, "{5}自称勇者ぽこぺ{0}の攻撃！"}};
  roster.agility[0] = 100;
  for (const Case& c : cases) {
    lines.clear();
    player.hp = player.maxHp;
    roster.hp[0] = roster.maxHp[0];
    player.agility = c.playerAgility;
    playerCommand = Attack;
    gameRandom.seed(SeedFor(Attack));
    WatchMessages(console.now() + 600, 10);
    PlayTurn();
    ASSERT_FALSE(lines.empty()) << c.playerAgility << " " << console.now();
    EXPECT_EQ(lines.front(), (MessageLine{19, c.firstLine})) << c.playerAgility;
  }
}

TEST_F(TurnRulesTest, PausesBetweenTheStepsOfAnExchange) {
  struct Case {
    BattleCommand mine, theirs;
    bool counterSucceeds;
    const char* sound;
    std::uint32_t at;  // after the turn starts
  } cases[] = {
      {Attack, Attack, false, "tuzyou.wav", 500},         // announcement, 500
      {Attack, Counter, true, "flush.wav", 1000},         // announcement, counter, 500 each
      {StrongAttack, Counter, false, "kyouda.wav", 1000}, // two lines, 500 each
      {Magic, Counter, false, "flush.wav", 1500},         // three lines, 500 each
  };
  player.agility = 101;
  roster.agility[0] = 100;
  for (const Case& c : cases) {
    player.hp = player.maxHp;
    player.mp = player.maxMp;
    roster.hp[0] = roster.maxHp[0];
    sound.forget();
    playerCommand = c.mine;
    gameRandom.seed(SeedFor(c.theirs, c.counterSucceeds));
    const std::uint32_t start = console.now();
    PlayTurn();
    ASSERT_FALSE(sound.calls().empty());
    EXPECT_EQ(sound.calls().front().name, c.sound);
    EXPECT_EQ(sound.calls().front().time - start, c.at) << c.sound;
  }
}

TEST_F(TurnRulesTest, TheDecidingBlowEndsTheTurnAtOnce) {
  // The player is faster; the opponent has 50 HP, less than either blow below deals.
  struct Case {
    BattleCommand mine, theirs;
    const char* sound;
    int damageRow;
    std::uint32_t ms;
  } cases[] = {
      // Announcement, 500, the opponent's HP bar (20 cells) and the player's MP bar (10).
      {Magic, Attack, "mahou.wav", 20, 500 + 30 * 15},
      // The Counter fails: announcement, 500, the bar, its line, 500, the damage line. The
      // opponent's recovery never comes.
      {Attack, Counter, "tuzyou.wav", 21, 500 + 20 * 15 + 500},
  };
  player.agility = 101;
  roster.agility[0] = 100;
  for (const Case& c : cases) {
    player.mp = player.maxMp;
    roster.hp[0] = 50;
    SetShownValuesToCurrent();
    playerCommand = c.mine;
    sound.forget();
    gameRandom.seed(SeedFor(c.theirs, false));
    const std::uint32_t start = console.now();
    EXPECT_EQ(PlayTurn(), BattleOutcome::Won);
    EXPECT_EQ(roster.hp[0], 0);
    // Nothing after the damage line, not even a pause; it stays on the screen.
    EXPECT_EQ(console.now() - start, c.ms) << c.sound;
    EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>{c.sound});
    const std::string damage = Styled(20, c.damageRow, 59);
    EXPECT_EQ(damage.rfind("{5}自称勇者ぽこぺ{0}は{12}", 0), 0u) << damage;
    for (int row = c.damageRow + 1; row <= 23; ++row) EXPECT_EQ(Styled(20, row, 59), "");
  }
}

TEST_F(TurnRulesTest, PhasesAndRecoveriesEachHoldASecond) {
  // Full HP and MP on both sides, the player faster: misses and capped recoveries move no
  // bar, so the turn's length is its pauses alone.
  const std::string P = "{9}HERO{0}";
  const std::string E = "{5}自称勇者ぽこぺ{0}";
  const std::string kMiss = "しかし攻撃は外れてしまった！";
  struct Case {
    const char* name;
    BattleCommand mine;
    std::function<bool(GameRandom&)> draws;
    std::vector<MessageLine> lines;
    std::vector<std::uint32_t> at;  // when each line appears, after the turn starts
  } cases[] = {
      {"both miss", Attack,
       [](GameRandom& r) {
         const bool attack = r.next() % 10 < 2;
         r.next();
         const bool playerMisses = r.next() % 100 > 90;
         r.next();
         return attack && playerMisses && r.next() % 100 > 90;
       },
       {{19, P + "の攻撃！"}, {20, kMiss}, {19, E + "の攻撃！"}, {20, kMiss}},
       {0, 500, 1500, 2000}},
      {"both counter", Counter,
       [](GameRandom& r) { return EnemyCommandTable[0][r.next() % 10] == Counter; },
       {{19, "お互い顔を見合わせている...。"},
        {19, "{9}HERO{0}はＨＰを{2}#{0}、ＭＰを{2}#{0}回復した。"},
        {20, "{9}自称勇者ぽこぺ{0}はＨＰを{2}#{0}、ＭＰを{2}#{0}回復した。"}},
       {0, 1000, 2000}},
  };
  for (auto& c : cases) {
    lines.clear();
    lineTimes.clear();
    sound.forget();
    // Scribbles where the figures go: a turn that calls no bar update leaves them.
    for (auto [column, row] : {std::pair(3, 3), std::pair(57, 12)}) {
      console.locate(column, row);
      console.print("scribble");
    }
    playerCommand = c.mine;
    gameRandom.seed(SeedWhere(c.draws));
    const std::uint32_t start = console.now();
    WatchMessages(start + 4000, 10);
    EXPECT_EQ(PlayTurn(), BattleOutcome::Continues);

    EXPECT_EQ(console.now() - start, 3000u) << c.name;
    for (MessageLine& line : lines)  // recovery figures vary with the draws
      line.text = std::regex_replace(line.text, std::regex("\\}[0-9]+\\{"), "}#{");
    EXPECT_EQ(lines, c.lines) << c.name;
    ASSERT_EQ(lineTimes.size(), c.at.size()) << c.name;
    for (std::size_t i = 0; i < c.at.size(); ++i)
      EXPECT_EQ(lineTimes[i] - start, c.at[i] + 1) << c.name << " line " << i;
    EXPECT_EQ(player.hp, player.maxHp);
    EXPECT_EQ(roster.hp[0], roster.maxHp[0]);
    EXPECT_TRUE(sound.names("play_wave").empty()) << c.name;
    EXPECT_EQ(Text(3, 3, 8) == "scribble", c.mine != Counter) << c.name;
  }
}

TEST_F(TurnRulesTest, AFallenPlayerWhoRisesFinishesTheTurn) {
  // The opponent is faster and casts; the player, at 30 HP, falls before acting.
  struct Case {
    bool rises;
    BattleOutcome outcome;
  } cases[] = {{true, BattleOutcome::Continues}, {false, BattleOutcome::Lost}};
  roster.agility[0] = player.agility + 1;
  for (const Case& c : cases) {
    player.hp = 30;
    roster.hp[0] = roster.maxHp[0];
    playerCommand = Attack;
    lines.clear();
    gameRandom.seed(SeedForFall(Magic, c.rises));
    WatchMessages(console.now() + 10000, 10);
    EXPECT_EQ(PlayTurn(), c.outcome) << c.rises;
    bool playerActed = false;
    for (const MessageLine& line : lines) playerActed = playerActed || line.text == "{9}HERO{0}の攻撃！";
    EXPECT_EQ(playerActed, c.rises);
    EXPECT_EQ(player.hp > 0, c.rises);
  }
}
