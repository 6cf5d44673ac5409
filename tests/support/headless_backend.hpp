// The headless platform: a screen that is only remembered, scripted keys and a clock that jumps.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/console_backend.hpp"

// Keys come from a script. Queued steps (press, type, pause) take effect one after another,
// each when the game next asks for input after the previous one is over (at least 1 ms
// later), the way a player answers what the screen asks. Absolute holds and checks happen at fixed times.
// Waits take no real time: the clock jumps straight to each deadline.
class HeadlessBackend final : public ConsoleBackend {
 public:
  // Queued: `key` goes down when the game next asks for input and stays down for `hold_ms`.
  void press(std::uint32_t key, std::uint32_t hold_ms = 50) { script_.push_back({key, hold_ms, {}}); }
  // Queued: the bytes are all waiting at once for the typed-character input.
  void type(std::string_view bytes) { script_.push_back({0, 0, std::string(bytes)}); }
  // Queued: nothing is pressed for `ms` of game time.
  void pause(std::uint32_t ms) { script_.push_back({0, ms, {}}); }

  // Absolute: `key` is held from `from` until just before `until`.
  void hold(std::uint32_t key, std::uint32_t from, std::uint32_t until) { holds_.push_back({key, from, until}); }
  // Absolute: runs `check` when the clock reaches `time` (while the game waits).
  void at(std::uint32_t time, std::function<void()> check) { checks_.emplace(time, std::move(check)); }
  // The checks whose time has not come yet.
  std::size_t checks_ahead() const { return checks_.size(); }

  // What the player saw last: the grid of the latest present().
  const ScreenGrid& shown() const { return shown_; }
  // Called after each present(), with the grid already shown.
  std::function<void()> on_present;

  void present(const ScreenGrid& grid, const CursorState& cursor) override;
  void drain_input(InputState& state) override;
  bool key_waiting() override;
  int read_key() override;
  std::uint32_t now_ms() override { return now_; }
  void sleep_until(std::uint32_t deadline) override;
  void wait_for_input(std::uint32_t deadline) override;
  bool running() override { return !stopped_; }

 private:
  struct Step {  // a press holds `key` for `ms`, a pause holds none; typing takes no time
    std::uint32_t key = 0;
    std::uint32_t ms = 0;
    std::string bytes;
  };
  struct Hold {
    std::uint32_t key, from, until;
  };

  bool start_next_step();
  std::uint32_t next_change_after_now() const;

  std::uint32_t now_ = 0;
  std::deque<Step> script_;
  std::vector<Hold> holds_;
  std::deque<unsigned char> typed_;
  std::multimap<std::uint32_t, std::function<void()>> checks_;
  std::uint32_t step_until_ = 0;  // end of the current queued press or pause
  bool step_active_ = false;
  std::optional<std::uint32_t> last_step_done_;
  bool stopped_ = false;

  ScreenGrid shown_;
};
