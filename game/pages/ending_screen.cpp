// Placeholder until this screen is built.
#include "game/pages/ending_screen.hpp"

Screen EndingScreen() { return Screen::Quit; }
