// The digit tables and the two ways the game folds a name's digits into abilities.
#include "game/model/name_digits.hpp"

// clang-format off
const DigitTables NameDigitTables = {
  /* hp      */ {  5,  75, 190,  60, 140, 170,  90,  50, 210,  90},
  /* mp      */ {115,  45,   5, 185,  20,  10, 150, 165,  60, 145},
  /* attack  */ {150,   5, 190, 135,  20, 125,  60,  35, 120,  40},
  /* defence */ { 60, 105,   5, 180, 155, 100,  40, 160,  65,  70},
  /* agility */ {110, 120,  80,  15,  40,  75, 145, 115,  50, 190},
  /* magic   */ { 75, 130,  60,  30, 175,  50, 120,  85, 135, 140},
};

// A new fighter: every ability adds all three digits and folds within its own limit.
const NameRule kCreationRule = {
  /* hp      */ {true, true, true, 650, 360, 650, 280},
  /* mp      */ {true, true, true, 550, 370, 550, 150},
  /* magic   */ {true, true, true, 500, 365, 500, 110},
  /* attack  */ {true, true, true, 510, 360, 510, 120},
  /* defence */ {true, true, true, 505, 340, 505, 110},
  /* agility */ {true, true, true, 500, 385, 500, 100},
};

// The name boost: some abilities skip a digit, and a total still too high drops to 5.
const NameRule kBoostRule = {
  /* hp      */ {true,  true,  true, 400, 395, 310, 5},
  /* mp      */ {true,  true,  true, 395, 380, 310, 5},
  /* magic   */ {true,  false, true, 315, 285, 310, 5},
  /* attack  */ {false, true,  true, 310, 290, 310, 5},
  /* defence */ {true,  false, true, 305, 285, 310, 5},
  /* agility */ {false, true,  true, 300, 280, 310, 5},
};
// clang-format on

namespace {

void AddCharacter(int& total, const int (&table)[10], const DigitRule& rule, int byte) {
  const int h = byte / 100;
  const int t = (byte % 100) / 10;
  const int o = byte % 10;
  if (rule.hundreds) total += table[h];
  if (rule.tens) total += table[t];
  if (rule.ones) total += table[o];
  if (total > rule.over) {
    total -= rule.reduce;
    if (total > rule.stillOver) total = rule.reset;
  }
}

}  // namespace

Abilities AbilitiesFromName(std::string_view name, const NameRule& rule) {
  const DigitTables& t = NameDigitTables;
  Abilities a;
  for (unsigned char byte : name) {
    AddCharacter(a.hp, t.hp, rule.hp, byte);
    AddCharacter(a.mp, t.mp, rule.mp, byte);
    AddCharacter(a.magic, t.magic, rule.magic, byte);
    AddCharacter(a.attack, t.attack, rule.attack, byte);
    AddCharacter(a.defence, t.defence, rule.defence, byte);
    AddCharacter(a.agility, t.agility, rule.agility, byte);
  }
  return a;
}
