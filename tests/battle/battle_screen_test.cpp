// The battle screen: its panels and frame, the bars filling, and the "FIGHT!" opening.
#include <gtest/gtest.h>

#include "game/battle/battle_screen.hpp"
#include "game/battle/status_bars.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

using BattleScreenTest = BattleFixture;

namespace {
// Four full bars of 20 cells at 15 ms, then 500 ms: the opening starts here.
constexpr std::uint32_t kOpeningStart = 80 * 15 + 500;
constexpr std::uint32_t kFlash = kOpeningStart + 31 * 10;
constexpr std::uint32_t kMenuStart = kFlash + 1000 + 37 * 10;
}  // namespace

TEST_F(BattleScreenTest, DrawsBothPanelsTheFrameAndTheKeyHelpAndSetsTheShownValues) {
  player.hp = 7;
  player.mp = 45;
  EXPECT_EQ(BattleScreen(), Screen::Quit);
  // The shown values start at the maxima, whatever the current values.
  EXPECT_EQ(shownPlayerHp, 400);
  EXPECT_EQ(shownPlayerMp, 300);
  EXPECT_EQ(shownEnemyHp, roster.maxHp[0]);
  EXPECT_EQ(shownEnemyMp, roster.maxMp[0]);

  EXPECT_TRUE(Shows(3, 2, "自称勇者ぽこぺ", 0, 15));
  EXPECT_TRUE(Shows(3, 3, "ＨＰ 360 / 360", 12, 15));
  EXPECT_TRUE(Shows(3, 5, "ＭＰ 300 / 300", 5, 15));
  EXPECT_TRUE(Shows(3, 7, "攻280", 12, 15));
  EXPECT_TRUE(Shows(9, 7, "防200", 2, 15));
  EXPECT_TRUE(Shows(15, 7, "敏50", 1, 15));
  EXPECT_TRUE(Shows(21, 7, "魔280", 6, 15));

  EXPECT_TRUE(Shows(57, 11, "HERO", 0, 15));
  EXPECT_TRUE(Shows(57, 12, "ＨＰ   7 / 400", 12, 15));
  EXPECT_TRUE(Shows(57, 14, "ＭＰ  45 / 300", 5, 15));
  EXPECT_TRUE(Shows(57, 16, "攻300", 12, 15));
  EXPECT_TRUE(Shows(63, 16, "防150", 2, 15));
  EXPECT_TRUE(Shows(69, 16, "敏100", 1, 15));
  EXPECT_TRUE(Shows(75, 16, "魔200", 6, 15));

  for (int column = 1; column <= 80; ++column) {
    EXPECT_EQ(Colors(column, 18), std::pair(15, 7)) << column;
    EXPECT_EQ(Colors(column, 24), std::pair(15, 7)) << column;
  }
  for (int row = 19; row <= 23; ++row) {
    for (int column : {1, 2, 17, 18, 79, 80}) EXPECT_EQ(Colors(column, row), std::pair(15, 7));
    for (int column : {3, 16, 19, 78}) EXPECT_EQ(Colors(column, row).second, 15);
  }
  EXPECT_TRUE(Shows(51, 25, "[ENTER]…決定  [↑][↓]…選択", 0, 15));

  // Full bars have 20 cells; the player's show the current values: 7 of 400 HP still
  // covers one cell, 45 of 300 MP three.
  EXPECT_EQ(BarCells(3, 4, 12), 20);
  EXPECT_EQ(BarCells(3, 6, 5), 20);
  EXPECT_EQ(BarCells(57, 13, 12), 1);
  EXPECT_EQ(BarCells(57, 15, 5), 3);
  EXPECT_EQ(Colors(23, 4).second, 15);

  // The menu is up with the first item's description.
  EXPECT_TRUE(Shows(4, 19, "⇒", 1, 15));
  EXPECT_TRUE(Shows(6, 19, "攻撃", 0, 15));
  EXPECT_TRUE(Shows(6, 22, "魔法", 0, 15));
  EXPECT_TRUE(Shows(20, 19, "通常攻撃を行う。強攻撃に強い。", 0, 15));
}

