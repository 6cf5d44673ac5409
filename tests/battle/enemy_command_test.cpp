// The opponent's choice: its row of the table, one draw, and Magic only with 150 MP.
#include <gtest/gtest.h>

#include "game/battle/enemy_command.hpp"
#include "game/battle/play_turn.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

using EnemyCommandTest = BattleFixture;

TEST_F(EnemyCommandTest, EachOpponentPicksFromItsOwnRowByOneDrawAndCastsOnlyWith150Mp) {
  // Commands in the order of entries 0..9 (A attack, S strong, C counter, M magic).
  const char* rows[7] = {"AASSSCCCMM", "AASSSCCMMM", "AAASSSCMMM", "AASSSCCMMM",
                         "AASSSSCCCM", "ASCCCCMMMM", "ASSSCCCMMM"};
  // Below 150 MP every Magic entry becomes a Counter; at 150 the opponent may cast.
  const char letters[] = "ASCM";
  for (int entry = 0; entry < 10; ++entry) {
    const std::uint32_t seed =
        SeedWhere([entry](GameRandom& r) { return r.next() % 10 == entry; });
    for (int slot = 0; slot < 7; ++slot) {
      for (int mp : {149, 150}) {
        runState.opponentIndex = slot;
        roster.mp[slot] = mp;
        gameRandom.seed(seed);
        ChooseEnemyCommand();
        const char listed = rows[slot][entry];
        const char expected = listed == 'M' && mp < 150 ? 'C' : listed;
        EXPECT_EQ(letters[enemyCommand], expected)
            << "slot " << slot << " entry " << entry << " mp " << mp;
        // Exactly one draw was taken.
        GameRandom second;
        second.seed(seed);
        second.next();
        EXPECT_EQ(gameRandom.next(), second.next()) << "slot " << slot << " entry " << entry;
      }
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
