// The octagonal block frame that marks the selected item of the title menu.
#pragma once

// Frames the item whose label starts at (x, y): 38 "■" over rows y - 2 .. y + 2 and columns
// x - 8 .. x + 23, drawn in blue on grey. The colour stays set.
void DrawSelectionFrame(int x, int y);

// Turns the same 38 cells into white blanks (15 on 15), touching nothing else. The colour
// stays set.
void EraseSelectionFrame(int x, int y);
