// The name entry: the typed name fixes the new fighter's abilities.
#pragma once

#include "game/flow/screen.hpp"

// Sets the six abilities of `player` from `name`; maxHp and maxMp equal hp and mp.
void DeriveAbilitiesFromName(const char* name);

// Returns Screen::Creation once a name is accepted.
Screen NameEntryScreen();
