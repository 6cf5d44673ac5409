// One side of a turn, player or opponent, seen the same way by every message script.
#pragma once

#include "game/model/run_state.hpp"

// What Magic costs its caster.
inline constexpr int kMagicCost = 150;

// How a turn, a phase or a script left the battle.
enum class BattleOutcome {
  Continues,  // both fighters stand (or the player rose again)
  Won,        // the opponent fell: the victory screen takes over
  Lost,       // the player fell and did not rise: the game is over
};

struct Combatant {
  const char* name;
  int nameColor;  // the name's colour in the turn's messages
  bool isPlayer;
  BattleCommand command;
  int& hp;
  int& maxHp;
  int& mp;
  int& maxMp;
  int& attack;
  int& defence;
  int& agility;
  int& magic;
};

Combatant PlayerSide();
Combatant OpponentSide();
