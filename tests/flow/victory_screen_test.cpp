// Victory: growth and recovery against a replayed random source, the prompt, the way to the ending.
#include "game/flow/victory_screen.hpp"

#include <gtest/gtest.h>

#include <array>

#include "console/text_width.hpp"
#include "game/flow/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

namespace {

class VictoryScreenTest : public GameSession {
 protected:
  VictoryScreenTest() {
    CreateFighter("Alice");
    player.maxHp = 400;
    player.hp = 120;
    player.maxMp = player.mp = 999;  // full: the recovery line still shows the amount drawn
    player.magic = 995;
    player.attack = 200;
    player.defence = 150;
    player.agility = 100;
    runState = {5, 4, 20};
    roster.hp[4] = 0;
    ChangeMusic("buttle2.mid", true);
    sound.forget();
    gameRandom.seed(4242);
    replay.seed(4242);
  }

  GameRandom replay;  // the same draws the screen makes, in the order it must make them
};

const std::string kNextRound = "Press [ENTER KEY] and Next Round...";

}  // namespace

TEST_F(VictoryScreenTest, GrowsRecoversAndOpensTheNextRound) {
  int growth[6];
  for (int& g : growth) g = replay.next() % 10 * 5 + 5;
  const int maxHp = 400 + growth[0];
  const int hpAmount = (replay.next() % 3 + 2) * (maxHp / 20) + replay.next() % 16;
  const int mpAmount = (replay.next() % 3 + 2) * (999 / 20) + replay.next() % 16;

  At(2800 + 1, [&] {
    EXPECT_TRUE(Shows(20, 19, "きんにくを撃破した！", 9, 15));
    EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15));
    EXPECT_TRUE(Shows(20, 22, "最大ＨＰ＋" + std::to_string(growth[0]), 4, 15));
    EXPECT_TRUE(Shows(50, 23, "敏捷＋" + std::to_string(growth[5]), 1, 15));
  });
  // The growth stays for 3000 ms; then the area is blanked for the recovery line.
  At(2800 + 3000 - 1, [] { EXPECT_TRUE(Shows(20, 21, "ステータス成長", 9, 15)); });
  At(2800 + 3000 + 1, [] { EXPECT_EQ(Text(20, 21, 58), std::string(58, ' ')); });
  keys.pause(200);
  keys.press(kKeyEnter);

  EXPECT_EQ(VictoryScreen(), Screen::RoundIntro);
  EXPECT_EQ((std::array{runState.round, runState.opponentIndex, runState.turnCount}),
            (std::array{6, 5, 20}));
  // Growth and recovery stop at 999 and at the maxima.
  EXPECT_EQ((std::array{player.maxHp, player.maxMp, player.magic, player.attack, player.defence,
                        player.agility, player.hp, player.mp}),
            (std::array{maxHp, 999, 999, 200 + growth[3], 150 + growth[4], 100 + growth[5],
                        std::min(120 + hpAmount, maxHp), 999}));
  EXPECT_EQ(gameRandom.next(), replay.next());  // exactly ten draws were made

  // The recovery line: black words, green amounts.
  int column = 20;
  for (const auto& [text, color] : std::initializer_list<std::pair<std::string, int>>{
           {"ＨＰを", 0}, {std::to_string(hpAmount), 2}, {"、ＭＰを", 0},
           {std::to_string(mpAmount), 2}, {"回復した。", 0}}) {
    EXPECT_TRUE(Shows(column, 19, text, color, 15));
    column += text::ColumnWidth(text);
  }
  EXPECT_TRUE(Shows(43, 23, kNextRound, 8, 15));
  EXPECT_EQ(SoundLog(sound, 0),
            (std::vector<std::string>{"1300 stop buttle2.mid", "1300 load syori.mid",
                                      "1300 play syori.mid once",
                                      std::to_string(console.now()) + " wave kettei.wav"}));
}

TEST_F(VictoryScreenTest, TheLastRoundsGoStraightToTheEnding) {
  for (int round : {6, 7}) {
    runState = {round, round - 1, 30};
    const std::uint32_t start = console.now();
    EXPECT_EQ(VictoryScreen(), Screen::Ending);
    EXPECT_EQ(console.now() - start, 1300u);
    EXPECT_EQ((std::array{runState.round, runState.opponentIndex, player.maxHp, player.hp}),
              (std::array{round + 1, round - 1, 400, 120}));
    EXPECT_EQ(Text(19, 19, 60), std::string(60, ' '));
  }
  EXPECT_TRUE(sound.calls().empty());
  EXPECT_EQ(gameRandom.next(), replay.next());  // no growth was drawn
}
