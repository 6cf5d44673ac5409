// The six-page manual.
#pragma once

#include "game/ui/screen.hpp"

// Opens on page 1 once Enter is let go; Left and Right turn the pages. Returns Screen::Title
// when Enter is pressed.
Screen ManualScreen();
