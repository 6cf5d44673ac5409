// The name entry: the framed field, the refusal of an empty name and the fighter a name makes.
#include "game/pages/name_entry_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/flow/screen.hpp"
#include "game/model/fighter.hpp"
#include "tests/support/game_session.hpp"

namespace {

const std::string kField16 = "                ";

class NameEntry : public GameSession {
 protected:
  // Runs the name entry on `typed` (ended by Enter) and returns the name it accepted.
  std::string Enter(const std::string& typed) {
    keys.pause(10);
    keys.type(typed);
    keys.pause(10);
    keys.type("\r");
    EXPECT_EQ(NameEntryScreen(), Screen::Creation) << typed;
    return player.name;
  }
  static void ExpectFrame();
};

void NameEntry::ExpectFrame() {
  EXPECT_TRUE(Shows(33, 3, "ネームエントリー", 1, 15));
  EXPECT_TRUE(Shows(31, 4, "┏━━━━━━━━┓", 0, 15));
  EXPECT_TRUE(Shows(31, 6, "┗━━━━━━━━┛", 0, 15));
  EXPECT_TRUE(Shows(31, 5, "┃", 0, 15));
  EXPECT_TRUE(Shows(49, 5, "┃", 0, 15));
  EXPECT_TRUE(Shows(6, 11, "名前：", 0, 15));
  struct Label {
    int column, row;
    std::string text;
    int fg;
  } labels[] = {
      {5, 14, "ＨＰ", 4},  {30, 14, "ＭＰ", 5}, {55, 14, "魔力", 6},
      {5, 20, "攻撃", 12}, {30, 20, "防御", 2}, {55, 20, "敏捷", 1},
  };
  for (const Label& l : labels) EXPECT_TRUE(Shows(l.column, l.row, l.text, l.fg, 15));
}

}  // namespace

TEST_F(NameEntry, TypedNameMakesTheFighter) {
  struct Case {
    std::string name;
    int hp, mp, magic, attack, defence, agility;
  } cases[] = {
      {"A", 265, 275, 245, 335, 200, 330},
      {"AB", 450, 320, 195, 245, 340, 345},
      {std::string(16, 'z'), 280, 510, 350, 505, 480, 245},
      // "a" is 97 (0, 9, 7): hp 5+90+50, mp 115+145+165, magic 75+140+85, attack 150+40+35,
      // defence 60+70+160, agility 110+190+115.
      {"a", 145, 425, 300, 225, 290, 415},
      // "9" is 57 (0, 5, 7): hp 5+170+50, mp 115+10+165, magic 75+50+85, attack 150+125+35,
      // defence 60+100+160, agility 110+75+115.
      {"9", 225, 290, 210, 310, 320, 300},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Enter(c.name), c.name);
    EXPECT_EQ(player.hp, c.hp) << c.name;
    EXPECT_EQ(player.maxHp, c.hp) << c.name;
    EXPECT_EQ(player.mp, c.mp) << c.name;
    EXPECT_EQ(player.maxMp, c.mp) << c.name;
    EXPECT_EQ(player.magic, c.magic) << c.name;
    EXPECT_EQ(player.attack, c.attack) << c.name;
    EXPECT_EQ(player.defence, c.defence) << c.name;
    EXPECT_EQ(player.agility, c.agility) << c.name;
  }
}

TEST_F(NameEntry, FieldTakesOnlyWhatANameMayHold) {
  struct Case {
    std::string typed;
    std::string name;
  } cases[] = {
      {std::string(16, 'z') + "q", std::string(16, 'z')},          // no seventeenth
      {std::string(16, 'z') + "\bA", std::string(15, 'z') + "A"},  // Backspace after 16
      {"\b\bA", "A"},                                              // Backspace on empty
      {"A!-b", "Ab"},                                              // other bytes ignored
      {"A\xE0Hxyz", "A"},  // an arrow, and the keys waiting behind it, are dropped
      {"Ab_ 1", "Ab_ 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Enter(c.typed), c.name) << c.typed;
}

TEST_F(NameEntry, DrawsTheFrameAndRedrawsTheFieldWithTheCursorAfterEveryKey) {
  CreateFighter("Old");
  keys.pause(50);
  keys.type("Bo");
  keys.pause(50);
  keys.type("!");  // ignored, but the field is still redrawn
  keys.pause(50);
  keys.type("b\r");
  int checked = 0;
  At(30, [&] {
    ++checked;
    ExpectFrame();
    EXPECT_EQ(player.name[0], '\0') << "the old fighter's name is cleared on entry";
    EXPECT_TRUE(console.cursor().visible);
    EXPECT_EQ(console.cursor().column, 33);
    EXPECT_EQ(console.cursor().row, 5);
  });
  At(80, [&] {
    ++checked;
    EXPECT_TRUE(Shows(33, 5, "Bo              ", 0, 15));
    EXPECT_TRUE(console.cursor().visible);
    EXPECT_EQ(console.cursor().column, 35);
    console.locate(33, 5);
    console.print("########");
  });
  At(130, [&] {
    ++checked;
    EXPECT_TRUE(Shows(33, 5, "Bo              ", 0, 15));
  });
  ASSERT_EQ(NameEntryScreen(), Screen::Creation);
  EXPECT_EQ(checked, 3);
  EXPECT_FALSE(console.cursor().visible);
  EXPECT_EQ(std::string(player.name), "Bob");
  EXPECT_TRUE(Shows(12, 11, "　　　　　　　　　　　　　　　　", 15, 15)) << "room for the name";
  EXPECT_EQ(Text(44, 11, 27), std::string(27, ' '));
  EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>{"kettei.wav"});
}

TEST_F(NameEntry, EmptyNameIsRefusedUntilANameIsGiven) {
  keys.pause(10);
  keys.type("\r");
  keys.pause(100);
  keys.type("Zed");
  keys.pause(100);
  keys.type("\r");
  int checked = 0;
  At(60, [&] {
    ++checked;
    EXPECT_TRUE(Shows(30, 7, "名前を入力して下さい。", 12, 15));
    ExpectFrame();
    EXPECT_TRUE(Shows(33, 5, kField16, 0, 15)) << "typing starts again with an empty field";
    EXPECT_EQ(sound.names("play_wave"), std::vector<std::string>{"kettei.wav"});
  });
  At(160, [&] {
    ++checked;
    EXPECT_TRUE(Shows(30, 7, "名前を入力して下さい。", 12, 15)) << "the message stays while typing";
    EXPECT_TRUE(Shows(33, 5, "Zed             ", 0, 15));
  });
  ASSERT_EQ(NameEntryScreen(), Screen::Creation);
  EXPECT_EQ(checked, 2);
  EXPECT_EQ(std::string(player.name), "Zed");
  EXPECT_TRUE(Shows(30, 7, "　　　　　　　　　　　　　", 15, 15))
      << "accepted: the message is gone";
  EXPECT_EQ(sound.names("play_wave"), (std::vector<std::string>{"kettei.wav", "kettei.wav"}));
}

TEST_F(NameEntry, EndsWhenTheSessionEnds) {
  keys.type("abc");
  EXPECT_EQ(NameEntryScreen(), Screen::Quit);
  EXPECT_EQ(player.name[0], '\0');
}
