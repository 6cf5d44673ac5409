// The character creation screen: rolling big numbers, then "このキャラでＯＫ？".
#pragma once

#include "game/ui/screen.hpp"

// Returns Screen::Title when the fighter is accepted, Screen::NameEntry when declined.
Screen CreationScreen();
