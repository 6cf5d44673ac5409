// The message area's lines and coloured pieces.
#include "game/battle/battle_text.hpp"

#include "console/game_console.hpp"

void StartLine(int line) { console.locate(20, line); }

void PrintIn(int color, const char* text) {
  console.set_color(color, 15);
  console.print("%s", text);
}

void PrintNumberIn(int color, const char* format, int value) {
  console.set_color(color, 15);
  console.print(format, value);
}

void PrintPlain(const char* text) { PrintIn(0, text); }
