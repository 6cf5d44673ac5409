// The roster's reset: every run starts from the template with fresh random bumps.
#include <gtest/gtest.h>

#include "game/model/enemy_roster.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"

TEST(ResetRoster, BumpsEachSlotByMultiplesOfFiveWithinItsLimit) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    gameRandom.seed(seed);
    ResetRoster();
    for (int k = 0; k < 7; ++k) {
      const int most = 5 * (7 * (k + 1) - 1);
      const int* fields[][2] = {{roster.maxHp, initialRoster.maxHp}, {roster.maxMp, initialRoster.maxMp},
                                {roster.magic, initialRoster.magic}, {roster.attack, initialRoster.attack},
                                {roster.agility, initialRoster.agility}, {roster.defence, initialRoster.defence}};
      for (auto& f : fields) {
        const int bump = f[0][k] - f[1][k];
        ASSERT_EQ(bump % 5, 0);
        ASSERT_GE(bump, 0);
        if (f[1][k] + most <= 999) {
          ASSERT_LE(bump, most);
        }
        ASSERT_LE(f[0][k], 999);
      }
      ASSERT_EQ(roster.hp[k], roster.maxHp[k]);
      ASSERT_EQ(roster.mp[k], roster.maxMp[k]);
    }
    ASSERT_EQ(roster.maxHp[4], 999);  // きんにく starts at 999 and stays there
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

TEST(ResetRoster, SecondRunStartsFromTheTemplateAgain) {
  gameRandom.seed(5);
  ResetRoster();
  const EnemyRoster first = roster;
  roster.hp[0] = 0;  // the first run's battles damage the roster
  roster.mp[3] = 0;
  gameRandom.seed(5);
  ResetRoster();  // the same draws again: the same roster, not bumps on top of bumps
  for (int k = 0; k < kRosterSlots; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(roster.maxHp[k], first.maxHp[k]);
    EXPECT_EQ(roster.hp[k], first.hp[k]);
    EXPECT_EQ(roster.maxMp[k], first.maxMp[k]);
    EXPECT_EQ(roster.mp[k], first.mp[k]);
    EXPECT_EQ(roster.attack[k], first.attack[k]);
    EXPECT_EQ(roster.defence[k], first.defence[k]);
    EXPECT_EQ(roster.agility[k], first.agility[k]);
    EXPECT_EQ(roster.magic[k], first.magic[k]);
  }
}

TEST(RosterSlot, CurrentOpponentIsSlotOpponentIndex) {
  ResetGameState();
  runState.opponentIndex = 6;
  Opponent legend = CurrentOpponent();
  EXPECT_STREQ(legend.name, "伝説の勇者ぽこぺ");
  legend.hp -= 50;
  EXPECT_EQ(roster.hp[6], 700);
  EXPECT_EQ(initialRoster.hp[6], 750);
}