TEST_F(BattleScreenTest, BarsFillCellByCellInTheirOrder) {
  // Opponent HP 0..19 by 300 ms, opponent MP by 600, player HP by 900, player MP by 1200.
  struct Probe {
    std::uint32_t time;
    int opponentHp, opponentMp, playerHp, playerMp;
  } probes[] = {{1, 1, 0, 0, 0}, {151, 11, 0, 0, 0}, {301, 20, 1, 0, 0},
                {901, 20, 20, 20, 1}, {1201, 20, 20, 20, 20}};
  std::vector<Probe> seen;
  for (const Probe& p : probes)
    keys.at(p.time, [&seen, t = p.time] {
      seen.push_back({t, BarCells(3, 4, 12), BarCells(3, 6, 5), BarCells(57, 13, 12),
                      BarCells(57, 15, 5)});
    });
  BattleScreen();
  ASSERT_EQ(seen.size(), std::size(probes));
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].opponentHp, probes[i].opponentHp) << probes[i].time;
    EXPECT_EQ(seen[i].opponentMp, probes[i].opponentMp) << probes[i].time;
    EXPECT_EQ(seen[i].playerHp, probes[i].playerHp) << probes[i].time;
    EXPECT_EQ(seen[i].playerMp, probes[i].playerMp) << probes[i].time;
  }
}

TEST_F(BattleScreenTest, FightOpeningSlidesMeetsInRedAndParts) {
  std::vector<std::string> row10;
  for (std::uint32_t t : {kOpeningStart + 5, kFlash - 5, kFlash + 5, kMenuStart - 5})
    keys.at(t, [&row10] { row10.push_back(Styled(1, 10, 80)); });
  // The menu comes up only when the opening is over.
  std::vector<std::string> cursor;
  for (std::uint32_t t : {kMenuStart - 1, kMenuStart + 1})
    keys.at(t, [&cursor] { cursor.push_back(Text(4, 19, 2)); });
  BattleScreen();
  EXPECT_EQ(cursor, (std::vector<std::string>{"  ", "⇒"}));

  ASSERT_EQ(row10.size(), 4u);
  // First step: the copies at columns 7 and 67.
  EXPECT_EQ(row10[0], "      FIGHT!" + std::string(54, ' ') + "FIGHT!");
  // Last sliding step: both at 37, still black.
  EXPECT_EQ(row10[1], std::string(36, ' ') + "FIGHT!");
  EXPECT_EQ(row10[2], std::string(36, ' ') + "{12}FIGHT!");
  // Last parting step: the right copy at 74; the left one, addressed off the screen, lands
  // there too; "FIGHT" of the step before stays at the left edge.
  EXPECT_EQ(row10[3], "{12}FIGHT" + std::string(68, ' ') + "FIGHT!");
  // Then the row is blank again, on white.
  EXPECT_EQ(Styled(1, 10, 80), "");
  for (int column = 1; column <= 80; ++column) EXPECT_EQ(Colors(column, 10).second, 15);

  ASSERT_EQ(sound.names("play_wave"), std::vector<std::string>{"flush.wav"});
  EXPECT_EQ(sound.calls().front().time, kFlash);
}

TEST_F(BattleScreenTest, NoOpeningAfterTheExtraRound) {
  runState.round = 8;
  BattleScreen();
  EXPECT_TRUE(sound.names("play_wave").empty());
  EXPECT_EQ(console.now(), kOpeningStart + 30);  // and one pass of the menu
}

TEST_F(BattleScreenTest, AFightReplaysTheSameFromTheSameSeed) {
  keys.hold(kKeyEnter, 0, 10'000'000);
  struct Fight {
    Screen end;
    int turns, playerHp, playerMp;
    std::vector<std::string> sounds;
    std::vector<std::uint32_t> times;  // from the start of the fight
  };
  auto fight = [&] {
    player.hp = player.maxHp;
    player.mp = player.maxMp;
    gameRandom.seed(42);
    ResetRoster();
    runState = RunState{};
    sound.forget();
    const std::uint32_t start = console.now();
    Fight f{BattleScreen(), runState.turnCount, player.hp, player.mp, sound.names("play_wave"), {}};
    for (const auto& call : sound.calls()) f.times.push_back(call.time - start);
    return f;
  };
  player.attack = 600;
  const Fight first = fight();
  const Fight again = fight();
  EXPECT_NE(first.end, Screen::Quit);
  EXPECT_GT(first.turns, 0);
  EXPECT_EQ(again.end, first.end);
  EXPECT_EQ(again.turns, first.turns);
  EXPECT_EQ(again.playerHp, first.playerHp);
  EXPECT_EQ(again.playerMp, first.playerMp);
  EXPECT_EQ(again.sounds, first.sounds);
  EXPECT_EQ(again.times, first.times);
}
