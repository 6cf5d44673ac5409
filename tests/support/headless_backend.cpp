// The headless platform: scripted keys, a remembered screen and a clock that jumps to each deadline.
#include "tests/support/headless_backend.hpp"

#include <algorithm>

namespace {
// A session that runs this long in game time is stuck; it ends as if the script had run out.
constexpr std::uint32_t kLongestSessionMs = 48u * 60 * 60 * 1000;
}  // namespace

void HeadlessBackend::present(const ScreenGrid& grid, const CursorState&) {
  shown_ = grid;
  if (on_present) on_present();
}

// Called whenever the game asks for input: starts the next queued step once the last one is
// over, and ends the session when nothing is left to happen. Returns whether a step started.
bool HeadlessBackend::start_next_step() {
  if (now_ >= kLongestSessionMs) stopped_ = true;
  if (stopped_) return false;
  if (step_active_ && (now_ < step_until_ || !typed_.empty())) return false;  // still going on
  if (step_active_) {
    step_active_ = false;
    last_step_done_ = now_;
  }
  if (!script_.empty()) {
    // Like a player, the script answers a moment after the last step is over, never within
    // the same instant (so a loop that drains waiting keys does not swallow the next step).
    if (last_step_done_ && now_ <= *last_step_done_) return false;
    Step step = std::move(script_.front());
    script_.pop_front();
    step_active_ = true;
    if (step.key) holds_.push_back({step.key, now_, now_ + step.ms});
    typed_.insert(typed_.end(), step.bytes.begin(), step.bytes.end());
    step_until_ = now_ + step.ms;
    return true;
  }
  // Once the script is done and nothing is held, checked or typed, the session ends (running()
  // turns false) at the game's next question.
  stopped_ =
      checks_.empty() && typed_.empty() && std::ranges::none_of(holds_, [&](const Hold& h) { return now_ < h.until; });
  return false;
}

void HeadlessBackend::drain_input(InputState& state) {
  start_next_step();
  typed_.clear();  // polling empties the whole input queue, typed bytes included
  // Every scripted key is let go, then those held now go down again.
  for (const Hold& h : holds_) state.set(h.key, false);
  for (const Hold& h : holds_)
    if (now_ >= h.from && now_ < h.until) state.set(h.key, true);
  // A hold that is over has just been applied as a release; dropping it keeps long scripts
  // from slowing every later poll.
  std::erase_if(holds_, [&](const Hold& h) { return h.until <= now_; });
}

bool HeadlessBackend::key_waiting() {
  start_next_step();
  return !typed_.empty();
}

int HeadlessBackend::read_key() {
  if (typed_.empty()) return 0;
  const int byte = typed_.front();
  typed_.pop_front();
  return byte;
}

// The clock jumps to `deadline`, running the checks due on the way at their times.
void HeadlessBackend::sleep_until(std::uint32_t deadline) {
  while (!checks_.empty() && checks_.begin()->first <= deadline) {
    auto due = checks_.extract(checks_.begin());
    now_ = std::max(now_, due.key());
    due.mapped()();
  }
  now_ = std::max(now_, deadline);
}

std::uint32_t HeadlessBackend::next_change_after_now() const {
  std::uint32_t next = UINT32_MAX;
  for (const Hold& h : holds_) {
    if (h.from > now_) next = std::min(next, h.from);
    if (h.until > now_) next = std::min(next, h.until);
  }
  if (step_active_ && step_until_ > now_) next = std::min(next, step_until_);
  if (!script_.empty() && last_step_done_ && *last_step_done_ >= now_) next = std::min(next, *last_step_done_ + 1);
  return next;
}

void HeadlessBackend::wait_for_input(std::uint32_t deadline) {
  if (start_next_step() || stopped_ || !typed_.empty()) return;
  sleep_until(std::min(deadline, next_change_after_now()));
}
