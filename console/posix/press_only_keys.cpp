// Key changes from presses alone: taps, auto-repeat after its delay, keys arriving together.
#include "console/posix/press_only_keys.hpp"

#include <algorithm>

namespace {

// Whether `a` comes before `b` on the wrapping millisecond clock.
bool Before(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

std::uint32_t Later(std::uint32_t a, std::uint32_t b) { return Before(a, b) ? b : a; }

}  // namespace

void PressOnlyKeys::press(std::uint32_t key, std::uint32_t at) { pending_.push_back({key, at}); }

void PressOnlyKeys::advance(std::uint32_t now, std::vector<KeyEvent>& events) {
  while (!pending_.empty() && !Before(now, pending_.front().at)) {
    const Press press = pending_.front();
    settle(press.at, events);
    const Kind kind = kind_of(press);
    if (kind == Kind::Tap) cut_short(press.at, events);
    const std::uint32_t at = down_time(press, kind);
    if (at - press.at > kLatestDownMs) {
      pending_.pop_front();  // it would act late: it never does
      continue;
    }
    // Not due yet; the key before it still goes up on time, or the game would see it held
    // from its own press through this one.
    if (Before(now, at)) break;
    settle(at, events);
    pending_.pop_front();
    take(press, kind, at, events);
  }
  settle(now, events);
}

void PressOnlyKeys::drained() {
  if (phase_ == Phase::Down) seen_down_ = true;
  if (phase_ == Phase::Up) up_drained_ = true;
}

PressOnlyKeys::Kind PressOnlyKeys::kind_of(const Press& press) const {
  if (press.key != key_) return Kind::Tap;
  const std::uint32_t gap = press.at - last_press_;
  if (phase_ != Phase::Up && gap < kRepeatGapMs) return Kind::Repeat;
  if (lone_ && gap >= kShortestRepeatDelayMs && gap <= kLongestRepeatDelayMs) return Kind::MaybeRepeat;
  return Kind::Tap;
}

// When the press can act: a new tap once the key before it is let go and, if it is the same
// key, has been up long enough for the game to see that.
std::uint32_t PressOnlyKeys::down_time(const Press& press, Kind kind) const {
  if (kind != Kind::Tap) return press.at;
  const std::uint32_t at = phase_ == Phase::Down ? let_go_ : press.at;
  return press.key == key_ ? Later(at, let_go_ + kShortestHoldMs) : at;
}

// When the latest stroke changes by itself: a key let go, a waiting press decided, a hidden
// auto-repeat over.
std::optional<std::uint32_t> PressOnlyKeys::deadline() const {
  switch (phase_) {
    case Phase::Down:
      return let_go_;
    case Phase::Waiting:
    case Phase::Hidden:
      return last_press_ + kRepeatGapMs;
    case Phase::Up:
      break;
  }
  return std::nullopt;
}

// Lets the latest stroke change by itself up to `time`.
void PressOnlyKeys::settle(std::uint32_t time, std::vector<KeyEvent>& events) {
  for (auto due = deadline(); due && !Before(time, *due); due = deadline()) {
    if (phase_ == Phase::Waiting) {
      // No repeat followed: a new tap, shown from now on so that the game can see it.
      lone_ = true;
      go_down(*due, events);
      continue;
    }
    if (phase_ == Phase::Down) {
      events.push_back({key_, false});
      up_drained_ = false;
    }
    phase_ = Phase::Up;
  }
}

void PressOnlyKeys::go_down(std::uint32_t at, std::vector<KeyEvent>& events) {
  phase_ = Phase::Down;
  down_at_ = at;
  let_go_ = Later(last_press_ + kRepeatGapMs, at + kShortestHoldMs);
  seen_down_ = false;
  events.push_back({key_, true});
}

// A new tap arrived at `at`: a waiting press before it was a tap too, and the key before it
// is let go as soon as the game can have seen it.
void PressOnlyKeys::cut_short(std::uint32_t at, std::vector<KeyEvent>& events) {
  if (phase_ == Phase::Waiting) {
    lone_ = true;
    go_down(at, events);
  }
  if (phase_ == Phase::Down) let_go_ = Later(down_at_ + kShortestHoldMs, at);
}

void PressOnlyKeys::take(const Press& press, Kind kind, std::uint32_t at, std::vector<KeyEvent>& events) {
  if (kind == Kind::Tap) {
    key_ = press.key;
    last_press_ = press.at;
    lone_ = true;
    go_down(at, events);
    return;
  }
  last_press_ = press.at;
  lone_ = false;
  if (kind == Kind::Repeat) {
    // The next repeat of a held key; after a waiting press, the key was held all along.
    if (phase_ == Phase::Waiting) phase_ = Phase::Hidden;
    if (phase_ == Phase::Down) let_go_ = Later(let_go_, press.at + kRepeatGapMs);
    return;
  }
  if (seen_down_ && up_drained_) {
    phase_ = Phase::Waiting;
    return;
  }
  // The game has not seen the key both down and let go: it is down now either way. A key-up
  // not drained yet is taken back; one drained with its key-down is followed by a new one.
  if (up_drained_) {
    go_down(at, events);
    return;
  }
  const auto up =
      std::find_if(events.rbegin(), events.rend(), [&](const KeyEvent& e) { return e.key == key_ && !e.down; });
  if (up != events.rend()) events.erase(std::next(up).base());
  phase_ = Phase::Down;
  let_go_ = press.at + kRepeatGapMs;
}
