// The loop that hands over from one screen to the next, and the program's entry into it.
#pragma once

#include "game/ui/screen.hpp"

// Runs one screen and returns the one it hands over to.
Screen ShowScreen(Screen screen);

// Runs screens from `first` until the next one would be `until`, or the session ends;
// returns the screen it stopped before.
Screen RunScreens(Screen first, Screen until = Screen::Quit);

// Program entry: prepares the screen and the random source, then runs the game from the
// title screen until the session ends.
void RunGame();
