// The note a terminal window too small for the game's screen shows instead of it.
#pragma once

#include <string>

// Appends what clears a window of `columns` × `rows` and shows in its middle, in Japanese and
// English, the size the game needs and the size the window has now. Lines wrap between
// phrases to fit narrow windows; what still does not fit is cut.
void AppendTooSmallNotice(int columns, int rows, std::string& out);
