// The six pages of the manual as tables of texts.
#pragma once

#include <span>

// One text of a page. A column of 0 continues the line right after the previous text.
struct ManualText {
  int column;
  int row;
  int color;  // foreground; the background is always white
  const char* text;
};

inline constexpr int kManualPageCount = 6;

// The texts of page 1..6, in printing order (the footer is not included).
std::span<const ManualText> ManualPage(int page);
