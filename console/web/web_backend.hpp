// The game's console in a web page: the screen model handed to the page's canvas, keys from
// its key events, and the page's clock. Waits yield to the browser instead of blocking it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "console/console_backend.hpp"
#include "console/web/key_queue.hpp"

// The cell word the page draws from (web/screen.js reads these through the generated
// contract.js): character in the low bits, then width (2 full-width, 0 the right half of one),
// foreground and background.
struct CellWord {
  static constexpr std::uint32_t kCharMask = 0x1FFFFF;
  static constexpr int kWidthShift = 21;
  static constexpr int kForegroundShift = 24;
  static constexpr int kBackgroundShift = 28;
};

class WebBackend final : public ConsoleBackend {
 public:
  WebBackend();
  ~WebBackend() override;
  WebBackend(const WebBackend&) = delete;
  WebBackend& operator=(const WebBackend&) = delete;

  void present(const ScreenGrid& grid, const CursorState& cursor) override;
  void drain_input(InputState& state) override { keys_.drain(state); }
  bool key_waiting() override { return keys_.key_waiting(); }
  int read_key() override { return keys_.read_key(); }
  std::uint32_t now_ms() override;
  void sleep_until(std::uint32_t deadline) override;
  void wait_for_input(std::uint32_t deadline) override;

  // The page's key events arrive here, while the game waits.
  void push_key(const KeyRecord& record) { keys_.push(record); }
  // The game's clock stands still while the page is hidden and goes on where it was.
  void set_paused(bool paused);
  // The back end the page's events go to; null before the game starts.
  static WebBackend* current();

 private:
  double clock_ms() const;

  KeyQueue keys_;
  double paused_ms_ = 0;      // the time the page spent hidden, left out of the game's clock
  double paused_since_ = -1;  // when the page was hidden; negative while it is seen
  std::optional<ScreenGrid> shown_;
  CursorState shown_cursor_;
  // One word per cell for the page: character, width, foreground, background.
  std::array<std::uint32_t, ScreenGrid::kColumns * ScreenGrid::kRows> cells_{};
};
