// The rule that turns a name into abilities: each character's decimal digits index six tables.
#pragma once

#include <string_view>

// Six abilities in the order the screens show them.
struct Abilities {
  int hp = 0;
  int mp = 0;
  int magic = 0;
  int attack = 0;
  int defence = 0;
  int agility = 0;
};

// One ten-entry table per ability, indexed by a decimal digit 0..9.
struct DigitTables {
  int hp[10];
  int mp[10];
  int attack[10];
  int defence[10];
  int agility[10];
  int magic[10];
};
extern const DigitTables NameDigitTables;

// How one ability grows with each character: which of the character's digits (hundreds,
// tens, ones) it adds up, and how a total that runs too high is folded back:
// above `over`, subtract `reduce`; if that is still above `stillOver`, it becomes `reset`.
struct DigitRule {
  bool hundreds;
  bool tens;
  bool ones;
  int over;
  int reduce;
  int stillOver;
  int reset;
};

struct NameRule {
  DigitRule hp, mp, magic, attack, defence, agility;
};

// The rule that creates a fighter from its name.
extern const NameRule kCreationRule;
// The rule of the name boost after the third round.
extern const NameRule kBoostRule;

// Applies a rule to every byte of the name, first to last.
Abilities AbilitiesFromName(std::string_view name, const NameRule& rule);
