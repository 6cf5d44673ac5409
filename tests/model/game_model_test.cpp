// The game model's rules where a table says more than a run: the hit chance at every step of
// the agility ratio and the name rule at every digit and limit, by the worked names of
// name_rules.txt (the random source, the damage roll and the roster are read off the recorded
// runs).
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>

#include "game/model/game_random.hpp"
#include "game/model/name_digits.hpp"

TEST(HitCheck, ChanceFallsWithTheAgilityRatioDownToForty) {
  const int cases[][4] = {
      // attacker, defender, base chance, landing draws of every 100
      {100, 100, 90, 91},  {100, 299, 90, 91}, {100, 300, 90, 81}, {100, 500, 90, 71},
      {100, 1100, 90, 41}, {5, 450, 90, 41},   {450, 5, 75, 76},   {100, 500, 75, 41},
  };
  for (const auto& [attacker, defender, base, landing] : cases) {
    int hits = 0;
    gameRandom.seed(12345);
    for (int i = 0; i < 100000; ++i) hits += HitCheck(attacker, defender, base);
    EXPECT_EQ((hits + 500) / 1000, landing) << attacker << " vs " << defender << " base " << base;
  }
}

TEST(NameRule, CreatesAndBoostsByTheWorkedNames) {
  std::ifstream worked(DOMRAK_TEST_DATA_DIR "/model/name_rules.txt");
  const char* names[6] = {"HP", "MP", "magic", "attack", "defence", "agility"};
  int cases = 0;
  for (std::string line; std::getline(worked, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string rule, name;
    int expected[6];
    words >> rule >> std::quoted(name);
    for (int& e : expected) words >> e;
    ASSERT_TRUE(words && (rule == "creation" || rule == "boost")) << "not a worked name: " << line;
    const Abilities a = AbilitiesFromName(name, rule == "boost" ? kBoostRule : kCreationRule);
    const int made[6] = {a.hp, a.mp, a.magic, a.attack, a.defence, a.agility};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(made[i], expected[i]) << names[i] << " from the name \"" << name << "\"";
    ++cases;
  }
  EXPECT_EQ(cases, 23) << "worked names read from name_rules.txt";
}
