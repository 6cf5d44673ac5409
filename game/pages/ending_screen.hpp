// The end of a won run: the plain ending, the true ending or the Extra Round.
#pragma once

#include "game/ui/screen.hpp"

// Returns Screen::Title after an ending, Screen::RoundIntro for the Extra Round.
Screen EndingScreen();
