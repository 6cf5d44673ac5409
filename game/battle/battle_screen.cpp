// Placeholder until this screen is built.
#include "game/battle/battle_screen.hpp"

Screen BattleScreen() { return Screen::Quit; }
