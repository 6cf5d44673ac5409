// Placeholder until this screen is built.
#include "game/flow/title_screen.hpp"

Screen TitleScreen() { return Screen::Quit; }
