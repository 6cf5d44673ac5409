// The message area of the battle screen: columns 19 to 78 of rows 19 to 23.
#pragma once

// Blanks the five rows (60 blanks from column 19, white on white), then sets black on white.
void ClearMessageArea();
