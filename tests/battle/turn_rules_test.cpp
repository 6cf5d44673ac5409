// The rolls of a turn (hit, counter, recovery), who acts first, the pacing, and the blow
// that ends the turn at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "game/battle/enemy_command.hpp"
#include "game/battle/message_area.hpp"
#include "game/battle/play_turn.hpp"
#include "game/battle/status_bars.hpp"
#include "game/battle/strike_scripts.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

using TurnRulesTest = BattleFixture;

TEST_F(TurnRulesTest, TheRollAfterTheDamageDecidesAHitOrACounter) {
  // At equal agility an Attack lands on draws 0..90 of 100, a StrongAttack on 0..75; an
  // Attack breaks a Counter on draws 0..65 of 101 and is countered on the rest.
  struct { BattleCommand mine, theirs; int modulus, draw; bool opponentHurt, playerHurt; } const cases[] = {
      {Attack, Attack, 100, 90, true, false},       {Attack, Attack, 100, 91, false, false},
      {StrongAttack, Attack, 100, 75, true, false}, {StrongAttack, Attack, 100, 76, false, false},
      {Attack, Counter, 101, 65, true, false},      {Attack, Counter, 101, 66, false, true},
  };
  for (const auto& c : cases) {
    player.hp = roster.hp[0] = 999;
    roster.agility[0] = player.agility;
    playerCommand = c.mine;
    enemyCommand = c.theirs;
    sound.forget();
    ClearMessageArea();
    gameRandom.seed(SeedWhere([&c](GameRandom& r) { return r.next(), r.next() % c.modulus == c.draw; }));
    Combatant x = PlayerSide(), y = OpponentSide();
    c.theirs == Counter ? AttackIntoCounter(x, y) : StrikeWithHitRoll(x, y);
    SCOPED_TRACE(::testing::Message() << c.mine << " into " << c.theirs << ", draw " << c.draw);
    EXPECT_EQ(roster.hp[0] < 999, c.opponentHurt);
    EXPECT_EQ(player.hp < 999, c.playerHurt);
    // A miss is told and silent.
    EXPECT_EQ(sound.names("play_wave").empty(), !c.opponentHurt && !c.playerHurt);
    if (c.theirs != Counter && !c.opponentHurt) {
      EXPECT_EQ(Styled(20, 20, 59), "しかし攻撃は外れてしまった！");
    }
  }
}

TEST_F(TurnRulesTest, CounterRecoveryFiguresAndCaps) {
  // Smallest and largest HP and MP gains over many turns.
  struct { bool opponent; int hp; std::pair<int, int> hpGain, mpGain; } const cases[] = {
      {false, 100, {20, 75}, {15, 75}},  // 1..3 x (400 / 20) + 0..15; 1..4 x (300 / 20) + 0..15
      {true, 100, {5, 35}, {15, 75}},    // 1..4 x (100 / 20) + 0..15: the current HP counts
      {true, 19, {0, 15}, {15, 75}},     // below 20 HP only the addend is left
  };
  for (const auto& c : cases) {
    playerCommand = c.opponent ? Attack : Counter;
    enemyCommand = c.opponent ? Counter : Attack;
    int& hp = c.opponent ? roster.hp[0] : player.hp;
    int& mp = c.opponent ? roster.mp[0] : player.mp;
    (c.opponent ? roster.maxHp[0] : player.maxHp) = 400;
    (c.opponent ? roster.maxMp[0] : player.maxMp) = 300;
    std::pair<int, int> hpGain{999, 0}, mpGain{999, 0};
    gameRandom.seed(17);
    for (int i = 0; i < 500; ++i) {
      hp = c.hp;
      mp = 0;
      Combatant p = PlayerSide(), e = OpponentSide();
      ApplyCounterRecovery(p, e);
      hpGain = {std::min(hpGain.first, hp - c.hp), std::max(hpGain.second, hp - c.hp)};
      mpGain = {std::min(mpGain.first, mp), std::max(mpGain.second, mp)};
    }
    EXPECT_EQ(hpGain, c.hpGain) << c.opponent << " at " << c.hp;
    EXPECT_EQ(mpGain, c.mpGain) << c.opponent << " at " << c.hp;
  }

  // Near the maximum the HP stops there, but the line tells the gain as drawn.
  playerCommand = Counter;
  enemyCommand = Attack;
  player.hp = 398;
  player.mp = 300;
  Combatant p = PlayerSide(), e = OpponentSide();
  ApplyCounterRecovery(p, e);
  EXPECT_EQ(std::pair(player.hp, player.mp), std::pair(400, 300));
  const std::string line = Styled(20, 19, 59);
  const std::string opening = "{9}HERO{0}はＨＰを{2}";
  ASSERT_EQ(line.rfind(opening, 0), 0u) << line;
  EXPECT_GE(std::stoi(line.substr(opening.size())), 20) << line;
}

