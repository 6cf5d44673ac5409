// The command menu: cursor moves, descriptions, Magic's MP check, and turns on Enter.
#include <gtest/gtest.h>

#include "game/battle/command_menu.hpp"
#include "game/battle/status_bars.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

class CommandMenuTest : public BattleFixture {
 protected:
  CommandMenuTest() {
    player.maxHp = player.hp = 999;
    roster.maxHp[0] = roster.hp[0] = 999;
    SetShownValuesToCurrent();
  }
  int CursorRow() {
    int found = 0;
    for (int row = 19; row <= 22; ++row) {
      if (Text(4, row, 2) == "⇒") {
        EXPECT_EQ(found, 0) << "two cursors";
        EXPECT_EQ(Colors(4, row), std::pair(1, 15));
        found = row;
      }
    }
    return found;
  }
  std::size_t Count(const std::string& name) {
    const auto names = sound.names("play_wave");
    return static_cast<std::size_t>(std::count(names.begin(), names.end(), name));
  }
};

struct DescriptionCase {
  int downs;
  std::vector<std::string> rows;  // rows 19 to 23, styled
};

class MenuDescriptions : public CommandMenuTest,
                         public ::testing::WithParamInterface<DescriptionCase> {};

}  // namespace

TEST_F(CommandMenuTest, ShowsTheItemsAndMovesOneStepPerPressWithinTheEnds) {
  keys.press(kKeyUp);           // already at the top: nothing
  keys.press(kKeyDown, 500);    // held: one step
  keys.press(kKeyDown);
  keys.press(kKeyDown);         // on "魔法"
  keys.press(kKeyDown);         // at the bottom: nothing
  keys.press(kKeyUp);           // back to "カウンター"
  keys.press(kKeyUp);           // and "強攻撃"
  EXPECT_EQ(CommandMenu(), Screen::Quit);

  const char* labels[] = {"攻撃", "強攻撃", "カウンター", "魔法"};
  for (int row = 19; row <= 22; ++row) EXPECT_TRUE(Shows(6, row, labels[row - 19], 0, 15));
  EXPECT_EQ(CursorRow(), 20);
  EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>(5, "kasoru.wav"));
  EXPECT_EQ(runState.turnCount, 0);
  // Moving up cleared the fifth line of "カウンター" that "強攻撃" does not reach.
  EXPECT_EQ(Styled(20, 22, 59), "ただし相手がカウンターを選択していた場合、確実に命中する。");
  EXPECT_EQ(Styled(20, 23, 59), "");
}

TEST_P(MenuDescriptions, DescribeTheItemUnderTheCursor) {
  for (int i = 0; i < GetParam().downs; ++i) keys.press(kKeyDown);
  CommandMenu();
  EXPECT_EQ(CursorRow(), 19 + GetParam().downs);
  for (int row = 19; row <= 23; ++row)
    EXPECT_EQ(Styled(20, row, 59), GetParam().rows[row - 19]) << row;
}

INSTANTIATE_TEST_SUITE_P(
    EachItem, MenuDescriptions,
    ::testing::Values(
        DescriptionCase{0,
                        {"通常攻撃を行う。強攻撃に強い。", "相手がカウンターを選択していた場合、",
                         "3分の1の確率で攻撃失敗となる。", "", ""}},
        DescriptionCase{1,
                        {"通常攻撃の1.5倍の攻撃力で攻撃する。", "このターン防御力が2分の1になる。",
                         "通常攻撃に比べ、命中率が低い。",
                         "ただし相手がカウンターを選択していた場合、確実に命中する。", ""}},
        DescriptionCase{2,
                        {"成功した場合、相手の攻撃をかわし、",
                         "(相手の攻撃力＋魔力)÷2で反撃する。(必ず命中する)",
                         "このターン防御力が2分の1になるが、HP、MPを多少回復する。",
                         "相手が魔法を選択していた場合、確実に成功する。",
                         "相手が強攻撃を選択していた場合、確実に失敗する。"}},
        DescriptionCase{3,
                        {"{5}消費MP150。", "相手の防御を無視し、",
                         "自分の魔力÷3の値を直接ダメージとして与える。(必ず命中する)",
                         "ただし相手がカウンターを選択していた場合、確実に失敗する。", ""}}));

