// The title menu's selection frame: drawing it and blanking it again.
#include "game/flow/selection_frame.hpp"

#include "console/game_console.hpp"

namespace {

struct Offset {
  int dx;
  int dy;
};

// The cells outside the two runs of twelve along the top and bottom edges.
constexpr Offset kSideCells[14] = {
    {-8, 0}, {-6, -1}, {-6, 1},  {22, 0},  {20, -1}, {20, 1}, {-6, -2},
    {-6, 2}, {22, 1},  {22, -1}, {20, -2}, {20, 2},  {-8, 1}, {-8, -1},
};
// Drawing prints the bottom run last; erasing prints it after the first six side cells.
constexpr int kSidesBeforeBottomDrawing = 14;
constexpr int kSidesBeforeBottomErasing = 6;

void PrintAt(int x, int y, const char* text) {
  console.locate(x, y);
  console.print("%s", text);
}

// Prints the frame with `cell` in every cell; the bottom run comes after `sidesFirst` of the
// side cells.
void PrintFrame(int x, int y, const char* cell, const char* run, int sidesFirst) {
  PrintAt(x - 4, y - 2, run);
  for (int i = 0; i < sidesFirst; ++i) PrintAt(x + kSideCells[i].dx, y + kSideCells[i].dy, cell);
  PrintAt(x - 4, y + 2, run);
  for (int i = sidesFirst; i < 14; ++i) PrintAt(x + kSideCells[i].dx, y + kSideCells[i].dy, cell);
}

}  // namespace

void DrawSelectionFrame(int x, int y) {
  console.set_color(9, 7);
  PrintFrame(x, y, "■", "■■■■■■■■■■■■", kSidesBeforeBottomDrawing);
}

void EraseSelectionFrame(int x, int y) {
  console.set_color(15, 15);
  PrintFrame(x, y, "　", "　　　　　　　　　　　　", kSidesBeforeBottomErasing);
}
