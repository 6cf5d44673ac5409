// The name rule: worked names for a new fighter and for the name boost.
#include <gtest/gtest.h>

#include <string>

#include "game/model/name_digits.hpp"

namespace {
void ExpectAbilities(const Abilities& a, const Abilities& e, const std::string& name) {
  EXPECT_EQ(a.hp, e.hp) << name;
  EXPECT_EQ(a.mp, e.mp) << name;
  EXPECT_EQ(a.magic, e.magic) << name;
  EXPECT_EQ(a.attack, e.attack) << name;
  EXPECT_EQ(a.defence, e.defence) << name;
  EXPECT_EQ(a.agility, e.agility) << name;
}
}  // namespace

TEST(NameRule, CreatesTheWorkedFighters) {
  struct Case {
    std::string name;
    Abilities expected;  // hp, mp, magic, attack, defence, agility
  } cases[] = {
      {"A", {265, 275, 245, 335, 200, 330}},
      {"AB", {450, 320, 195, 245, 340, 345}},
      {std::string(16, 'z'), {280, 510, 350, 505, 480, 245}},
      // "_" is 95 (0, 9, 5): hp 5+90+170, mp 115+145+10, magic 75+140+50,
      // attack 150+40+125, defence 60+70+100, agility 110+190+75.
      {"_", {265, 270, 265, 315, 230, 375}},
      // " " is 32 (0, 3, 2), twice: hp 255 -> 510; mp 305 -> 610, above 550, minus 370.
      {"  ", {510, 240, 330, 120, 490, 410}},  // attack 950 - 360 is still above 510: reset
      {"", {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) ExpectAbilities(AbilitiesFromName(c.name, kCreationRule), c.expected, c.name);
}

TEST(NameRule, BoostsByTheWorkedNames) {
  struct Case {
    std::string name;
    Abilities expected;
  } cases[] = {
      {"A", {265, 275, 125, 185, 160, 220}},
      {"AA", {135, 170, 250, 80, 35, 160}},
      {"abc", {240, 5, 300, 25, 190, 5}},
  };
  for (const Case& c : cases) ExpectAbilities(AbilitiesFromName(c.name, kBoostRule), c.expected, c.name);
}
