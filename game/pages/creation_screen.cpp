// Placeholder until this screen is built.
#include "game/pages/creation_screen.hpp"

Screen CreationScreen() { return Screen::Quit; }
