// The game model's rules where a table says more than a run: the hit chance at every step of
// the agility ratio and the name rule at every digit and limit (the random source, the damage
// roll and the roster are read off the recorded runs).
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "game/model/game_random.hpp"
#include "game/model/name_digits.hpp"

TEST(HitCheck, ChanceFallsWithTheAgilityRatioDownToForty) {
  const int cases[][4] = {
      // attacker, defender, base chance, landing draws of every 100
      {100, 100, 90, 91}, {100, 299, 90, 91}, {100, 300, 90, 81}, {100, 500, 90, 71},
      {100, 1100, 90, 41}, {5, 450, 90, 41}, {450, 5, 75, 76}, {100, 500, 75, 41},
  };
  for (const auto& [attacker, defender, base, landing] : cases) {
    int hits = 0;
    gameRandom.seed(12345);
    for (int i = 0; i < 100000; ++i) hits += HitCheck(attacker, defender, base);
    EXPECT_EQ((hits + 500) / 1000, landing) << attacker << " vs " << defender << " base " << base;
  }
}

TEST(NameRule, CreatesAndBoostsByTheWorkedNames) {
  // Expected: hp, mp, magic, attack, defence, agility.
  struct { const NameRule& rule; std::string name; std::array<int, 6> expected; } const cases[] = {
      {kCreationRule, std::string(16, 'z'), {280, 510, 350, 505, 480, 245}},
      // "_" is 95 (0, 9, 5): hp 5+90+170, mp 115+145+10, magic 75+140+50,
      // attack 150+40+125, defence 60+70+100, agility 110+190+75.
      {kCreationRule, "_", {265, 270, 265, 315, 230, 375}},
      // " " is 32 (0, 3, 2), twice: hp 255 -> 510; mp 305 -> 610, above 550, minus 370.
      {kCreationRule, "  ", {510, 240, 330, 120, 490, 410}},  // attack 950 - 360 > 510: reset
      // Defence 290 + 215 reaches 505 exactly, which is not above the limit: it stays.
      {kCreationRule, "ap", {485, 520, 255, 425, 505, 350}},
      {kCreationRule, "", {0, 0, 0, 0, 0, 0}},
      // Between them these three reach every entry of the six digit tables and every limit,
      // reduction and reset value that a sum of multiples of 5 can tell apart.
      {kCreationRule, "Lv1MWwXQhp8A9qjS", {380, 280, 160, 345, 190, 250}},
      {kCreationRule, "pTEBvFIruX6e", {390, 360, 285, 195, 210, 185}},
      {kCreationRule, "K0", {580, 485, 230, 240, 260, 500}},
      {kBoostRule, "A", {265, 275, 125, 185, 160, 220}},
      {kBoostRule, "AA", {135, 170, 250, 80, 35, 160}},
      {kBoostRule, "abc", {240, 5, 300, 25, 190, 5}},
      // Every threshold and subtraction of the boost, at its exact edge: attack and agility
      // end on 310 and 300, HP on 400, defence on 305, magic on 315.
      {kBoostRule, "qmlvD sWDh8", {200, 140, 75, 310, 190, 300}},
      {kBoostRule, "FLLTl_pik", {400, 190, 55, 155, 305, 190}},
      {kBoostRule, "DI", {25, 5, 315, 60, 80, 45}},
      // A total that the subtraction leaves just above 310 drops to 5, one at 310 stays (magic
      // of " 9h": 135 + 160 + 305 = 600, - 285 = 315, so 5; of "hmh": 305 + 270 + 305 - 570 =
      // 310); the rest the same for the other abilities.
      {kBoostRule, " 9h", {305, 395, 5, 75, 260, 155}},
      {kBoostRule, "hmh", {215, 285, 310, 240, 125, 40}},
      {kBoostRule, " z", {5, 360, 40, 125, 175, 255}},
      {kBoostRule, "1B", {25, 5, 125, 180, 230, 240}},
      {kBoostRule, "1E", {25, 310, 145, 160, 260, 285}},
      {kBoostRule, "2 ", {40, 165, 285, 310, 185, 280}},
      {kBoostRule, "BO", {330, 80, 125, 195, 230, 5}},
      {kBoostRule, "BZ", {285, 30, 60, 310, 220, 310}},
      {kBoostRule, "Hz", {305, 340, 40, 5, 175, 75}},
  };
  const char* names[6] = {"HP", "MP", "magic", "attack", "defence", "agility"};
  for (const auto& c : cases) {
    const Abilities a = AbilitiesFromName(c.name, c.rule);
    const int made[6] = {a.hp, a.mp, a.magic, a.attack, a.defence, a.agility};
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(made[i], c.expected[i]) << names[i] << " from the name \"" << c.name << "\"";
  }
}
