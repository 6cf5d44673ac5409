// The libvterm test terminal: cells read back with their 16-colour palette indices.
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
  fallbacks_.csi = [](const char* leader, const long args[], int count, const char*, char command, void* self) {
    auto& vt = *static_cast<VtermScreen*>(self);
    if (command == 'u' && leader && vt.kitty_keyboard) {
      if (*leader == '>') vt.keyboard_flags_ = CSI_ARG_OR(args[0], 0);
      if (*leader == '?') vt.answers_ += "\x1b[?" + std::to_string(vt.keyboard_flags_) + "u";
      return 1;
    }
    if (command != 't' || count != 3 || CSI_ARG(args[0]) != 8 || !vt.on_size_request) return 0;
    vt.on_size_request(static_cast<int>(CSI_ARG(args[2])), static_cast<int>(CSI_ARG(args[1])));
    return 1;
  };
  vterm_screen_set_unrecognised_fallbacks(screen_, &fallbacks_, this);
  vterm_screen_enable_altscreen(screen_, 1);
  vterm_output_set_callback(vt_, [](const char* bytes, std::size_t size, void* self) {
    static_cast<VtermScreen*>(self)->answers_.append(bytes, size);
  }, this);
  vterm_screen_reset(screen_, 1);
}

VtermScreen::~VtermScreen() { vterm_free(vt_); }

void VtermScreen::feed(std::string_view bytes) { vterm_input_write(vt_, bytes.data(), bytes.size()); }

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
  return {cell.chars[0] ? static_cast<char32_t>(cell.chars[0]) : U' ', cell.width, index(cell.fg),
          index(cell.bg), cell.attrs.bold != 0, cell.attrs.blink != 0};
}

std::pair<int, int> VtermScreen::cursor() const {
  VTermPos pos;
  vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
  return {pos.col + 1, pos.row + 1};
}

