// The manual: turning pages, what each page shows, and leaving with Enter.
#include "game/pages/manual_screen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/ui/screen.hpp"
#include "tests/support/game_session.hpp"

using Manual = GameSession;

namespace {

// Lines that tell the pages apart: page, place, text and colour.
const struct { int page, column, row; std::string text; int fg; } kLines[] = {
    {1, 3, 2, "■はじめに", 9},
    {2, 29, 5, "負け", 4},
    {2, 3, 17, "　□強攻撃    ", 0},  // the tab runs to the next stop
    {3, 79, 6, "。", 0},             // the longest line ends at the last column
    {3, 1, 7, "  ", 0},              // and nothing wraps into the next row
    {6, 2, 23, "　　DOMRAK developers", 0},
};

}  // namespace

TEST_F(Manual, PagesTurnOneStepPerPressStopAtTheEndsAndShowTheirTexts) {
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
      SCOPED_TRACE(s.page);
      EXPECT_TRUE(Shows(22, 25, "[←][→]…ページ切り替え　[ENTER]…タイトル画面に戻る  " +
                                    std::to_string(s.page) + "/6", 0, 15));
      const auto effects = sound.names("play_wave");
      EXPECT_EQ(std::count(effects.begin(), effects.end(), "kasoru.wav"), s.kasoru);
      for (const auto& line : kLines)
        EXPECT_TRUE(line.page != s.page || Shows(line.column, line.row, line.text, line.fg, 15));
    });
  }
  keys.hold(kKeyEnter, time, time + 50);
  EXPECT_EQ(ManualScreen(), Screen::Title);
  EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
}
