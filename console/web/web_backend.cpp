// The web page's console: packed cells out to the canvas, key records in, waits as yields.
#include "console/web/web_backend.hpp"

#include <emscripten.h>

#include <algorithm>

#include "console/platform.hpp"

// Provided by the page's side of the module (web_console.js).
extern "C" {
void domrak_show_screen(const std::uint32_t* cells, int column, int row, int visible, int size);
void domrak_wait_for_input(int ms);
void domrak_console_ready();
}

namespace {

WebBackend* currentBackend = nullptr;
constexpr int kHiddenRecheckMs = 100;  // how often a wait paused by the hidden page looks again

// How many milliseconds until `deadline`, 0 when it has passed.
int MillisecondsUntil(std::uint32_t now, std::uint32_t deadline) {
  return TimeReached(now, deadline) ? 0 : static_cast<int>(deadline - now);
}

}  // namespace

WebBackend::WebBackend() {
  currentBackend = this;
  domrak_console_ready();
}

WebBackend::~WebBackend() { currentBackend = nullptr; }

WebBackend* WebBackend::current() { return currentBackend; }

void WebBackend::present(const ScreenGrid& grid, const CursorState& cursor) {
  // Where a hidden cursor stands shows nothing: it moving alone sends the page no frame.
  const bool sameCursor = cursor.visible == shown_cursor_.visible &&
                          (!cursor.visible || (cursor.column == shown_cursor_.column &&
                                               cursor.row == shown_cursor_.row && cursor.size == shown_cursor_.size));
  if (shown_ && *shown_ == grid && sameCursor) return;  // nothing changed: the page does no work
  shown_ = grid;
  shown_cursor_ = cursor;
  std::size_t index = 0;
  for (int row = 1; row <= ScreenGrid::kRows; ++row) {
    for (int column = 1; column <= ScreenGrid::kColumns; ++column) {
      const Cell& cell = grid.at(column, row);
      cells_[index++] = (static_cast<std::uint32_t>(cell.ch) & CellWord::kCharMask) |
                        (cell.width & 3u) << CellWord::kWidthShift | (cell.fg & 15u) << CellWord::kForegroundShift |
                        (cell.bg & 15u) << CellWord::kBackgroundShift;
    }
  }
  domrak_show_screen(cells_.data(), cursor.column, cursor.row, cursor.visible ? 1 : 0, static_cast<int>(cursor.size));
}

double WebBackend::clock_ms() const { return (paused_since_ >= 0 ? paused_since_ : emscripten_get_now()) - paused_ms_; }

std::uint32_t WebBackend::now_ms() { return static_cast<std::uint32_t>(clock_ms()); }

void WebBackend::set_paused(bool paused) {
  if (paused == (paused_since_ >= 0)) return;
  if (paused) {
    paused_since_ = emscripten_get_now();
  } else {
    paused_ms_ += emscripten_get_now() - paused_since_;
    paused_since_ = -1;
  }
}

void WebBackend::sleep_until(std::uint32_t deadline) {
  // A wait that has already passed still yields, so the page gets its turn; one that the
  // hidden page paused sleeps on for what is left of it.
  do {
    const int left = MillisecondsUntil(now_ms(), deadline);
    emscripten_sleep(static_cast<unsigned>(paused_since_ >= 0 ? std::max(left, kHiddenRecheckMs) : left));
  } while (!TimeReached(now_ms(), deadline));
}

void WebBackend::wait_for_input(std::uint32_t deadline) {
  if (!keys_.empty()) return;
  domrak_wait_for_input(MillisecondsUntil(now_ms(), deadline));
}

std::unique_ptr<ConsoleBackend> CreatePlatformBackend() { return std::make_unique<WebBackend>(); }

// The page reports that it was hidden (1) or is seen again (0).
extern "C" EMSCRIPTEN_KEEPALIVE void domrak_page_hidden(int hidden) {
  if (currentBackend != nullptr) currentBackend->set_paused(hidden != 0);
}

// The page reports one key event: `modifiers` has bit 0 shift, bit 1 control, bit 2 alt.
extern "C" EMSCRIPTEN_KEEPALIVE void domrak_key_event(int key, int down, int character, int extended, int modifiers) {
  if (currentBackend == nullptr) return;
  currentBackend->push_key({static_cast<std::uint32_t>(key), down != 0, static_cast<char32_t>(character),
                            static_cast<std::uint32_t>(extended), (modifiers & 1) != 0, (modifiers & 2) != 0,
                            (modifiers & 4) != 0});
}
