// Writing the turn's messages: lines at column 20 of the message area, pieces in their colours.
#pragma once

// Moves to column 20 of a message line (row 19 to 22).
void StartLine(int line);
// Prints a piece of text in `color` on white.
void PrintIn(int color, const char* text);
// Prints a number through `format` in `color` on white.
void PrintNumberIn(int color, const char* format, int value);
// Prints message text in the plain colour, black on white.
void PrintPlain(const char* text);

// Thirteen ideographic spaces: blanks the places where a turn shows the two commands.
inline constexpr const char* kCommandPlaceBlank = "　　　　　　　　　　　　　";
