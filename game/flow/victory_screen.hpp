// A won round: growth, recovery, the name boost after round 3, and the way on.
#pragma once

#include "game/ui/screen.hpp"

// Returns Screen::RoundIntro for the next round or Screen::Ending after the last one.
Screen VictoryScreen();
