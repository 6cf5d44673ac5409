// The command menu, in one scripted run: cursor moves, descriptions, Magic's MP check, a turn.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "game/battle/command_menu.hpp"
#include "tests/battle/battle_fixture.hpp"

using CommandMenuTest = BattleFixture;

TEST_F(CommandMenuTest, MovesWithinTheEndsDescribesItemsAndRefusesMagicBelow150MpForASecond) {
  for (int row : {5, 13}) {  // where a turn names the commands: each pass blanks them
    console.locate(row == 5 ? 55 : 20, row);
    console.print("old");
  }
  At(100, [] { EXPECT_EQ(Styled(55, 5, 26) + Styled(20, 13, 26), ""); });
  player.mp = 149;
  player.agility = 999;
  roster.hp[0] = 1;  // the Magic that is played wins the battle
  gameRandom.seed(SeedFor(Attack));
  auto cursorRow = [] {  // the row of the one cursor mark in its colour; -1 for two of them
    int found = 0;
    for (int row = 19; row <= 22; ++row)
      if (Shows(4, row, "⇒", 1, 15)) found = found ? -1 : row;
    return found;
  };
  // Each item's description as last seen with the cursor on it: its first line (in its colours)
  // and its last row (while a key is held the area stays blank); and when the refusal shows.
  std::map<int, std::pair<std::string, int>> described;
  std::vector<std::uint32_t> refused;
  for (std::uint32_t t = 1; t < 4000; ++t)
    keys.at(t, [&] {
      if (Text(38, 21, 18) == "ＭＰが足りません！") {
        EXPECT_TRUE(Shows(38, 21, "ＭＰが足りません！", 12, 15));
        EXPECT_EQ(Styled(20, 19, 59), "");  // the description made way
        refused.push_back(console.now());
        player.mp = 150;  // enough for the next try
      }
      int last = 23;
      while (last >= 19 && Styled(20, last, 59).empty()) --last;
      if (last >= 19 && refused.empty()) described[cursorRow()] = {Styled(20, 19, 59), last};
    });
  keys.press(kKeyUp);         // already at the top: nothing
  keys.press(kKeyDown, 500);  // held: one step
  // Down to "魔法", once more at the bottom (nothing), back up to "強攻撃", whose shorter text
  // leaves row 23 blank, down to "魔法" again: refused, then played.
  for (auto key : {kKeyDown, kKeyDown, kKeyDown, kKeyUp, kKeyUp, kKeyDown, kKeyDown, kKeyEnter,
                   kKeyEnter})
    keys.press(key);
  EXPECT_EQ(CommandMenu(), Screen::Victory);
  // The winning blow ends the turn at once: its damage line stays, the opponent never acts.
  EXPECT_EQ(Styled(20, 20, 59).rfind("{5}自称勇者ぽこぺ{0}は{12}", 0), 0u);

  using Description = std::pair<std::string, int>;
  EXPECT_EQ(described[20], Description("通常攻撃の1.5倍の攻撃力で攻撃する。", 22));
  EXPECT_EQ(described[22], Description("{5}消費MP150。", 22));
  std::vector<std::string> sounds(7, "kasoru.wav");
  sounds.insert(sounds.end(), {"kettei.wav", "kettei.wav", "mahou.wav"});
  ASSERT_EQ(sound.names("play_wave"), sounds);
  ASSERT_FALSE(refused.empty());
  const std::uint32_t confirmed = sound.calls()[7].time;
  EXPECT_EQ(refused.front(), confirmed + 1);
  EXPECT_EQ(refused.back(), confirmed + 1000);  // a full second, then the menu goes on
  EXPECT_EQ(runState.turnCount, 1) << "one turn played";
  EXPECT_EQ(playerCommand, Magic) << "the turn played the Magic";
  EXPECT_EQ(player.mp, 0) << "the Magic's 150 MP paid";
  EXPECT_EQ(roster.hp[0], 0) << "the opponent fell to the Magic";
}
