// The battle screen: its panels, the bars filled, and the "FIGHT!" opening.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "game/battle/battle_screen.hpp"
#include "game/battle/status_bars.hpp"
#include "tests/battle/battle_fixture.hpp"

using BattleScreenTest = BattleFixture;

namespace {
// The bars fill 20 + 20 + 1 + 3 cells (see below) at 15 ms, then 500 ms: the opening starts.
constexpr std::uint32_t kOpeningStart = 44 * 15 + 500;
constexpr std::uint32_t kFlash = kOpeningStart + 31 * 10;
constexpr std::uint32_t kMenuStart = kFlash + 1000 + 37 * 10;
}  // namespace

TEST_F(BattleScreenTest, DrawsThePanelsFillsTheBarsAndPlaysTheOpeningBeforeTheMenu) {
  runState = {7, 6, 0};  // the Extra Round, which has its opening too
  player.hp = 7;
  player.mp = 45;
  const std::pair<std::uint32_t, std::string> row10[] = {
      // First step: the copies at columns 7 and 67.
      {kOpeningStart + 5, "      FIGHT!" + std::string(54, ' ') + "FIGHT!"},
      // Both met at 37: red.
      {kFlash + 5, std::string(36, ' ') + "{12}FIGHT!"},
      // Last parting step: the right copy at 74; the left one, addressed off the screen, lands
      // there too; "FIGHT" of the step before stays at the left edge.
      {kMenuStart - 5, "{12}FIGHT" + std::string(68, ' ') + "FIGHT!"},
  };
  for (const auto& [time, text] : row10)
    At(time, [time, text] { EXPECT_EQ(Styled(1, 10, 80), text) << time; });
  At(kMenuStart - 1, [] { EXPECT_EQ(Text(4, 19, 2), "  "); });  // the menu waits for the opening
  At(kMenuStart + 1, [] { EXPECT_EQ(Text(4, 19, 2), "⇒"); });
  EXPECT_EQ(BattleScreen(), Screen::Quit);

  // Then row 10 is blank again; the bars are full but for the player's 7 HP (one cell) and
  // 45 MP (three): opponent HP, opponent MP, player HP, player MP.
  EXPECT_EQ(Styled(1, 10, 80), "");
  EXPECT_EQ(BarCells(3, 4, 12), 20) << "the opponent's HP bar";
  EXPECT_EQ(BarCells(3, 6, 5), 20) << "the opponent's MP bar";
  EXPECT_EQ(BarCells(57, 13, 12), 1) << "the player's HP bar";
  EXPECT_EQ(BarCells(57, 15, 5), 3) << "the player's MP bar";
  ASSERT_EQ(sound.names("play_wave"), std::vector<std::string>{"flush.wav"});
  EXPECT_EQ(sound.calls().front().time, kFlash);
  // The shown values start at the maxima, whatever the current values.
  EXPECT_EQ(shownPlayerHp, 400);
  EXPECT_EQ(shownPlayerMp, 300);
  EXPECT_EQ(shownEnemyHp, 750);
  EXPECT_EQ(shownEnemyMp, 750);
  const struct { int column, row; const char* text; int fg; } texts[] = {
      {3, 2, "伝説の勇者ぽこぺ", 0}, {3, 3, "ＨＰ 750 / 750", 12}, {3, 5, "ＭＰ 750 / 750", 5},
      {3, 7, "攻700", 12}, {9, 7, "防600", 2}, {15, 7, "敏450", 1}, {21, 7, "魔600", 6},
      {57, 11, "HERO", 0}, {57, 12, "ＨＰ   7 / 400", 12}, {57, 14, "ＭＰ  45 / 300", 5},
  };
  for (const auto& t : texts) EXPECT_TRUE(Shows(t.column, t.row, t.text, t.fg, 15));
}

TEST_F(BattleScreenTest, NoOpeningAfterTheExtraRound) {
  runState.round = 8;
  BattleScreen();
  EXPECT_TRUE(sound.names("play_wave").empty());
  EXPECT_EQ(console.now(), 80 * 15 + 500 + 30u);  // full bars, and one pass of the menu
}
