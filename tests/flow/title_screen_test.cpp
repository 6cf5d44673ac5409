// The title screen: logo, menu, fighter status, moving the frame and choosing an item.
#include "game/flow/title_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/flow/screen.hpp"
#include "game/model/fighter.hpp"
#include "tests/support/game_session.hpp"

namespace {

class Title : public GameSession {
 protected:
  // Opens the title, lets the scripted keys play and keeps it open `idleMs` after them.
  Screen Open(std::uint32_t idleMs = 100) {
    keys.set_idle_limit(idleMs);
    return TitleScreen();
  }
  // Whether the frame's top run stands over the item at `row`.
  static bool FrameAt(int row) { return Shows(30, row - 2, "■■■■■■■■■■■■", 9, 7); }
};

}  // namespace

TEST_F(Title, ShowsLogoMenuKeyHelpAndNoFighter) {
  CreateFighter("A");
  player.erase();  // as game over leaves it: the numbers are still there, the name is gone
  EXPECT_EQ(Open(), Screen::Quit);
  EXPECT_TRUE(Shows(34, 10, "ネームエントリー", 0, 15));
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 7, 15));
  EXPECT_TRUE(Shows(36, 20, "マニュアル", 0, 15));
  EXPECT_TRUE(Shows(51, 25, "[ENTER]…決定  [↑][↓]…選択", 0, 15));
  EXPECT_TRUE(FrameAt(10));
  EXPECT_TRUE(Shows(2, 24, "|", 9, 15));
  EXPECT_TRUE(Shows(3, 24, " 名前を入力してキャラを誕生させよう", 0, 15));

  // Every logo cell is a dark block or a white blank, and each of the five rows has blocks.
  for (int row = 2; row <= 6; ++row) {
    int blocks = 0;
    for (int column = 12; column < 12 + 56; column += 2) {
      if (Text(column, row, 2) == "■") {
        ++blocks;
        EXPECT_EQ(Colors(column, row), std::make_pair(0, 8)) << column << "," << row;
      } else {
        EXPECT_TRUE(Shows(column, row, "  ", 15, 15)) << column << "," << row;
      }
    }
    EXPECT_GT(blocks, 6) << row;
  }
  EXPECT_EQ(Colors(11, 2), std::make_pair(0, 15));
  EXPECT_EQ(Colors(68, 6), std::make_pair(0, 15));

  // No fighter: its area is blanked.
  EXPECT_TRUE(Shows(3, 7, "　　　　　　　　　　　　", 0, 15));
  EXPECT_TRUE(Shows(3, 8, "　　　　　　　　　　　　", 0, 15));  // its last cell is under the frame
  for (int row = 9; row <= 14; ++row) EXPECT_TRUE(Shows(3, row, "　　　　", 0, 15));
}

TEST_F(Title, ShowsTheFightersCurrentValues) {
  CreateFighter("A");
  player.hp = 12;  // the current values, not the maxima
  player.mp = 7;
  Open();
  EXPECT_TRUE(Shows(3, 8, "名前:A", 0, 15));
  struct Line {
    int row;
    std::string text;
    int color;
  } lines[] = {
      {9, "ＨＰ:12", 4},    {10, "ＭＰ:7", 5},   {11, "魔力:245", 6},
      {12, "攻撃:335", 12}, {13, "防御:200", 2}, {14, "敏捷:330", 1},
  };
  for (const Line& line : lines) EXPECT_TRUE(Shows(3, line.row, line.text, line.color, 15));
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 0, 15));
}

TEST_F(Title, HoldingAKeyMovesOneStepAndTheHelpLineFollows) {
  keys.press(kKeyDown, 400);  // held: one step only
  keys.press(kKeyDown);
  keys.press(kKeyDown);  // already on the last item: nothing, not even a sound
  Open();
  EXPECT_TRUE(FrameAt(20));
  EXPECT_TRUE(Shows(28, 13, "　", 15, 15)) << "the frame at row 15 is erased";
  EXPECT_TRUE(Shows(30, 13, "　　　　　　　　　　　　", 15, 15));
  EXPECT_TRUE(Shows(26, 15, "　", 15, 15));
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 7, 15));
  EXPECT_TRUE(Shows(2, 24, "|", 6, 15));
  EXPECT_TRUE(Shows(3, 24, " まずはルールを覚えましょう", 0, 15));
  EXPECT_TRUE(Shows(30, 24, "　　　　　　　　", 15, 15)) << "the longer help is blanked";
  EXPECT_EQ(sound.names("play_wave"), (std::vector<std::string>{"kasoru.wav", "kasoru.wav"}));
}

TEST_F(Title, UpMovesBackAndStopsAtTheFirstItem) {
  keys.press(kKeyUp);  // on the first item: nothing
  keys.press(kKeyDown);
  keys.press(kKeyUp, 300);
  keys.press(kKeyUp);
  Open();
  EXPECT_TRUE(FrameAt(10));
  EXPECT_TRUE(Shows(30, 13, "　　　　　　　　　　　　", 15, 15)) << "frame at row 15 erased";
  EXPECT_TRUE(Shows(3, 24, " 名前を入力してキャラを誕生させよう", 0, 15));
  EXPECT_EQ(sound.names("play_wave"), (std::vector<std::string>{"kasoru.wav", "kasoru.wav"}));
}

