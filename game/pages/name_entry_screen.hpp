// The name entry: the typed name fixes the new fighter's abilities.
#pragma once

#include "game/ui/screen.hpp"

// Sets the six abilities of `player` from `name`; maxHp and maxMp equal hp and mp.
void DeriveAbilitiesFromName(const char* name);

// Draws the fixed part of the screen: heading, field box, "名前：" and the six labels.
void DrawNameEntryFrame();

// Clears the fighter's name and asks for a new one until one is given. Returns
// Screen::Creation once a name is accepted and the abilities are set.
Screen NameEntryScreen();
