// The game's random source and its combat rolls.
#include "game/model/game_random.hpp"

GameRandom gameRandom;

int DamageRoll(int power, int defence) {
  int base = power / 3 - defence / 4;
  if (base < 0) base = 0;
  return gameRandom.next() % 30 + base + 1;
}

bool HitCheck(int attackerAgility, int defenderAgility, int baseChance) {
  const int ratio = defenderAgility / attackerAgility;
  const int steps = (ratio - 1) / 2 + 1;
  int chance = 100 - steps * (100 - baseChance);
  if (chance < 40) chance = 40;
  return gameRandom.next() % 100 <= chance;
}

bool PercentCheck(int percent) { return gameRandom.next() % 101 < percent; }
