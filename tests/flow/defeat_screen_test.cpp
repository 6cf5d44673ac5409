// Defeat: the one-in-three revival with a tenth of the HP, and game over to its own music.
#include "game/battle/defeat_screen.hpp"

#include <gtest/gtest.h>


#include "game/ui/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/game_session.hpp"
#include "tests/support/scripted_run.hpp"

namespace {

class DefeatScreenTest : public GameSession {
 protected:
  // A fallen fighter in round 2, the battle music playing and the next draw modulo 3 `draw`.
  void Fall(int draw) {
    const auto seed = SeedWhere([draw](GameRandom& r) { return r.next() % 3 == draw; });
    PrepareFighter({"Alice", 345, 77, 100, 100, 100, 100, seed});
    player.hp = -12;
    runState = {2, 1, 9};
    ChangeMusic("buttle1.mid", true);
    sound.forget();
  }
};

}  // namespace

TEST_F(DefeatScreenTest, ADrawOfZeroRaisesTheFighterWithATenthOfItsHp) {
  Fall(0);
  EXPECT_TRUE(DefeatScreen());
  EXPECT_EQ(player.hp, 34) << "a tenth of 345 HP";
  EXPECT_EQ(player.mp, 77) << "MP changed by the revival";
  EXPECT_EQ(runState.round, 2) << "the round changed by the revival";
  EXPECT_EQ(runState.turnCount, 9) << "the turns changed by the revival";
  EXPECT_TRUE(Shows(20, 19, "Aliceは力尽きた...", 12, 15));
  EXPECT_TRUE(Shows(20, 20, "が、渾身の力を振り絞り立ち上がった！", 0, 15));
  // The battle music stops, then the same piece starts again, looping.
  EXPECT_EQ(SoundLog(sound, 0),
            (std::vector<std::string>{"1300 stop buttle1.mid", "3300 play buttle1.mid loop"}));
  // The HP bar grows back to two cells (34 of 345), 15 ms each, before the last 1500 ms.
  EXPECT_EQ(Colors(58, 13), std::make_pair(12, 12));
  EXPECT_NE(Colors(59, 13).second, 12);
  EXPECT_EQ(console.now(), 3300u + 2 * 15 + 1500);
}

TEST_F(DefeatScreenTest, OtherDrawsEndTheRunWithGameOverAndEraseTheFighter) {
  for (int draw : {1, 2}) {
    SCOPED_TRACE(draw);
    Fall(draw);
    const std::uint32_t start = console.now();
    At(start + 3300, [] { EXPECT_TRUE(Shows(20, 19, "Aliceは力尽きた...", 12, 15)); });
    keys.hold(kKeyEnter, start + 4900, start + 5000);  // the prompt checks every 20 ms from 4810
    EXPECT_FALSE(DefeatScreen());
    EXPECT_FALSE(player.exists());
    EXPECT_EQ(Text(20, 19, 50), std::string(50, ' '));
    EXPECT_TRUE(Shows(38, 21, "ＧＡＭＥ ＯＶＥＲ", 12, 15));
    EXPECT_TRUE(Shows(41, 23, "Press [ENTER KEY] and Return Title...", 8, 15));
    EXPECT_EQ(SoundLog(sound, start),
              (std::vector<std::string>{"1300 stop buttle1.mid", "1300 load gameover.mid",
                                        "3310 play gameover.mid once", "4910 wave kettei.wav"}));
  }
}
