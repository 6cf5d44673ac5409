// The manual: turning pages, leaving with Enter, and what each page shows.
#include "game/pages/manual_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/flow/screen.hpp"
#include "tests/support/game_session.hpp"

namespace {

class Manual : public GameSession {
 protected:
  // Opens the manual, turns `rights` pages right, then leaves with Enter.
  Screen TurnAndLeave(int rights) {
    for (int i = 0; i < rights; ++i) keys.press(kKeyRight);
    keys.press(kKeyEnter);
    return ManualScreen();
  }
  static std::string Footer(int page) {
    return "[←][→]…ページ切り替え　[ENTER]…タイトル画面に戻る  " + std::to_string(page) + "/6";
  }
  int Kasoru() const {
    int n = 0;
    for (const auto& name : sound.names("play_wave")) n += name == "kasoru.wav";
    return n;
  }
};

}  // namespace

TEST_F(Manual, PagesTurnOneStepPerPressAndStopAtTheEnds) {
  struct Step {
    VirtualKey key;
    std::uint32_t holdMs;
    int page;    // shown afterwards
    int kasoru;  // sounds so far
  } steps[] = {
      {kKeyLeft, 50, 1, 0},    // nothing before page 1
      {kKeyRight, 600, 2, 1},  // held: one page only
      {kKeyRight, 50, 3, 2},  {kKeyRight, 50, 4, 3}, {kKeyRight, 50, 5, 4},
      {kKeyRight, 50, 6, 5},  {kKeyRight, 50, 6, 5},  // nothing after page 6
      {kKeyLeft, 50, 5, 6},
  };
  std::uint32_t time = 100;
  for (const Step& s : steps) {
    keys.hold(s.key, time, time + s.holdMs);
    time += s.holdMs + 100;
    At(time - 50, [this, &s] {
      EXPECT_TRUE(Shows(22, 25, Footer(s.page), 0, 15)) << s.page;
      EXPECT_EQ(Kasoru(), s.kasoru) << s.page;
    });
  }
  keys.hold(kKeyEnter, time, time + 50);
  EXPECT_EQ(ManualScreen(), Screen::Title);
  EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
}

TEST_F(Manual, WaitsForEnterToBeLetGoOnArrival) {
  keys.hold(kKeyEnter, 0, 400);
  keys.set_idle_limit(200);
  EXPECT_EQ(ManualScreen(), Screen::Quit) << "the Enter that opened it does not close it";
  EXPECT_TRUE(sound.names("play_wave").empty());
  EXPECT_TRUE(Shows(22, 25, Footer(1), 0, 15));
}

TEST_F(Manual, EachPageShowsItsTextsAndEnterLeavesFromIt) {
  struct Line {
    int page;
    int column;
    int row;
    std::string text;
    int fg;
  } lines[] = {
      {1, 3, 2, "■はじめに", 9},
      {1, 3, 6, "　全6ラウンド", 12},
      {1, 16, 6, "の闘技場に挑むゲームとなっております。", 0},
      {1, 3, 13, "  まずは名前を入力し、キャラクターを作成しましょう。", 0},
      {1, 3, 21, "　合計ターン数を少なくクリアすると何か起こるという噂も？", 6},
      {2, 3, 5, "　先にＨＰが無くなった方が", 0},
      {2, 29, 5, "負け", 4},
      {2, 33, 5, "となります。", 0},
      {2, 3, 17, "　□強攻撃    ", 0},  // the tab runs to the next stop
      {2, 3, 21, "　　ただし相手がカウンターを選択していた場合、確実に命中する。", 0},
      {3, 3, 2, "　□カウンター", 0},
      {3, 3, 15, "■簡易相性まとめ", 9},
      {4, 2, 2, "■各コマンドの相性詳細（Ａ:攻撃側、Ｂ:防御側) ", 9},
      {4, 2, 10, "　　3分の1の確率で失敗となり、 (Ａ攻撃力 ＋ Ａ防御力) ÷ 2の威力で反撃される。",
       0},
      {5, 22, 8, "大幅にキャラクターの能力", 12},
      {5, 46, 8, "が強化される。", 0},
      {5, 24, 14, "きっと立ち上がってくれるハズ！", 2},
      {5, 2, 16, "　　･･････という訳で、運が良ければＨＰが無くなっても復活します。", 0},
      {6, 2, 2, "■スタッフ", 9},
      {6, 2, 4, "　□素材提供", 0},
      {6, 2, 6, "　　・DOMRAK developers 様", 0},
      {6, 2, 17, "　□テストプレイ", 0},
      {6, 2, 21, "　□企画・プログラム", 0},
      {6, 2, 23, "　　DOMRAK developers", 0},
  };
  for (int page = 1; page <= 6; ++page) {
    keys.pause(100);
    ASSERT_EQ(TurnAndLeave(page - 1), Screen::Title) << "Enter leaves from page " << page;
    EXPECT_TRUE(Shows(22, 25, Footer(page), 0, 15)) << page;
    for (const Line& line : lines)
      if (line.page == page) {
        EXPECT_TRUE(Shows(line.column, line.row, line.text, line.fg, 15)) << page;
      }
  }
}

TEST_F(Manual, TheLongestLineEndsAtTheLastColumn) {
  ASSERT_EQ(TurnAndLeave(2), Screen::Title);
  EXPECT_EQ(Text(79, 6, 2), "。");
  EXPECT_EQ(Text(1, 7, 2), "  ") << "nothing wrapped into the next row";
}
