// Defeat: the one-in-three revival with a tenth of the HP, and game over to its own music.
#include <gtest/gtest.h>

#include <functional>

#include "game/flow/defeat_screen.hpp"
#include "game/flow/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

namespace {

class DefeatScreenTest : public GameSession {
 protected:
  DefeatScreenTest() {
    CreateFighter("Alice");
    player.maxHp = 345;
    player.hp = -12;
    player.mp = 77;
    runState = {2, 1, 9};
    ChangeMusic("buttle1.mid", true);
    sound.forget();
  }

  // Seeds the game's random source so that its next draw modulo 3 is `r`.
  static void SeedForDraw(int r) {
    for (std::uint32_t seed = 1;; ++seed) {
      GameRandom probe;
      probe.seed(seed);
      if (probe.next() % 3 == r) {
        gameRandom.seed(seed);
        return;
      }
    }
  }
};

}  // namespace

TEST_F(DefeatScreenTest, ADrawOfZeroRaisesTheFighterWithATenthOfItsHp) {
  SeedForDraw(0);
  EXPECT_TRUE(DefeatScreen());
  EXPECT_EQ(player.hp, 34);
  EXPECT_EQ(player.mp, 77);
  EXPECT_TRUE(player.exists());
  EXPECT_EQ(runState.round, 2);
  EXPECT_EQ(runState.turnCount, 9);
  EXPECT_TRUE(Shows(20, 19, "Aliceは力尽きた...", 12, 15));
  EXPECT_TRUE(Shows(20, 20, "が、渾身の力を振り絞り立ち上がった！", 0, 15));
  EXPECT_EQ(Text(20, 21, 50), std::string(50, ' '));
  // The battle music stops, then the same piece starts again, looping.
  EXPECT_EQ(TimedSoundLog(sound),
            (std::vector<std::string>{"1300 stop buttle1.mid", "3300 play buttle1.mid loop"}));
  // The HP bar grows back to two cells (34 of 345), 15 ms each, before the last 1500 ms.
  EXPECT_EQ(Colors(58, 13), std::make_pair(12, 12));
  EXPECT_NE(Colors(59, 13).second, 12);
  EXPECT_EQ(console.now(), 3300u + 2 * 15 + 1500);

  // The fighter may fall and rise again any number of times.
  for (int again = 0; again < 3; ++again) {
    player.hp = -5;
    SeedForDraw(0);
    EXPECT_TRUE(DefeatScreen()) << again;
    EXPECT_EQ(player.hp, 34) << again;
  }
}

TEST_F(DefeatScreenTest, OtherDrawsEndTheRunWithGameOverAndEraseTheFighter) {
  for (int r : {1, 2}) {
    SCOPED_TRACE(r);
    CreateFighter("Alice");
    ChangeMusic("buttle1.mid", true);
    sound.forget();
    SeedForDraw(r);
    const std::uint32_t start = console.now();
    At(start + 3300, [] { EXPECT_TRUE(Shows(20, 19, "Aliceは力尽きた...", 12, 15)); });
    keys.hold(kKeyEnter, start + 4900, start + 5000);  // the prompt checks every 20 ms from 4810
    EXPECT_FALSE(DefeatScreen());
    EXPECT_FALSE(player.exists());
    EXPECT_EQ(Text(20, 19, 50), std::string(50, ' '));
    EXPECT_EQ(Colors(69, 19), std::make_pair(15, 15));
    EXPECT_TRUE(Shows(38, 21, "ＧＡＭＥ ＯＶＥＲ", 12, 15));
    EXPECT_TRUE(Shows(41, 23, "Press [ENTER KEY] and Return Title...", 8, 15));
    const std::string t0 = std::to_string(start + 1300);
    const std::string t1 = std::to_string(start + 3310);
    const std::string t2 = std::to_string(start + 4910);
    EXPECT_EQ(TimedSoundLog(sound),
              (std::vector<std::string>{t0 + " stop buttle1.mid", t0 + " load gameover.mid",
                                        t1 + " play gameover.mid once", t2 + " wave kettei.wav"}));
  }
}

TEST_F(DefeatScreenTest, GameOverEndsWithTheSessionWithoutAnswer) {
  SeedForDraw(1);
  EXPECT_FALSE(DefeatScreen());
  EXPECT_TRUE(Shows(38, 21, "ＧＡＭＥ ＯＶＥＲ", 12, 15));
  EXPECT_TRUE(sound.names("play_wave").empty());
}