TEST_F(TurnRulesTest, ThePlayerActsFirstOnlyWhenStrictlyFaster) {
  struct { int playerAgility; const char* firstLine; } const cases[] = {
      {101, "{9}HERO{0}の攻撃！"}, {100, "{5}自称勇者ぽこぺ{0}の攻撃！"}, {99, "{5}自称勇者ぽこぺ{0}の攻撃！"}};
  roster.agility[0] = 100;
  playerCommand = Attack;
  for (const auto& c : cases) {
    player.agility = c.playerAgility;
    gameRandom.seed(SeedFor(Attack));
    At(console.now() + 10, [c] { EXPECT_EQ(Styled(20, 19, 59), c.firstLine) << c.playerAgility; });
    PlayTurn();
  }
}

TEST_F(TurnRulesTest, TheDecidingBlowEndsTheTurnAtOnce) {
  // The player is faster; the opponent has 50 HP, less than either blow below deals.
  struct { BattleCommand mine, theirs; const char* sound; int damageRow; std::uint32_t ms; } const cases[] = {
      // Announcement, 500, the opponent's HP bar (20 cells) and the player's MP bar (10).
      {Magic, Attack, "mahou.wav", 20, 500 + 30 * 15},
      // The Counter fails: announcement, 500, the bar, its line, 500, the damage line. The
      // opponent's recovery never comes.
      {Attack, Counter, "tuzyou.wav", 21, 500 + 20 * 15 + 500},
  };
  player.agility = 101;
  for (const auto& c : cases) {
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
  // When each message line appears, after the turn starts.
  struct { BattleCommand mine; std::function<bool(GameRandom&)> draws; std::vector<std::uint32_t> at; } cases[] = {
      // Both miss: an announcement, its miss line 500 later, a second's pause, the other's.
      {Attack,
       [](GameRandom& r) {  // the pick, then each side's damage and hit rolls
         const bool attack = r.next() % 10 < 2;
         r.next();
         const bool playerMisses = r.next() % 100 > 90;
         r.next();
         return attack && playerMisses && r.next() % 100 > 90;
       },
       {0, 500, 1500, 2000}},
      // Both counter: they face each other, then each recovery holds a second.
      {Counter, [](GameRandom& r) { return EnemyCommandTable[0][r.next() % 10] == Counter; },
       {0, 1000, 2000}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.mine);
    lineTimes.clear();
    playerCommand = c.mine;
    gameRandom.seed(SeedWhere(c.draws));
    const std::uint32_t start = console.now();
    WatchMessages(start + 4000, 10);
    EXPECT_EQ(PlayTurn(), BattleOutcome::Continues);

    EXPECT_EQ(console.now() - start, 3000u);
    for (std::uint32_t& t : lineTimes) t -= start + 1;
    EXPECT_EQ(lineTimes, c.at);
    EXPECT_EQ(std::pair(player.hp, roster.hp[0]), std::pair(player.maxHp, roster.maxHp[0]));
    EXPECT_TRUE(sound.names("play_wave").empty());
  }
}

TEST_F(TurnRulesTest, AFallenPlayerWhoRisesFinishesTheTurn) {
  // The opponent is faster and casts; the player, at 30 HP, falls before acting.
  roster.agility[0] = player.agility + 1;
  playerCommand = Attack;
  for (bool rises : {true, false}) {
    player.hp = 30;
    lines.clear();
    gameRandom.seed(SeedForFall(Magic, rises));
    WatchMessages(console.now() + 10000, 10);
    EXPECT_EQ(PlayTurn(), rises ? BattleOutcome::Continues : BattleOutcome::Lost) << rises;
    EXPECT_EQ(std::ranges::count(lines, MessageLine{19, "{9}HERO{0}の攻撃！"}), rises ? 1 : 0);
    EXPECT_EQ(player.hp > 0, rises);
  }
}
