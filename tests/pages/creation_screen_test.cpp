// The creation screen: numbers that stop one by one on the abilities, then the confirmation.
#include "game/pages/creation_screen.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "game/flow/screen.hpp"
#include "game/model/fighter.hpp"
#include "game/pages/name_entry_screen.hpp"
#include "tests/support/game_session.hpp"

namespace {

// Where each ability's big number stands (middle row) and its colour.
struct NumberPlace {
  int column, row, fg;
};
constexpr NumberPlace kPlaces[6] = {{9, 16, 4},  {34, 16, 5}, {59, 16, 6},
                                    {9, 22, 12}, {34, 22, 2}, {59, 22, 1}};

class Creation : public GameSession {
 protected:
  // Reads a big number back from the screen; -1 when the glyphs are not digits.
  static int ReadBigNumber(int column, int row) {
    static const char* glyphs[10][3] = {
        {"┏━┓", "┃　┃", "┗━┛"},   {"　┫　", "　┃　", "　┻　"}, {"┏━┓", "┏━┛", "┗━┛"},
        {"　━┓", "　━┫", "　━┛"}, {"┃　┃", "┗━┫", "　　┃"},    {"┏━━", "┗━┓", "━━┛"},
        {"┏━┓", "┣━┓", "┗━┛"},    {"┏━┓", "　　┃", "　　┃"},   {"┏━┓", "┣━┫", "┗━┛"},
        {"┏━┓", "┗━┫", "┗━┛"},
    };
    int value = 0;
    for (int k = 0; k < 3; ++k) {
      int digit = -1;
      for (int d = 0; d < 10 && digit < 0; ++d) {
        bool same = true;
        for (int line = 0; line < 3; ++line)
          same = same && Text(column + 6 * k, row - 1 + line, 6) == glyphs[d][line];
        if (same) digit = d;
      }
      if (digit < 0) return -1;
      value = value * 10 + digit;
    }
    return value;
  }
  static std::array<int, 6> Abilities() {
    return {player.hp, player.mp, player.magic, player.attack, player.defence, player.agility};
  }
  std::vector<std::uint32_t> TimesOf(const std::string& effect) const {
    std::vector<std::uint32_t> times;
    for (const auto& call : sound.calls())
      if (call.name == effect) times.push_back(call.time);
    return times;
  }
  // Enter after the rolling (about three seconds) is over.
  void PressEnterAfterRolling() {
    keys.pause(50);
    keys.press(kKeyEnter);
  }
};

}  // namespace

TEST_F(Creation, NumbersStopOneByOneOnTheAbilities) {
  CreateFighter("AB");
  const std::array<int, 6> made = Abilities();
  const int madeMaxHp = player.maxHp, madeMaxMp = player.maxMp;
  console.clear(0, 15);
  // Mid-stage s, the numbers before s already show the abilities, and the caption blinks.
  int checked = 0;
  for (int s = 0; s < 6; ++s) {
    At(505 * s + 250, [&, s] {
      ++checked;
      for (int i = 0; i < s; ++i)
        EXPECT_EQ(ReadBigNumber(kPlaces[i].column, kPlaces[i].row), Abilities()[i]) << s;
      for (int i = 0; i < 6; ++i)
        EXPECT_GE(ReadBigNumber(kPlaces[i].column, kPlaces[i].row), 0) << s;
      EXPECT_TRUE(Shows(32, 9, s % 2 == 0 ? "キャラクター作成中" : "　　　　　　　　　", 0, 15))
          << s;
      EXPECT_EQ(sound.names("play_wave").size(), static_cast<std::size_t>(s));
    });
  }
  PressEnterAfterRolling();
  ASSERT_EQ(CreationScreen(), Screen::Title);
  EXPECT_EQ(checked, 6);
  EXPECT_EQ(Abilities(), made) << "the rolling never touches the fighter";
  EXPECT_EQ(player.maxHp, madeMaxHp);
  EXPECT_EQ(player.maxMp, madeMaxMp);

  const auto flushes = TimesOf("flush.wav");
  ASSERT_EQ(flushes.size(), 6u);
  std::uint32_t stageStart = 0;
  for (std::uint32_t t : flushes) {
    EXPECT_GT(t - stageStart, 500u) << "a stage lasts strictly more than 500 ms";
    EXPECT_LE(t - stageStart, 510u);
    stageStart = t;
  }
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ReadBigNumber(kPlaces[i].column, kPlaces[i].row), Abilities()[i]) << i;
    EXPECT_EQ(Colors(kPlaces[i].column, kPlaces[i].row), std::make_pair(kPlaces[i].fg, 15)) << i;
  }
  EXPECT_TRUE(Shows(12, 11, "AB", 0, 15));
}

