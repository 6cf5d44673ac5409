// The title screen: logo, fighter status and the main menu.
#pragma once

#include "game/flow/screen.hpp"

Screen TitleScreen();
