// The battle's command menu: the cursor over the four commands, descriptions, and the turns.
#pragma once

#include "game/ui/screen.hpp"

// Runs the menu and a turn for each confirmed command until the battle ends:
// Screen::Victory when the opponent falls, Screen::Title after game over, Screen::Quit when
// the session ends.
Screen CommandMenu();
