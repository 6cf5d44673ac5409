// Placeholder until this screen is built.
#include "game/flow/victory_screen.hpp"

Screen VictoryScreen() { return Screen::Quit; }
