// The game's one random source and the three rolls that combat is made of.
#pragma once

#include <cstdint>

class GameRandom {
 public:
  void seed(std::uint32_t value) { state_ = value; }
  // 0..32767: bits 16..30 of the next state of the linear congruential generator.
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_ = 0;
};

extern GameRandom gameRandom;

// The damage of one blow: base = power / 3 - defence / 4 (at least 0), plus 1..30.
int DamageRoll(int power, int defence);
// Whether a blow lands: the chance falls by (100 - baseChance) for every two steps of the
// defender's agility over the attacker's, down to a floor of 40.
bool HitCheck(int attackerAgility, int defenderAgility, int baseChance);
// True on `percent` of the 101 equally likely draws 0..100.
bool PercentCheck(int percent);
