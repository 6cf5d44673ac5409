// A libvterm terminal for tests: feed it a renderer's bytes, read back characters, colours and
// the cursor.
#pragma once

#include <vterm.h>

#include <string>
#include <string_view>
#include <utility>

struct VtermCell {
  char32_t ch;
  int width;
  int fg, bg;  // palette indices 0..15
  bool bold;
  bool blink;
};

class VtermScreen {
 public:
  VtermScreen(int rows = 25, int columns = 80);
  ~VtermScreen() { vterm_free(vt_); }
  VtermScreen(const VtermScreen&) = delete;
  VtermScreen& operator=(const VtermScreen&) = delete;

  void feed(std::string_view bytes) { vterm_input_write(vt_, bytes.data(), bytes.size()); }
  void resize(int columns, int rows) { vterm_set_size(vt_, rows, columns); }
  // 1-based column and row, as in the game.
  VtermCell at(int column, int row) const;
  // The characters of `columns` cells from (column, row), as UTF-8, a wide character once;
  // cut at the window's edge.
  std::string text(int column, int row, int columns) const;
  // The cursor's column and row, 1-based.
  std::pair<int, int> cursor() const;
  bool cursor_visible() const { return cursor_visible_; }

 private:
  VTerm* vt_;
  VTermScreen* screen_;
  VTermScreenCallbacks callbacks_{};
  bool cursor_visible_ = true;
};
