// The manual: turning pages, leaving with Enter, and what each page shows.
#include "game/pages/manual_screen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/flow/screen.hpp"
#include "tests/support/game_session.hpp"

namespace {

class Manual : public GameSession {
 protected:
  static bool ShowsFooter(int page) {
    return Shows(22, 25,
                 "[←][→]…ページ切り替え　[ENTER]…タイトル画面に戻る  " + std::to_string(page) + "/6",
                 0, 15);
  }
  long Kasoru() const {
    const auto effects = sound.names("play_wave");
    return std::count(effects.begin(), effects.end(), "kasoru.wav");
  }
};

}  // namespace

TEST_F(Manual, PagesTurnOneStepPerPressAndStopAtTheEnds) {
  keys.hold(kKeyEnter, 0, 400);  // the Enter that opened the manual does not close it
  // The page shown afterwards, and the page-turn sounds so far.
  const struct { VirtualKey key; std::uint32_t holdMs; int page; long kasoru; } steps[] = {
      {kKeyLeft, 50, 1, 0},    // nothing before page 1
      {kKeyRight, 600, 2, 1},  // held: one page only
      {kKeyRight, 50, 3, 2},  {kKeyRight, 50, 4, 3}, {kKeyRight, 50, 5, 4},
      {kKeyRight, 50, 6, 5},  {kKeyRight, 50, 6, 5},  // nothing after page 6
      {kKeyLeft, 50, 5, 6},
  };
  std::uint32_t time = 500;
  for (const auto& s : steps) {
    keys.hold(s.key, time, time + s.holdMs);
    time += s.holdMs + 100;
    At(time - 50, [this, &s] {
      EXPECT_TRUE(ShowsFooter(s.page));
      EXPECT_EQ(Kasoru(), s.kasoru) << s.page;
    });
  }
  keys.hold(kKeyEnter, time, time + 50);
  EXPECT_EQ(ManualScreen(), Screen::Title);
  EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
}

TEST_F(Manual, EachPageShowsItsTextsAndEnterLeavesFromIt) {
  const struct { int page, column, row; std::string text; int fg; } lines[] = {
      {1, 3, 2, "■はじめに", 9},
      {1, 3, 6, "　全6ラウンド", 12},
      {2, 29, 5, "負け", 4},
      {2, 3, 17, "　□強攻撃    ", 0},  // the tab runs to the next stop
      {3, 79, 6, "。", 0},  // the longest line ends at the last column
      {3, 3, 15, "■簡易相性まとめ", 9},
      {4, 2, 2, "■各コマンドの相性詳細（Ａ:攻撃側、Ｂ:防御側) ", 9},
      {5, 22, 8, "大幅にキャラクターの能力", 12},
      {5, 24, 14, "きっと立ち上がってくれるハズ！", 2},
      {6, 2, 2, "■スタッフ", 9},
      {6, 2, 23, "　　DOMRAK developers", 0},
  };
  for (int page = 1; page <= 6; ++page) {
    keys.pause(100);
    for (int i = 1; i < page; ++i) keys.press(kKeyRight);
    keys.press(kKeyEnter);
    ASSERT_EQ(ManualScreen(), Screen::Title) << "Enter leaves from page " << page;
    EXPECT_TRUE(ShowsFooter(page));
    for (const auto& line : lines) {
      if (line.page == page) {
        EXPECT_TRUE(Shows(line.column, line.row, line.text, line.fg, 15)) << page;
      }
    }
    if (page == 3) {
      EXPECT_EQ(Text(1, 7, 2), "  ") << "nothing wrapped into the next row";
    }
  }
}
