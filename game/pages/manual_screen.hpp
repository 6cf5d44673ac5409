// The six-page manual.
#pragma once

#include "game/flow/screen.hpp"

Screen ManualScreen();