TEST_F(Creation, AsksThenMovesTheArrowOncePerPressAndNoDeclines) {
  CreateFighter("A");
  bool asked = false;
  At(3100, [&] {
    asked = true;
    EXPECT_TRUE(Shows(31, 9, "キャラクター作成完了", 0, 15));
    EXPECT_TRUE(Shows(60, 6, "このキャラでＯＫ？", 0, 7));
    EXPECT_TRUE(Shows(62, 7, "はい", 0, 15));
    EXPECT_TRUE(Shows(62, 8, "いいえ", 0, 15));
    EXPECT_TRUE(Shows(60, 7, "⇒", 0, 15));
  });
  keys.pause(100);
  keys.press(kKeyUp);         // already on はい: nothing
  keys.press(kKeyDown, 400);  // held: one step
  keys.press(kKeyDown);       // already on いいえ: nothing
  keys.press(kKeyUp);
  keys.press(kKeyDown);
  keys.press(kKeyEnter);
  ASSERT_EQ(CreationScreen(), Screen::NameEntry);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(Shows(60, 8, "⇒", 0, 15));
  EXPECT_TRUE(Shows(60, 7, "　", 0, 15));
  EXPECT_EQ(TimesOf("kasoru.wav").size(), 3u);
  EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
  EXPECT_TRUE(TimesOf("create.wav").empty());
}

TEST_F(Creation, YesAnnouncesTheBirthAndWaitsTwoSeconds) {
  struct Case {
    std::string name;
    int column;
  } cases[] = {{"A", 34}, {"abc", 33}, {"abcdefghijklmnop", 29}};
  for (const Case& c : cases) {
    CreateFighter(c.name.c_str());
    sound.forget();
    console.clear(0, 15);
    PressEnterAfterRolling();
    ASSERT_EQ(CreationScreen(), Screen::Title) << c.name;
    const auto created = TimesOf("create.wav");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_GE(console.now() - created[0], 2000u) << c.name;
    EXPECT_TRUE(Shows(c.column, 9, c.name + "が誕生した！", 3, 15)) << c.name;
    // Nothing of "キャラクター作成完了" (columns 31 to 50) is left around the announcement.
    std::string rest = Text(29, 9, 30);
    rest.erase(rest.find(c.name + "が誕生した！"), (c.name + "が誕生した！").size());
    for (const std::string blank : {"　", " "})
      for (auto at = rest.find(blank); at != std::string::npos; at = rest.find(blank))
        rest.erase(at, blank.size());
    EXPECT_EQ(rest, "") << c.name;
    EXPECT_EQ(std::make_pair(console.foreground(), console.background()), std::make_pair(0, 15));
    keys.pause(100);  // Enter is let go before the next fighter
  }
}

TEST_F(Creation, NoStartsTheNameEntryAgainWithAnEmptyField) {
  keys.pause(10);
  keys.type("abc\r");
  ASSERT_EQ(NameEntryScreen(), Screen::Creation);
  keys.press(kKeyDown);
  keys.press(kKeyEnter);  // いいえ
  ASSERT_EQ(CreationScreen(), Screen::NameEntry);

  keys.pause(100);
  keys.type("xyz\r");
  bool checked = false;
  At(console.now() + 50, [&] {
    checked = true;
    EXPECT_TRUE(Shows(33, 5, "                ", 0, 15)) << "the field starts empty";
    EXPECT_EQ(player.name[0], '\0');
    EXPECT_EQ(Text(60, 6, 18), std::string(18, ' ')) << "the screen starts afresh";
  });
  ASSERT_EQ(NameEntryScreen(), Screen::Creation);
  EXPECT_TRUE(checked);
  EXPECT_EQ(std::string(player.name), "xyz");

  const std::array<int, 6> xyz = Abilities();
  CreateFighter("abc");
  EXPECT_NE(Abilities(), xyz) << "a different name gives a different fighter";
  CreateFighter("xyz");
  EXPECT_EQ(Abilities(), xyz) << "the same name gives the same fighter";
}
