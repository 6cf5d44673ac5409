// The opponent's choice: its row of the table, one draw, and Magic only with 150 MP.
#include <gtest/gtest.h>

#include "game/battle/enemy_command.hpp"
#include "tests/battle/battle_fixture.hpp"

using EnemyCommandTest = BattleFixture;

TEST_F(EnemyCommandTest, EachOpponentPicksFromItsOwnRowByOneDrawAndCastsOnlyWith150Mp) {
  // Commands in the order of entries 0..9 (A attack, S strong, C counter, M magic).
  const char* rows[7] = {"AASSSCCCMM", "AASSSCCMMM", "AAASSSCMMM", "AASSSCCMMM",
                         "AASSSSCCCM", "ASCCCCMMMM", "ASSSCCCMMM"};
  for (int entry = 0; entry < 10; ++entry) {
    const std::uint32_t seed = SeedWhere([entry](GameRandom& r) { return r.next() % 10 == entry; });
    for (int slot = 0; slot < 7; ++slot) {
      for (int mp : {149, 150}) {
        runState.opponentIndex = slot;
        roster.mp[slot] = mp;
        gameRandom.seed(seed);
        ChooseEnemyCommand();
        // Below 150 MP a Magic entry becomes a Counter.
        const char listed = rows[slot][entry];
        EXPECT_EQ("ASCM"[enemyCommand], listed == 'M' && mp < 150 ? 'C' : listed)
            << "slot " << slot << " entry " << entry << " mp " << mp;
      }
    }
  }
}