TEST_F(CommandMenuTest, MagicIsRefusedBelowOneHundredAndFiftyMp) {
  player.mp = 149;
  for (int i = 0; i < 3; ++i) keys.press(kKeyDown);
  keys.press(kKeyEnter);
  std::vector<std::uint32_t> shown;
  for (std::uint32_t t = 1; t < 3000; ++t)
    keys.at(t, [&] {
      if (Text(38, 21, 18) != "ＭＰが足りません！") return;
      EXPECT_TRUE(Shows(38, 21, "ＭＰが足りません！", 12, 15));
      EXPECT_EQ(Styled(20, 19, 59), "");  // the description made way
      shown.push_back(console.now());
    });
  CommandMenu();

  EXPECT_EQ(runState.turnCount, 0);
  EXPECT_EQ(player.mp, 149);
  ASSERT_EQ(sound.names("play_wave"),
            (std::vector<std::string>{"kasoru.wav", "kasoru.wav", "kasoru.wav", "kettei.wav"}));
  ASSERT_FALSE(shown.empty());
  const std::uint32_t confirmed = sound.calls().back().time;
  EXPECT_EQ(shown.front(), confirmed + 1);
  EXPECT_EQ(shown.back(), confirmed + 1000);  // a full second, then the description again
  EXPECT_EQ(CursorRow(), 22);
  EXPECT_EQ(Styled(20, 19, 59), "{5}消費MP150。");
}

TEST_F(CommandMenuTest, MagicWithOneHundredAndFiftyMpIsPlayed) {
  player.mp = 150;
  gameRandom.seed(SeedFor(Attack));
  for (int i = 0; i < 3; ++i) keys.press(kKeyDown);
  keys.press(kKeyEnter);
  CommandMenu();
  EXPECT_EQ(runState.turnCount, 1);
  EXPECT_EQ(playerCommand, Magic);
  EXPECT_EQ(player.mp, 0);
  const auto names = sound.names("play_wave");
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(names[3], "kettei.wav");
  EXPECT_EQ(Count("mahou.wav"), 1u);
}

TEST_F(CommandMenuTest, EnterHeldThroughATurnConfirmsAgain) {
  keys.press(kKeyEnter, 20000);
  CommandMenu();
  EXPECT_GE(runState.turnCount, 2);
  EXPECT_EQ(Count("kettei.wav"), static_cast<std::size_t>(runState.turnCount));
}

TEST_F(CommandMenuTest, AShortPressPlaysOneTurn) {
  keys.press(kKeyEnter, 50);
  CommandMenu();
  EXPECT_EQ(runState.turnCount, 1);
  EXPECT_EQ(Count("kettei.wav"), 1u);
}

TEST_F(CommandMenuTest, EachPassBlanksTheCommandPlacesAndAWinEndsTheMenu) {
  console.locate(55, 5);
  console.print("old");
  console.locate(20, 13);
  console.print("old");
  roster.hp[0] = 1;
  player.agility = 999;
  player.mp = 150;
  gameRandom.seed(SeedFor(Attack));
  keys.press(kKeyDown);
  keys.pause(100);
  bool blank = false;
  keys.at(20, [&] {
    blank = Styled(55, 5, 26).empty() && Styled(20, 13, 26).empty() &&
            Colors(55, 5) == std::pair(15, 15) && Colors(20, 13) == std::pair(15, 15);
  });
  for (int i = 0; i < 2; ++i) keys.press(kKeyDown);
  keys.press(kKeyEnter);
  EXPECT_EQ(CommandMenu(), Screen::Victory);
  EXPECT_TRUE(blank);
  EXPECT_EQ(roster.hp[0], 0);
}

TEST_F(CommandMenuTest, GameOverEndsTheMenuForTheTitleScreen) {
  // The opponent is faster and casts; the player, at 30 HP, falls before acting.
  player.hp = 30;
  roster.agility[0] = player.agility + 1;
  gameRandom.seed(SeedForFall(Magic, false));
  keys.press(kKeyEnter);
  WatchMessages(5000, 10);
  EXPECT_EQ(CommandMenu(), Screen::Title);
  EXPECT_EQ(player.hp, 0);
  EXPECT_EQ(roster.hp[0], 999);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().text, "{5}自称勇者ぽこぺ{0}の魔法攻撃！");
  for (const MessageLine& line : lines) EXPECT_EQ(line.text.find("{9}HERO{0}の攻撃"), std::string::npos);
}
