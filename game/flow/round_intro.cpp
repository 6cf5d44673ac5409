// Placeholder until this screen is built.
#include "game/flow/round_intro.hpp"

Screen StartNewRun() { return Screen::RoundIntro; }
Screen RoundIntro() { return Screen::Battle; }
