// The name rule: worked names for a new fighter and for the name boost.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "game/model/name_digits.hpp"

namespace {
auto Figures(const Abilities& a) {
  return std::array{a.hp, a.mp, a.magic, a.attack, a.defence, a.agility};
}
}  // namespace

TEST(NameRule, CreatesAndBoostsByTheWorkedNames) {
  struct Case {
    const NameRule& rule;
    std::string name;
    Abilities expected;  // hp, mp, magic, attack, defence, agility
  } cases[] = {
      {kCreationRule, "A", {265, 275, 245, 335, 200, 330}},
      {kCreationRule, "AB", {450, 320, 195, 245, 340, 345}},
      {kCreationRule, std::string(16, 'z'), {280, 510, 350, 505, 480, 245}},
      // "_" is 95 (0, 9, 5): hp 5+90+170, mp 115+145+10, magic 75+140+50,
      // attack 150+40+125, defence 60+70+100, agility 110+190+75.
      {kCreationRule, "_", {265, 270, 265, 315, 230, 375}},
      // " " is 32 (0, 3, 2), twice: hp 255 -> 510; mp 305 -> 610, above 550, minus 370.
      {kCreationRule, "  ", {510, 240, 330, 120, 490, 410}},  // attack 950 - 360 > 510: reset
      // Defence 290 + 215 reaches 505 exactly, which is not above the limit: it stays.
      {kCreationRule, "ap", {485, 520, 255, 425, 505, 350}},
      {kCreationRule, "", {0, 0, 0, 0, 0, 0}},
      {kBoostRule, "A", {265, 275, 125, 185, 160, 220}},
      {kBoostRule, "AA", {135, 170, 250, 80, 35, 160}},
      {kBoostRule, "abc", {240, 5, 300, 25, 190, 5}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Figures(AbilitiesFromName(c.name, c.rule)), Figures(c.expected)) << c.name;
}
