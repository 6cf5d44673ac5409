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
  // The message rows (19 to 23) as last seen with the cursor on each item, once it is
  // described (while a key is held the area stays blank).
  std::map<int, std::vector<std::string>> described;
  for (std::uint32_t t = 1; t < 3000; t += 10)
    keys.at(t, [&described] {
      if (Styled(20, 19, 59).empty()) return;
      std::vector<std::string>& rows = described[CursorRow()];
      rows.clear();
      for (int row = 19; row <= 23; ++row) rows.push_back(Styled(20, row, 59));
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
  const std::map<int, std::vector<std::string>> descriptions = {
      {19, {"通常攻撃を行う。強攻撃に強い。", "相手がカウンターを選択していた場合、",
            "3分の1の確率で攻撃失敗となる。", "", ""}},
      {20, {"通常攻撃の1.5倍の攻撃力で攻撃する。", "このターン防御力が2分の1になる。",
            "通常攻撃に比べ、命中率が低い。",
            "ただし相手がカウンターを選択していた場合、確実に命中する。", ""}},
      {21, {"成功した場合、相手の攻撃をかわし、", "(相手の攻撃力＋魔力)÷2で反撃する。(必ず命中する)",
            "このターン防御力が2分の1になるが、HP、MPを多少回復する。",
            "相手が魔法を選択していた場合、確実に成功する。",
            "相手が強攻撃を選択していた場合、確実に失敗する。"}},
      {22, {"{5}消費MP150。", "相手の防御を無視し、",
            "自分の魔力÷3の値を直接ダメージとして与える。(必ず命中する)",
            "ただし相手がカウンターを選択していた場合、確実に失敗する。", ""}},
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

TEST_F(CommandMenuTest, EnterHeldThroughATurnConfirmsAgain) {
  keys.press(kKeyEnter, 20000);
  CommandMenu();
  EXPECT_GE(runState.turnCount, 2);
  EXPECT_EQ(Count("kettei.wav"), runState.turnCount);
}

TEST_F(CommandMenuTest, GameOverEndsTheMenuForTheTitleScreen) {
  // The opponent is faster and casts; the player, at 30 HP, falls and does not rise.
  player.hp = 30;
  roster.agility[0] = player.agility + 1;
  gameRandom.seed(SeedForFall(Magic, false));
  keys.press(kKeyEnter);
  EXPECT_EQ(CommandMenu(), Screen::Title);
  EXPECT_EQ(player.hp, 0);
}
