// The round introduction: the bars' sweep and its length, the two names, both sides' abilities
// (each round's caption, colours and music are checked along the scripted runs).
#include "game/flow/round_intro.hpp"

#include <gtest/gtest.h>

#include <tuple>

#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "tests/pages/big_digits.hpp"
#include "tests/support/game_session.hpp"

using RoundIntroScreen = GameSession;

TEST_F(RoundIntroScreen, ShowsBothNamesCentredAndBothSidesCurrentAbilities) {
  CreateFighter("Alice");
  player.maxHp = 500;
  player.hp = 42;  // left over from the last round
  player.mp = 7;
  player.magic = 100;
  player.attack = 999;
  player.defence = 80;
  player.agility = 305;
  runState = {3, 2, 0};  // 工事現場の大棟梁, 16 columns
  roster.hp[2] = 123;
  const std::uint32_t start = console.now();
  // The bars sweep in from opposite sides, a cell every 10 ms; the caption comes after them.
  At(start + 400, [] {
    EXPECT_EQ(std::pair(Colors(40, 11).second, Colors(41, 11).second), std::pair(7, 15));
    EXPECT_EQ(std::pair(Colors(40, 15).second, Colors(41, 15).second), std::pair(15, 7));
    EXPECT_EQ(Text(1, 14, 10), std::string(10, ' '));
  });
  EXPECT_EQ(RoundIntro(), Screen::Battle);
  EXPECT_EQ(console.now() - start, 800u + 3000u);
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