TEST_F(Title, EnterHeldOnArrivalIsIgnoredUntilReleased) {
  keys.hold(kKeyEnter, 0, 300);
  keys.set_idle_limit(100);
  EXPECT_EQ(TitleScreen(), Screen::Quit);
  EXPECT_TRUE(sound.names("play_wave").empty());
  ASSERT_FALSE(sound.calls().empty());
  EXPECT_GE(sound.calls().front().time, 299u) << "nothing happens before Enter is let go";
}

TEST_F(Title, ArenaWithoutFighterShowsTheRefusalForASecond) {
  keys.hold(kKeyDown, 100, 150);
  keys.hold(kKeyEnter, 1000, 1050);
  struct Seen {
    std::uint32_t time;
    bool message;
  };
  std::vector<Seen> seen;
  for (std::uint32_t t = 1000; t <= 2200; t += 5)
    keys.at(t, [&seen, t] {
      seen.push_back({t, Shows(4, 24, "先にネームエントリーして下さい！", 12, 15)});
    });
  keys.set_idle_limit(100);

  EXPECT_EQ(TitleScreen(), Screen::Quit);
  const auto effects = sound.names("play_wave");
  ASSERT_EQ(effects, std::vector<std::string>({"kasoru.wav", "kettei.wav"}));
  std::uint32_t refused = 0;
  for (const auto& call : sound.calls())
    if (call.name == "kettei.wav") refused = call.time;
  for (const Seen& s : seen)
    if (s.time > refused && s.time < refused + 1000) {
      EXPECT_TRUE(s.message) << s.time;
    }
  EXPECT_TRUE(Shows(2, 24, "|", 4, 15));
  EXPECT_TRUE(Shows(3, 24, " 全6ラウンドを勝ち抜く基本のモード", 0, 15))
      << "help line back afterwards";
}

TEST_F(Title, ChoosingAnItemHandsOverToItsScreen) {
  struct Case {
    int downs;
    bool fighter;
    Screen next;
    std::vector<std::string> music;  // the pieces loaded
  } cases[] = {
      {0, false, Screen::NameEntry, {"title.mid", "entry.mid"}},
      {0, true, Screen::NameEntry, {"title.mid", "entry.mid"}},
      {1, true, Screen::NewRun, {"title.mid"}},
      {2, false, Screen::Manual, {"title.mid"}},
  };
  for (const Case& c : cases) {
    if (c.fighter)
      CreateFighter("A");
    else
      player.erase();
    sound.forget();
    keys.pause(100);  // the last visit's Enter is let go first
    for (int i = 0; i < c.downs; ++i) keys.press(kKeyDown);
    keys.press(kKeyEnter);
    EXPECT_EQ(TitleScreen(), c.next) << c.downs;
    EXPECT_EQ(sound.names("load_music"), c.music) << c.downs;
    EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
    EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(0, 15));
  }
}

TEST_F(Title, NameEntryStopsTheTitleMusicAndLoopsTheEntryMusic) {
  keys.pause(100);
  keys.press(kKeyEnter);
  ASSERT_EQ(TitleScreen(), Screen::NameEntry);
  const auto& calls = sound.calls();
  std::vector<std::string> order;
  for (const auto& call : calls)
    order.push_back(call.what + " " + call.name + (call.loop ? " loop" : ""));
  EXPECT_EQ(order, (std::vector<std::string>{"load_music title.mid", "play_music title.mid loop",
                                             "play_wave kettei.wav", "stop_music title.mid",
                                             "load_music entry.mid", "play_music entry.mid loop"}));
}

TEST_F(Title, ThousandVisitsThroughTheManualKeepWorking) {
  constexpr int kVisits = 1000;
  for (int i = 0; i < kVisits; ++i) {
    keys.press(kKeyDown);
    keys.press(kKeyDown);
    keys.press(kKeyEnter);  // to the manual
    keys.pause(30);
    keys.press(kKeyEnter);  // back to the title
    keys.pause(30);
  }
  keys.set_idle_limit(100);
  EXPECT_EQ(RunScreens(Screen::Title), Screen::Quit);
  const auto music = sound.names("load_music");
  EXPECT_EQ(music.size(), kVisits + 1u) << "title.mid restarts on every visit";
  for (const auto& name : music) EXPECT_EQ(name, "title.mid");
  EXPECT_EQ(sound.names("stop_music").size(), kVisits + 0u)
      << "each visit stops the last one's music";
  EXPECT_TRUE(FrameAt(10));
  EXPECT_TRUE(Shows(34, 10, "ネームエントリー", 0, 15));
}

TEST_F(Title, ANewFighterAppearsOnTheTitleAndOpensTheArena) {
  keys.pause(100);
  keys.press(kKeyEnter);  // ネームエントリー
  keys.pause(10);
  keys.type("Hero\r");
  keys.press(kKeyEnter);  // はい, once the numbers have stopped
  keys.pause(100);
  keys.press(kKeyDown);
  keys.press(kKeyEnter);  // 闘技場へ行く
  EXPECT_EQ(RunScreens(Screen::Title, Screen::NewRun), Screen::NewRun);
  EXPECT_TRUE(Shows(3, 8, "名前:Hero", 0, 15));
  EXPECT_TRUE(Shows(3, 9, "ＨＰ:" + std::to_string(player.hp), 4, 15));
  EXPECT_TRUE(Shows(36, 15, "闘技場へ行く", 0, 15));
  EXPECT_EQ(sound.names("load_music"),
            (std::vector<std::string>{"title.mid", "entry.mid", "title.mid"}));
  EXPECT_TRUE(FrameAt(15));
}
