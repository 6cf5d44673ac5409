// The title screen: logo, fighter status and the main menu.
#pragma once

#include "game/ui/screen.hpp"

// Returns Screen::NameEntry (with "entry.mid" started), Screen::Manual, or Screen::NewRun
// when the arena is chosen with a fighter.
Screen TitleScreen();
