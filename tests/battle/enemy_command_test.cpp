// The opponent's choice: its row of the table, one draw, and Magic only with 150 MP.
#include <gtest/gtest.h>

#include "game/battle/enemy_command.hpp"
#include "game/battle/play_turn.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

using EnemyCommandTest = BattleFixture;

TEST_F(EnemyCommandTest, EachOpponentPicksFromItsOwnRowByOneDraw) {
  // Commands in the order of entries 0..9 (A attack, S strong, C counter, M magic).
  const char* rows[7] = {"AASSSCCCMM", "AASSSCCMMM", "AAASSSCMMM", "AASSSCCMMM",
                         "AASSSSCCCM", "ASCCCCMMMM", "ASSSCCCMMM"};
  const char letters[] = "ASCM";
  for (int entry = 0; entry < 10; ++entry) {
    const std::uint32_t seed = SeedWhere([entry](GameRandom& r) { return r.next() % 10 == entry; });
    for (int slot = 0; slot < 7; ++slot) {
      runState.opponentIndex = slot;
      roster.mp[slot] = 999;
      gameRandom.seed(seed);
      GameRandom next = gameRandom;
      next.next();
      ChooseEnemyCommand();
      EXPECT_EQ(letters[enemyCommand], rows[slot][entry]) << "slot " << slot << " entry " << entry;
      // Exactly one draw was taken.
      EXPECT_EQ(gameRandom.next(), next.next()) << "slot " << slot << " entry " << entry;
    }
  }
}

TEST_F(EnemyCommandTest, MagicNeedsOneHundredAndFiftyMpOrBecomesCounter) {
  runState.opponentIndex = 5;  // 4 Magic entries, 4 Counter entries
  for (int mp : {149, 150}) {
    roster.mp[5] = mp;
    int counts[4] = {};
    gameRandom.seed(99);
    for (int turn = 0; turn < 1000; ++turn) {
      ChooseEnemyCommand();
      ++counts[enemyCommand];
    }
    EXPECT_GT(counts[Attack], 0);
    EXPECT_GT(counts[StrongAttack], 0);
    if (mp < 150) {
      EXPECT_EQ(counts[Magic], 0);
      EXPECT_GT(counts[Counter], 700);  // 8 of 10 entries
    } else {
      EXPECT_GT(counts[Magic], 300);
      EXPECT_LT(counts[Counter], 500);
    }
  }
}

TEST_F(EnemyCommandTest, TheTurnHeaderShowsTheCommandAfterTheMpRule) {
  // The first draw picks a Magic entry; the header names what the opponent really does.
  const std::uint32_t magicSeed =
      SeedWhere([](GameRandom& r) { return EnemyCommandTable[0][r.next() % 10] == Magic; });
  for (auto [mp, shown] : {std::pair(149, "カウンター"), std::pair(150, "魔法攻撃")}) {
    roster.mp[0] = mp;
    roster.hp[0] = roster.maxHp[0];
    player.hp = player.maxHp;
    enemyCommand = Attack;  // the last turn's pick, not to be shown
    playerCommand = Counter;
    gameRandom.seed(magicSeed);
    PlayTurn();
    EXPECT_EQ(enemyCommand, mp < 150 ? Counter : Magic);
    EXPECT_TRUE(Shows(55, 5, shown, 0, 15)) << mp;
  }
}
