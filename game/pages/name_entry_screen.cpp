// Placeholder until this screen is built.
#include "game/pages/name_entry_screen.hpp"

void DeriveAbilitiesFromName(const char*) {}
Screen NameEntryScreen() { return Screen::Quit; }
