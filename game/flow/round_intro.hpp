// The start of a run and the introduction of every round.
#pragma once

#include "game/ui/screen.hpp"

// Resets the run's counters and the roster, then goes to the first round's introduction.
Screen StartNewRun();
// Shows the round's caption and both fighters face to face, then goes to the battle screen.
Screen RoundIntro();
