// Big three-digit numbers drawn in box-drawing characters, three rows high.
#pragma once

// Draws `value` (0..999, leading zeros included) in the current colours: digits at `column`,
// column + 6 and column + 12, their middle rows on `row`.
void DrawBigNumber(int value, int column, int row);
