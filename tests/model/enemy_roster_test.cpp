// The roster's reset: every run starts from the template with fresh random bumps.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/model/enemy_roster.hpp"
#include "game/model/game_random.hpp"

TEST(ResetRoster, BumpsEachFieldInOrderByFivesWithinItsSlotsLimitAndRefills) {
  // Reset after reset: each starts from the template again, not from the last run's roster.
  for (std::uint32_t seed : {99u, 7u}) {
    gameRandom.seed(seed);
    GameRandom replay;
    replay.seed(seed);
    ResetRoster();
    // Slot k draws below 7 (k + 1), in the order maxHp, maxMp, magic, attack, agility, defence.
    for (int k = 0; k < kRosterSlots; ++k) {
      for (auto field : {&EnemyRoster::maxHp, &EnemyRoster::maxMp, &EnemyRoster::magic,
                         &EnemyRoster::attack, &EnemyRoster::agility, &EnemyRoster::defence}) {
        const int bump = replay.next() % (7 * (k + 1)) * 5;
        EXPECT_EQ((roster.*field)[k], std::min((initialRoster.*field)[k] + bump, 999)) << k;
      }
      EXPECT_EQ(roster.hp[k], roster.maxHp[k]);
      EXPECT_EQ(roster.mp[k], roster.maxMp[k]);
    }
  }
}
