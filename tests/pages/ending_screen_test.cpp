// The endings: the 49-turn branches, their texts and prompts, and the Extra Round's "WARNING!".
#include "game/pages/ending_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ui/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/game_session.hpp"

namespace {

class EndingScreenTest : public GameSession {
 protected:
  EndingScreenTest() {
    CreateFighter("Alice");
    ChangeMusic("buttle3.mid", true);
    sound.forget();
  }
};

const std::string kPlain = "Ｃｏｎｇｒａｔｕｌａｔｉｏｎ......？";

}  // namespace

TEST_F(EndingScreenTest, ChoosesTheBranchByTurnsAndRound) {
  // The line at (column, row) tells the branch; without a prompt the Extra Round follows;
  // `promptAt` is when the prompt appears, from the start (the true ending's lines a second
  // apart).
  const struct {
    int wonRound, turns; Screen next; int column, row; std::string line; int fg;
    const char* prompt; std::uint32_t promptAt;
  } cases[] = {
      {6, 49, Screen::RoundIntro, 20, 22, "？？？「ちょっと待ちな！！」", 12, nullptr, 0},
      {6, 50, Screen::Title, 30, 21, kPlain, 9, "Press [ENTER KEY] and Return Title.", 4500},
      {7, 50, Screen::Title, 30, 21, kPlain, 9, "Press [ENTER KEY] and Return Title.", 4500},
      {7, 49, Screen::Title, 20, 20, "よくぞここまでやり込んでくれやがりました！", 0,
       "Press [ENTER KEY] and Return Title!", 6000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.wonRound) + " after " + std::to_string(c.turns));
    CreateFighter("Alice");
    runState = {c.wonRound + 1, c.wonRound - 1, c.turns};  // as VictoryScreen leaves it
    sound.forget();
    const std::uint32_t start = console.now();
    if (c.prompt) {
      At(start + c.promptAt - 1, [] { EXPECT_EQ(Text(43, 23, 10), std::string(10, ' ')); });
      keys.hold(kKeyEnter, start + c.promptAt + 10, start + c.promptAt + 60);
    }
    EXPECT_EQ(EndingScreen(), c.next);
    EXPECT_TRUE(Shows(c.column, c.row, c.line, c.fg, 15));
    if (c.prompt) {
      EXPECT_TRUE(Shows(43, 23, c.prompt, 8, 15));
      EXPECT_EQ(sound.calls().back().time - start, c.promptAt + 20) << "checked every 20 ms";
    }
    if (c.turns > 49) {
      EXPECT_EQ(Text(19, 19, 60) + Text(19, 20, 60), std::string(120, ' '));
    }
    const bool extraRound = c.next == Screen::RoundIntro;
    EXPECT_EQ(player.exists(), extraRound);
    EXPECT_EQ((std::pair{runState.round, runState.opponentIndex}),
              (std::pair{c.wonRound + 1, extraRound ? 6 : c.wonRound - 1}));
  }
}

TEST_F(EndingScreenTest, ExtraRoundIsAnnouncedWithSweepingWarnings) {
  runState = {7, 5, 49};
  roster.hp[5] = 0;
  At(1000 - 1, [] { EXPECT_EQ(Text(20, 20, 5), "     "); });  // the name follows after 1 s
  // Closing sweep from 4500: after step s, black words at 7 + s and 67 - s.
  At(4500 + 10 * 15, [] {
    EXPECT_TRUE(Shows(21, 10, "WARNING!", 0, 15));
    EXPECT_TRUE(Shows(53, 10, "WARNING!", 0, 15));
    EXPECT_EQ(Text(1, 10, 20) + Text(29, 10, 24) + Text(61, 10, 20), std::string(64, ' '));
  });
  // They meet at 37 and stand there in red for 1300 ms.
  At(4810 + 1299, [] {
    EXPECT_TRUE(Shows(37, 10, "WARNING!", 12, 15));
    EXPECT_EQ(Text(1, 10, 36) + Text(45, 10, 36), std::string(72, ' '));
  });

  EXPECT_EQ(EndingScreen(), Screen::RoundIntro);
  EXPECT_EQ(console.now(), 6110u + 340);
  EXPECT_EQ(Text(1, 10, 80), std::string(80, ' '));
  EXPECT_TRUE(Shows(20, 19, "ザムを撃破した！", 9, 15));
  EXPECT_TRUE(Shows(20, 20, "Alice", 9, 15));
  EXPECT_TRUE(Shows(25, 20, "は闘技場を制覇した！！", 0, 15));
  EXPECT_EQ(SoundLog(sound, 0),
            (std::vector<std::string>{"0 stop buttle3.mid", "0 load end.mid", "0 play end.mid once",
                                      "3000 stop end.mid", "3000 wave flush.wav",
                                      "4500 wave alarm.wav"}));
}
