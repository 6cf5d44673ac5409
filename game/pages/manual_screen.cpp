// Placeholder until this screen is built.
#include "game/pages/manual_screen.hpp"

Screen ManualScreen() { return Screen::Quit; }
