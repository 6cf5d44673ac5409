// Placeholder until this screen is built.
#include "game/flow/defeat_screen.hpp"

bool DefeatScreen() { return false; }
