// The battle screen of a round: panels, bars, the "FIGHT!" opening, then the command menu.
#pragma once

#include "game/ui/screen.hpp"

// Draws the screen, plays the opening and runs the command menu and its turns until the
// battle ends: Screen::Victory when the opponent falls, Screen::Title after game over.
Screen BattleScreen();
