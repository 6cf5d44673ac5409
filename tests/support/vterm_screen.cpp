// The libvterm test terminal: cells read back with their 16-colour palette indices. Its own
// answers to questions are dropped: the pseudo-terminal harness answers as the window it plays.
#include "tests/support/vterm_screen.hpp"

#include <algorithm>

#include "console/text_width.hpp"

VtermScreen::VtermScreen(int rows, int columns) : vt_(vterm_new(rows, columns)) {
  vterm_set_utf8(vt_, 1);
  screen_ = vterm_obtain_screen(vt_);
  callbacks_.settermprop = [](VTermProp prop, VTermValue* value, void* self) {
    if (prop == VTERM_PROP_CURSORVISIBLE) static_cast<VtermScreen*>(self)->cursor_visible_ = value->boolean;
    return 1;
  };
  vterm_screen_set_callbacks(screen_, &callbacks_, this);
  vterm_screen_enable_altscreen(screen_, 1);
  vterm_output_set_callback(
      vt_, [](const char*, std::size_t, void*) {}, nullptr);
  vterm_screen_reset(screen_, 1);
}

std::string VtermScreen::text(int column, int row, int columns) const {
  int rows = 0, width = 0;
  vterm_get_size(vt_, &rows, &width);
  std::string out;
  if (row < 1 || row > rows) return out;
  const int end = std::min(column + columns, width + 1);
  for (int c = column; c < end; c += std::max(at(c, row).width, 1)) text::AppendUtf8(at(c, row).ch, out);
  return out;
}

VtermCell VtermScreen::at(int column, int row) const {
  VTermScreenCell cell;
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  const auto index = [](VTermColor c) { return VTERM_COLOR_IS_INDEXED(&c) ? c.indexed.idx : -1; };
  return {cell.chars[0] ? static_cast<char32_t>(cell.chars[0]) : U' ',
          cell.width,
          index(cell.fg),
          index(cell.bg),
          cell.attrs.bold != 0,
          cell.attrs.blink != 0};
}

std::pair<int, int> VtermScreen::cursor() const {
  VTermPos pos;
  vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
  return {pos.col + 1, pos.row + 1};
}
