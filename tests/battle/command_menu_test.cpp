// The command menu: cursor moves, descriptions, Magic's MP check, and turns on Enter.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/battle/command_menu.hpp"
#include "game/battle/status_bars.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

class CommandMenuTest : public BattleFixture {
 protected:
  CommandMenuTest() {
    player.maxHp = player.hp = 999;
    roster.maxHp[0] = roster.hp[0] = 999;
    SetShownValuesToCurrent();
  }
  // The row of the one cursor, checking its colour.
  static int CursorRow() {
    int found = 0;
    for (int row = 19; row <= 22; ++row) {
      if (Text(4, row, 2) != "⇒") continue;
      EXPECT_EQ(found, 0) << "two cursors";
      EXPECT_EQ(Colors(4, row), std::pair(1, 15));
      found = row;
    }
    return found;
  }
  long Count(const std::string& name) { return std::ranges::count(sound.names("play_wave"), name); }
  // Moves down to Magic, confirms it, and runs the menu.
  Screen ConfirmMagic() {
    for (int i = 0; i < 3; ++i) keys.press(kKeyDown);
    keys.press(kKeyEnter);
    return CommandMenu();
  }
};

}  // namespace

TEST_F(CommandMenuTest, MovesOneStepPerPressWithinTheEndsAndDescribesTheItemUnderTheCursor) {
  for (auto [column, row] : {std::pair(55, 5), std::pair(20, 13)}) {
    console.locate(column, row);
    console.print("old");
  }
  // Each pass blanks the places where a turn names the commands.
  At(20, [] {
    for (auto [column, row] : {std::pair(55, 5), std::pair(20, 13)}) {
      EXPECT_EQ(Styled(column, row, 26), "");
      EXPECT_EQ(Colors(column, row), std::pair(15, 15));
    }
  });
  // Each item's description as last seen with the cursor on it: its first line (in its colours)
  // and its last row (while a key is held the area stays blank).
  std::map<int, std::pair<std::string, int>> described;
  for (std::uint32_t t = 1; t < 3000; t += 10)
    keys.at(t, [&described] {
      if (Styled(20, 19, 59).empty()) return;
      int last = 23;
      while (Styled(20, last, 59).empty()) --last;
      described[CursorRow()] = {Styled(20, 19, 59), last};
    });
  keys.press(kKeyUp);         // already at the top: nothing
  keys.press(kKeyDown, 500);  // held: one step
  keys.press(kKeyDown);
  keys.press(kKeyDown);  // on "魔法"
  keys.press(kKeyDown);  // at the bottom: nothing
  keys.press(kKeyUp);    // back to "カウンター"
  keys.press(kKeyUp);    // and "強攻撃", whose shorter text leaves row 23 blank
  EXPECT_EQ(CommandMenu(), Screen::Quit);

  const char* labels[] = {"攻撃", "強攻撃", "カウンター", "魔法"};
  for (int row = 19; row <= 22; ++row) EXPECT_TRUE(Shows(6, row, labels[row - 19], 0, 15));
  EXPECT_EQ(CursorRow(), 20);
  EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>(5, "kasoru.wav"));
  EXPECT_EQ(runState.turnCount, 0);
  const std::map<int, std::pair<std::string, int>> descriptions = {
      {19, {"通常攻撃を行う。強攻撃に強い。", 21}},
      {20, {"通常攻撃の1.5倍の攻撃力で攻撃する。", 22}},
      {21, {"成功した場合、相手の攻撃をかわし、", 23}},
      {22, {"{5}消費MP150。", 22}},
  };
  EXPECT_EQ(described, descriptions);
}

TEST_F(CommandMenuTest, MagicIsRefusedBelowOneHundredAndFiftyMp) {
  player.mp = 149;
  std::vector<std::uint32_t> shown;  // when the refusal is on the screen
  for (std::uint32_t t = 1; t < 3000; ++t)
    keys.at(t, [&] {
      if (Text(38, 21, 18) != "ＭＰが足りません！") return;
      EXPECT_TRUE(Shows(38, 21, "ＭＰが足りません！", 12, 15));
      EXPECT_EQ(Styled(20, 19, 59), "");  // the description made way
      shown.push_back(console.now());
    });
  ConfirmMagic();

  EXPECT_EQ(runState.turnCount, 0);
  EXPECT_EQ(player.mp, 149);
  EXPECT_EQ(Count("kettei.wav"), 1);
  ASSERT_FALSE(shown.empty());
  const std::uint32_t confirmed = sound.calls().back().time;
  EXPECT_EQ(shown.front(), confirmed + 1);
  EXPECT_EQ(shown.back(), confirmed + 1000);  // a full second, then the description again
  EXPECT_EQ(CursorRow(), 22);
  EXPECT_EQ(Styled(20, 19, 59), "{5}消費MP150。");
}

TEST_F(CommandMenuTest, MagicWithOneHundredAndFiftyMpIsPlayedAndAWinEndsTheMenu) {
  player.mp = 150;
  player.agility = 999;
  roster.hp[0] = 1;
  gameRandom.seed(SeedFor(Attack));
  EXPECT_EQ(ConfirmMagic(), Screen::Victory);
  EXPECT_EQ(runState.turnCount, 1);
  EXPECT_EQ(playerCommand, Magic);
  EXPECT_EQ(player.mp, 0);
  EXPECT_EQ(roster.hp[0], 0);
  EXPECT_EQ(Count("kettei.wav"), 1);
  EXPECT_EQ(Count("mahou.wav"), 1);
}
