// The round introduction: music and caption by round, the two names, both sets of abilities.
#include <gtest/gtest.h>

#include "game/flow/round_intro.hpp"
#include "game/flow/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

using RoundIntroScreen = GameSession;

namespace {
void EnterRound(int round) {
  runState.round = round;
  runState.opponentIndex = round - 1;
}
}  // namespace

TEST_F(RoundIntroScreen, AnnouncesEachRoundWithItsMusicBarsAndCaption) {
  struct Case {
    int round;
    const char* caption;
    int captionColor;
    int barColor;
    const char* music;
  } cases[] = {
      {1, "Round 1", 2, 7, "buttle1.mid"},  {3, "Round 3", 2, 7, "buttle1.mid"},
      {4, "Round 4", 6, 6, "buttle2.mid"},  {5, "Round 5", 6, 6, "buttle2.mid"},
      {6, "Final Round", 12, 12, "buttle3.mid"}, {7, "Extra Round", 4, 4, "buttle4.mid"},
  };
  CreateFighter("Alice");
  ChangeMusic("title.mid", true);
  std::string previousMusic = "title.mid";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    sound.forget();
    EnterRound(c.round);
    const std::uint32_t start = console.now();
    EXPECT_EQ(RoundIntro(), Screen::Battle);
    EXPECT_EQ(console.now() - start, 800u + 3000u);
    EXPECT_TRUE(Shows(2, 14, c.caption, c.captionColor, 15));
    for (int column : {1, 40, 80}) {
      EXPECT_EQ(Colors(column, 11), std::make_pair(15, c.barColor));
      EXPECT_EQ(Colors(column, 15), std::make_pair(15, c.barColor));
    }
    EXPECT_EQ(Colors(1, 12), std::make_pair(0, 15));
    const auto log = SoundLog(sound);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "stop " + previousMusic);
    EXPECT_EQ(log[1], std::string("load ") + c.music);
    EXPECT_EQ(log[2], std::string("play ") + c.music + " loop");
    previousMusic = c.music;
    EXPECT_EQ(console.foreground(), 0);
    EXPECT_EQ(console.background(), 15);
  }
}

TEST_F(RoundIntroScreen, BarsSweepInFromOppositeSidesOneCellEveryTenMilliseconds) {
  CreateFighter("Alice");
  At(400, [] {
    EXPECT_EQ(Colors(40, 11).second, 7);
    EXPECT_EQ(Colors(41, 11).second, 15);
    EXPECT_EQ(Colors(41, 15).second, 7);
    EXPECT_EQ(Colors(40, 15).second, 15);
    EXPECT_EQ(Text(1, 14, 10), std::string(10, ' '));  // the caption follows the bars
  });
  RoundIntro();
}

TEST_F(RoundIntroScreen, CentresBothNamesByTheirWidth) {
  CreateFighter("Alice");  // 5 bytes
  EnterRound(3);           // 工事現場の大棟梁, 16 bytes
  RoundIntro();
  EXPECT_TRUE(Shows(39, 13, "VS", 6, 15));
  EXPECT_TRUE(Shows(28, 14, "Alice", 9, 15));
  EXPECT_TRUE(Shows(44, 12, "工事現場の大棟梁", 12, 15));
  EXPECT_EQ(Text(27, 14, 1), " ");
  EXPECT_EQ(Text(43, 12, 1), " ");
}

TEST_F(RoundIntroScreen, ShowsBothSidesAbilitiesWithCurrentHpAndMp) {
  CreateFighter("Alice");
  player.maxHp = 500;
  player.hp = 42;  // left over from the last round
  player.mp = 7;
  player.magic = 100;
  player.attack = 999;
  player.defence = 80;
  player.agility = 305;
  EnterRound(2);
  roster.hp[1] = 123;
  RoundIntro();

  const char* glyph[10][3] = {
      {"┏━┓", "┃　┃", "┗━┛"}, {"　┫　", "　┃　", "　┻　"}, {"┏━┓", "┏━┛", "┗━┛"},
      {"　━┓", "　━┫", "　━┛"}, {"┃　┃", "┗━┫", "　　┃"}, {"┏━━", "┗━┓", "━━┛"},
      {"┏━┓", "┣━┓", "┗━┛"}, {"┏━┓", "　　┃", "　　┃"}, {"┏━┓", "┣━┫", "┗━┛"},
      {"┏━┓", "┗━┫", "┗━┛"},
  };
  // Checks the label and the big number of one ability, both in the stat's colour.
  auto expectAbility = [&](int labelColumn, int labelRow, const char* label, int color, int value) {
    SCOPED_TRACE(std::string(label) + " " + std::to_string(value));
    EXPECT_TRUE(Shows(labelColumn, labelRow, label, color, 15));
    const int digits[3] = {value / 100, value / 10 % 10, value % 10};
    for (int line = 0; line < 3; ++line) {
      std::string row;
      for (int d : digits) row += glyph[d][line];
      EXPECT_TRUE(Shows(labelColumn + 4, labelRow + 1 + line, row, color, 15));
    }
  };
  expectAbility(2, 17, "ＨＰ", 4, 42);
  expectAbility(25, 17, "ＭＰ", 5, 7);
  expectAbility(48, 17, "魔力", 6, 100);
  expectAbility(2, 21, "攻撃", 12, 999);
  expectAbility(25, 21, "防御", 2, 80);
  expectAbility(48, 21, "敏捷", 1, 305);

  const Opponent guard = RosterSlot(1);
  expectAbility(12, 2, "ＨＰ", 4, 123);
  expectAbility(35, 2, "ＭＰ", 5, guard.mp);
  expectAbility(58, 2, "魔力", 6, guard.magic);
  expectAbility(12, 6, "攻撃", 12, guard.attack);
  expectAbility(35, 6, "防御", 2, guard.defence);
  expectAbility(58, 6, "敏捷", 1, guard.agility);
}

TEST_F(RoundIntroScreen, ANewRunStartsAtRoundOneWithAFreshRoster) {
  runState = {5, 4, 31};
  roster.hp[0] = 1;
  gameRandom.seed(7);
  EXPECT_EQ(StartNewRun(), Screen::RoundIntro);
  EXPECT_EQ(runState.round, 1);
  EXPECT_EQ(runState.opponentIndex, 0);
  EXPECT_EQ(runState.turnCount, 0);
  EXPECT_GE(roster.hp[0], initialRoster.hp[0]);
  EXPECT_EQ(roster.hp[0], roster.maxHp[0]);
}
