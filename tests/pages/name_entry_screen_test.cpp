// The name entry: the framed field, the refusal of an empty name and the fighter a name makes.
#include "game/pages/name_entry_screen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ui/screen.hpp"
#include "game/model/fighter.hpp"
#include "tests/support/game_session.hpp"

using NameEntry = GameSession;

TEST_F(NameEntry, RefusesAnEmptyNameThenTheNameMakesTheFighter) {
  CreateFighter("Old");
  keys.pause(10);
  keys.type("\r");
  keys.pause(100);
  keys.type("AB");
  keys.pause(100);
  keys.type("\r");
  At(60, [] {
    EXPECT_TRUE(Shows(30, 7, "名前を入力して下さい。", 12, 15));
    EXPECT_TRUE(Shows(33, 5, std::string(16, ' '), 0, 15)) << "typing starts again";
    EXPECT_EQ(player.name[0], '\0') << "the old fighter's name is cleared on entry";
    EXPECT_TRUE(console.cursor().visible);
    EXPECT_EQ(console.cursor().column, 33) << "the cursor is not in the field";
    EXPECT_EQ(console.cursor().row, 5) << "the cursor is not in the field";
  });
  At(160, [] {
    EXPECT_TRUE(Shows(30, 7, "名前を入力して下さい。", 12, 15)) << "it stays while typing";
    EXPECT_TRUE(Shows(33, 5, "AB              ", 0, 15));
    EXPECT_EQ(console.cursor().column, 35);
  });
  ASSERT_EQ(NameEntryScreen(), Screen::Creation);
  EXPECT_FALSE(console.cursor().visible);
  EXPECT_EQ(std::string(player.name), "AB");
  const struct { const char* what; int made, expected; } made[] = {
      {"HP", player.hp, 450},          {"max HP", player.maxHp, 450}, {"MP", player.mp, 320},
      {"max MP", player.maxMp, 320},   {"magic", player.magic, 195},  {"attack", player.attack, 245},
      {"defence", player.defence, 340}, {"agility", player.agility, 345}};
  for (const auto& m : made) EXPECT_EQ(m.made, m.expected) << "the " << m.what << " of \"AB\"";
  EXPECT_TRUE(Shows(30, 7, "　　　　　　　　　　　　　", 15, 15)) << "accepted: the message is gone";
  EXPECT_TRUE(Shows(12, 11, "　　　　　　　　　　　　　　　　", 15, 15)) << "room for the name";
  EXPECT_EQ(Text(44, 11, 27), std::string(27, ' '));
  EXPECT_EQ(sound.names("play_wave"), (std::vector<std::string>{"kettei.wav", "kettei.wav"}));

  keys.type("abc");  // the session ends while typing
  EXPECT_EQ(NameEntryScreen(), Screen::Quit);
  EXPECT_EQ(player.name[0], '\0');
}
