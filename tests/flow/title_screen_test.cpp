// The title screen: logo, menu, fighter status, the selection frame and choosing an item.
#include "game/flow/title_screen.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "game/ui/screen.hpp"
#include "game/model/fighter.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/game_session.hpp"

using Title = GameSession;

namespace {

using Cells = std::set<std::pair<int, int>>;

// The 38 cells of the frame around the item at `row`: runs of twelve two rows above and below
// with one more cell each side, two cells each side one row off, one each side on the row.
Cells FrameCells(int row) {
  Cells cells = {{28, row - 2}, {54, row - 2}, {28, row + 2}, {54, row + 2}, {26, row}, {56, row}};
  for (int c = 30; c <= 52; c += 2) cells.insert({c, row - 2}), cells.insert({c, row + 2});
  for (int r : {row - 1, row + 1})
    for (int c : {26, 28, 54, 56}) cells.insert({c, r});
  return cells;
}

// Every cell of the menu area that shows "■".
Cells FrameShown() {
  Cells cells;
  for (int row = 7; row <= 23; ++row)
    for (int column = 20; column <= 60; column += 2)  // the frame stands on even columns
      if (console.screen().text(column, row, 2) == "■") cells.insert({column, row});
  return cells;
}

const std::string kNameEntryHelp = " 名前を入力してキャラを誕生させよう";
const std::string kArenaHelp = " 全6ラウンドを勝ち抜く基本のモード";

}  // namespace

// Without a fighter the arena is refused for a second; Enter still down from the screen before
// is let go first.
TEST_F(Title, ShowsLogoMenuAndNoFighterAndRefusesTheArenaWithoutOne) {
  CreateFighter("A");
  player.erase();  // as game over leaves it: the numbers are still there, the name is gone
  keys.hold(kKeyEnter, 0, 300);
  keys.hold(kKeyDown, 400, 450);
  keys.hold(kKeyEnter, 1000, 1050);  // taken before 1020
  for (std::uint32_t t : {1030u, 1990u})
    At(t, [] { EXPECT_TRUE(Shows(4, 24, "先にネームエントリーして下さい！", 12, 15)); });
  keys.set_idle_limit(100);
  EXPECT_EQ(TitleScreen(), Screen::Quit);
  EXPECT_GE(sound.calls().front().time, 299u) << "nothing happens before Enter is let go";
  EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>({"kasoru.wav", "kettei.wav"}));
  EXPECT_TRUE(Shows(2, 24, "|", 4, 15)) << "help line back";
  EXPECT_TRUE(Shows(3, 24, kArenaHelp, 0, 15)) << "help line back";
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 7, 15)) << "greyed without a fighter";
  for (int row = 7; row <= 14; ++row)  // no fighter: its area is blanked
    EXPECT_TRUE(Shows(3, row, row <= 8 ? "　　　　　　　　　　　　" : "　　　　", 0, 15));
}

TEST_F(Title, ArrowsMoveTheFrameOneItemPerPressAndEnterOpensTheItem) {
  CreateFighter("A");
  player.hp = 12;  // the status shows the current values, not the maxima
  player.mp = 7;
  const std::vector<std::string> kToNameEntry = {"wave kettei.wav", "stop title.mid",
                                                 "load entry.mid", "play entry.mid loop"};
  // Presses as key and hold; `moves` counts the cursor sounds.
  const struct {
    std::vector<std::pair<VirtualKey, std::uint32_t>> presses;
    int row, barColor; std::string help; long moves; Screen next; std::vector<std::string> sounds;
  } cases[] = {
      {{{kKeyUp, 50}}, 10, 9, kNameEntryHelp, 0, Screen::NameEntry, kToNameEntry},
      {{{kKeyDown, 400}}, 15, 4, kArenaHelp, 1, Screen::NewRun, {"wave kettei.wav"}},
      {{{kKeyDown, 50}, {kKeyDown, 50}, {kKeyUp, 50}, {kKeyUp, 300}, {kKeyUp, 50}}, 10, 9,
       kNameEntryHelp, 4, Screen::NameEntry, kToNameEntry},
      {{{kKeyDown, 50}, {kKeyDown, 50}, {kKeyDown, 50}}, 20, 6, " まずはルールを覚えましょう", 2,
       Screen::Manual, {"wave kettei.wav"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moves);
    sound.forget();
    keys.pause(100);  // the last visit's Enter is let go first
    for (auto [key, hold] : c.presses) keys.press(key, hold);
    keys.press(kKeyEnter);
    EXPECT_EQ(TitleScreen(), c.next);
    EXPECT_EQ(FrameShown(), FrameCells(c.row)) << "the frame moved whole, nothing left behind";
    for (auto [column, row] : FrameCells(c.row)) EXPECT_TRUE(Shows(column, row, "■", 9, 7));
    EXPECT_TRUE(Shows(2, 24, "|", c.barColor, 15)) << "the help line's bar";
    EXPECT_TRUE(Shows(3, 24, c.help, 0, 15)) << "the help line";
    const auto log = SoundLog(sound);
    EXPECT_EQ(std::count(log.begin(), log.end(), "wave kasoru.wav"), c.moves);
    EXPECT_NE(std::find(log.begin(), log.end(), "play title.mid loop"), log.end());
    ASSERT_GE(log.size(), c.sounds.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - c.sounds.size(), log.end()), c.sounds);
    EXPECT_EQ(console.foreground(), 0) << "the next screen would print in another colour";
    EXPECT_EQ(console.background(), 15) << "the next screen would print on another background";
  }
  EXPECT_TRUE(Shows(30, 24, "　　　　　　　　", 15, 15)) << "the longer help is blanked";
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 0, 15));
  EXPECT_TRUE(Shows(3, 8, "名前:A", 0, 15));
  EXPECT_TRUE(Shows(3, 9, "ＨＰ:12", 4, 15));
  EXPECT_TRUE(Shows(3, 10, "ＭＰ:7", 5, 15));
}
