// The libvterm test terminal: a 16-colour palette read back as console-independent indices.
#include "tests/console/vterm_screen.hpp"

#include <algorithm>
#include <utility>

#include "console/text_width.hpp"

VtermScreen::VtermScreen(int rows, int columns) : vt_(vterm_new(rows, columns)) {
  vterm_set_utf8(vt_, 1);
  screen_ = vterm_obtain_screen(vt_);
  callbacks_.settermprop = &VtermScreen::on_termprop;
  vterm_screen_set_callbacks(screen_, &callbacks_, this);
  vterm_screen_enable_altscreen(screen_, 1);
  vterm_output_set_callback(vt_, &VtermScreen::on_output, this);
  vterm_screen_reset(screen_, 1);
}

VtermScreen::~VtermScreen() { vterm_free(vt_); }

int VtermScreen::on_termprop(VTermProp prop, VTermValue* value, void* self) {
  if (prop == VTERM_PROP_CURSORVISIBLE) static_cast<VtermScreen*>(self)->cursor_visible_ = value->boolean;
  return 1;
}

void VtermScreen::on_output(const char* bytes, std::size_t size, void* self) {
  static_cast<VtermScreen*>(self)->answers_.append(bytes, size);
}

void VtermScreen::feed(std::string_view bytes) {
  vterm_input_write(vt_, bytes.data(), bytes.size());
}

std::string VtermScreen::take_answers() { return std::exchange(answers_, {}); }

void VtermScreen::resize(int columns, int rows) { vterm_set_size(vt_, rows, columns); }

std::string VtermScreen::text(int column, int row, int columns) const {
  int rows = 0, width = 0;
  vterm_get_size(vt_, &rows, &width);
  std::string out;
  if (row < 1 || row > rows) return out;
  const int end = std::min(column + columns, width + 1);
  for (int c = column; c < end; c += std::max(at(c, row).width, 1)) text::AppendUtf8(at(c, row).ch, out);
  return out;
}

int VtermScreen::palette_index(VTermColor color) const {
  if (VTERM_COLOR_IS_INDEXED(&color)) return color.indexed.idx;
  // Some colours come back as RGB: find the palette entry that has it.
  VTermState* state = vterm_obtain_state(vt_);
  for (int i = 0; i < 16; ++i) {
    VTermColor entry;
    vterm_state_get_palette_color(state, i, &entry);
    if (entry.rgb.red == color.rgb.red && entry.rgb.green == color.rgb.green &&
        entry.rgb.blue == color.rgb.blue)
      return i;
  }
  return -1;
}

VtermCell VtermScreen::at(int column, int row) const {
  VTermScreenCell cell;
  vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
  return {cell.chars[0] ? static_cast<char32_t>(cell.chars[0]) : U' ',
          cell.width,
          palette_index(cell.fg),
          palette_index(cell.bg),
          cell.attrs.bold != 0,
          cell.attrs.blink != 0};
}

std::pair<int, int> VtermScreen::cursor() const {
  VTermPos pos;
  vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
  return {pos.col + 1, pos.row + 1};
}
