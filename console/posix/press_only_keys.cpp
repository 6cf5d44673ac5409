// Key changes from presses alone: taps, auto-repeat after its delay, keys arriving together.
#include "console/posix/press_only_keys.hpp"

#include <algorithm>

namespace {

// Whether `a` comes before `b` on the wrapping millisecond clock.
bool Before(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

}  // namespace

void PressOnlyKeys::press(std::uint32_t key, std::uint32_t at) { pending_.push_back({key, at}); }

void PressOnlyKeys::advance(std::uint32_t now, std::vector<KeyEvent>& events) {
  while (!pending_.empty() && !Before(now, pending_.front().at)) {
    const Press press = pending_.front();
    settle(press.at, events);
    std::uint32_t at = press.at;
    while (blocks(press.key)) {
      const std::uint32_t until = *deadline();
      if (Before(now, until)) return;  // the key before it is still down
      settle(until, events);
      at = until;
    }
    pending_.pop_front();
    take(press, at, events);
  }
  settle(now, events);
}

void PressOnlyKeys::drained() {
  if (phase_ == Phase::Down) seen_down_ = true;
  if (phase_ == Phase::Up) up_drained_ = true;
}

// When the latest stroke changes by itself: a key let go, a waiting press decided, a hidden
// auto-repeat over.
std::optional<std::uint32_t> PressOnlyKeys::deadline() const {
  switch (phase_) {
    case Phase::Down:
    case Phase::Hidden: return last_ + kRepeatGapMs;
    case Phase::Waiting: return waiting_since_ + kRepeatGapMs;
    case Phase::Up: break;
  }
  return std::nullopt;
}

// Lets the latest stroke change by itself up to `time`.
void PressOnlyKeys::settle(std::uint32_t time, std::vector<KeyEvent>& events) {
  for (auto due = deadline(); due && !Before(time, *due); due = deadline()) {
    if (phase_ == Phase::Waiting) {
      // No repeat followed: a new tap, shown from now on so that the game can see it.
      phase_ = Phase::Down;
      first_ = waiting_since_;
      last_ = *due;
      repeated_ = false;
      seen_down_ = false;
      events.push_back({key_, true});
      continue;
    }
    if (phase_ == Phase::Down) events.push_back({key_, false});
    up_drained_ = phase_ == Phase::Hidden;
    phase_ = Phase::Up;
  }
}

// A press of another key waits while this stroke is down or undecided.
bool PressOnlyKeys::blocks(std::uint32_t key) const {
  return key != key_ && (phase_ == Phase::Down || phase_ == Phase::Waiting);
}

void PressOnlyKeys::take(const Press& press, std::uint32_t at, std::vector<KeyEvent>& events) {
  if (press.key == key_ && phase_ != Phase::Up) {
    // The next repeat of a held key; after a waiting press, the key was held all along.
    if (phase_ == Phase::Waiting) phase_ = Phase::Hidden;
    last_ = at;
    repeated_ = true;
    return;
  }
  if (press.key == key_ && !repeated_ && press.at - first_ <= kLongestRepeatDelayMs) {
    if (seen_down_ && up_drained_) {
      phase_ = Phase::Waiting;
      waiting_since_ = at;
      return;
    }
    // The game has not seen the key both down and let go: it is down now either way. A key-up
    // not drained yet is taken back; one drained with its key-down is followed by a new one.
    if (up_drained_) {
      events.push_back({key_, true});
    } else {
      const auto up = std::find_if(events.rbegin(), events.rend(),
                                   [&](const KeyEvent& e) { return e.key == key_ && !e.down; });
      if (up != events.rend()) events.erase(std::next(up).base());
    }
    phase_ = Phase::Down;
    last_ = at;
    repeated_ = true;
    return;
  }
  phase_ = Phase::Down;
  key_ = press.key;
  first_ = press.at;
  last_ = at;
  repeated_ = false;
  seen_down_ = false;
  events.push_back({key_, true});
}
