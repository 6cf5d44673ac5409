// The round introduction: music, bars and caption by round, the two names, both sides' abilities.
#include "game/flow/round_intro.hpp"

#include <gtest/gtest.h>

#include <tuple>

#include "game/flow/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/pages/big_digits.hpp"
#include "tests/support/game_session.hpp"

namespace {

class RoundIntroScreen : public GameSession {
 protected:
  RoundIntroScreen() { CreateFighter("Alice"); }
  static void EnterRound(int round) { runState = {round, round - 1, 0}; }
};

}  // namespace

TEST_F(RoundIntroScreen, AnnouncesEachRoundWithItsMusicBarsAndCaption) {
  const struct { int round; const char* caption; int captionColor, barColor; std::string music; } cases[] = {
      {1, "Round 1", 2, 7, "buttle1.mid"},       {3, "Round 3", 2, 7, "buttle1.mid"},
      {4, "Round 4", 6, 6, "buttle2.mid"},       {5, "Round 5", 6, 6, "buttle2.mid"},
      {6, "Final Round", 12, 12, "buttle3.mid"}, {7, "Extra Round", 4, 4, "buttle4.mid"},
  };
  ChangeMusic("title.mid", true);
  std::string previousMusic = "title.mid";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    sound.forget();
    EnterRound(c.round);
    const std::uint32_t start = console.now();
    // The bars sweep in from opposite sides, a cell every 10 ms; the caption comes after them.
    At(start + 400, [&c] {
      EXPECT_EQ(Colors(40, 11).second, c.barColor);
      EXPECT_EQ(Colors(41, 11).second, 15);
      EXPECT_EQ(Colors(41, 15).second, c.barColor);
      EXPECT_EQ(Colors(40, 15).second, 15);
      EXPECT_EQ(Text(1, 14, 10), std::string(10, ' '));
    });
    EXPECT_EQ(RoundIntro(), Screen::Battle);
    EXPECT_EQ(console.now() - start, 800u + 3000u);
    EXPECT_TRUE(Shows(2, 14, c.caption, c.captionColor, 15));
    for (int column : {1, 40, 80})
      for (int row : {11, 15}) EXPECT_EQ(Colors(column, row), std::make_pair(15, c.barColor));
    EXPECT_EQ(Colors(1, 12), std::make_pair(0, 15));
    EXPECT_EQ(SoundLog(sound), (std::vector<std::string>{"stop " + previousMusic, "load " + c.music,
                                                          "play " + c.music + " loop"}));
    previousMusic = c.music;
    EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(0, 15));
  }
}

TEST_F(RoundIntroScreen, ShowsBothNamesCentredAndBothSidesCurrentAbilities) {
  player.maxHp = 500;
  player.hp = 42;  // left over from the last round
  player.mp = 7;
  player.magic = 100;
  player.attack = 999;
  player.defence = 80;
  player.agility = 305;
  EnterRound(3);  // 工事現場の大棟梁, 16 columns
  roster.hp[2] = 123;
  RoundIntro();
  EXPECT_TRUE(Shows(39, 13, "VS", 6, 15));
  EXPECT_TRUE(Shows(28, 14, "Alice", 9, 15));
  EXPECT_TRUE(Shows(44, 12, "工事現場の大棟梁", 12, 15));
  EXPECT_EQ(Text(27, 14, 1) + Text(43, 12, 1), "  ");

  const Opponent foe = RosterSlot(2);
  const struct { const char* label; int color, mine, theirs; } stats[] = {
      {"ＨＰ", 4, 42, 123},        {"ＭＰ", 5, 7, foe.mp},          {"魔力", 6, 100, foe.magic},
      {"攻撃", 12, 999, foe.attack}, {"防御", 2, 80, foe.defence}, {"敏捷", 1, 305, foe.agility}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(stats[i].label);
    // Labels 23 columns apart in two rows of three, numbers 4 right of them and 2 below.
    for (auto [column, row, value] : {std::tuple{2, 17, stats[i].mine}, {12, 2, stats[i].theirs}}) {
      const int x = column + 23 * (i % 3), y = row + 4 * (i / 3);
      EXPECT_TRUE(Shows(x, y, stats[i].label, stats[i].color, 15));
      EXPECT_EQ(ReadBigNumber(x + 4, y + 2), value);
      EXPECT_EQ(Colors(x + 4, y + 2), std::make_pair(stats[i].color, 15));
    }
  }
}
