// The roster's reset: every run starts from the template with fresh random bumps.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/model/enemy_roster.hpp"
#include "game/model/game_random.hpp"

TEST(ResetRoster, BumpsEachSlotByMultiplesOfFiveWithinItsLimitAndRefills) {
  // Reset after reset: each starts from the template again, not from the last run's roster.
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    gameRandom.seed(seed);
    ResetRoster();
    for (int k = 0; k < 7; ++k) {
      const int most = 5 * (7 * (k + 1) - 1);
      for (auto field : {&EnemyRoster::maxHp, &EnemyRoster::maxMp, &EnemyRoster::magic,
                         &EnemyRoster::attack, &EnemyRoster::agility, &EnemyRoster::defence}) {
        const int start = (initialRoster.*field)[k], now = (roster.*field)[k];
        ASSERT_EQ((now - start) % 5, 0);
        ASSERT_GE(now, start);
        ASSERT_LE(now, std::min(start + most, 999));
      }
      ASSERT_EQ(roster.hp[k], roster.maxHp[k]);
      ASSERT_EQ(roster.mp[k], roster.maxMp[k]);
    }
  }
}

TEST(ResetRoster, DrawsSixBumpsPerSlotInFieldOrder) {
  gameRandom.seed(99);
  GameRandom replay;
  replay.seed(99);
  ResetRoster();
  // Slot 0: limit 7, in the order maxHp, maxMp, magic, attack, agility, defence.
  EXPECT_EQ(roster.maxHp[0], 360 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.maxMp[0], 300 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.magic[0], 280 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.attack[0], 280 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.agility[0], 50 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.defence[0], 200 + replay.next() % 7 * 5);
  EXPECT_EQ(roster.maxHp[1], 250 + replay.next() % 14 * 5);
}
