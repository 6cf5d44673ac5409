// The opponent's choice: its row of the table, one draw, and Magic only with 150 MP.
#include <gtest/gtest.h>

#include "game/battle/enemy_command.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

using EnemyCommandTest = BattleFixture;

TEST_F(EnemyCommandTest, EachOpponentPicksFromItsOwnRowByOneDraw) {
  // Commands in the order of entries 0..9 (A attack, S strong, C counter, M magic).
  const char* rows[7] = {"AASSSCCCMM", "AASSSCCMMM", "AAASSSCMMM", "AASSSCCMMM",
                         "AASSSSCCCM", "ASCCCCMMMM", "ASSSCCCMMM"};
  const char letters[] = "ASCM";
  for (int slot = 0; slot < 7; ++slot) {
    runState.opponentIndex = slot;
    roster.mp[slot] = 999;
    for (int turn = 0; turn < 50; ++turn) {
      GameRandom next = gameRandom;
      const int entry = next.next() % 10;
      ChooseEnemyCommand();
      ASSERT_EQ(letters[enemyCommand], rows[slot][entry]) << "slot " << slot << " entry " << entry;
      // Exactly one draw was taken.
      ASSERT_EQ(gameRandom.next(), next.next());
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
