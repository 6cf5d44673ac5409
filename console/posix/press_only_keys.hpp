// Key-down and key-up events worked out from a terminal that sends key presses only.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// One change of a key, as the Windows console reports it.
struct KeyEvent {
  std::uint32_t key;
  bool down;
};

// A held key sends one press and, after the keyboard's repeat delay, a stream of repeats; a
// tap sends one press. These bound the keyboards that are told apart:
//
// The longest gap between two auto-repeated presses (15 Hz is 67 ms; the rest is slack for
// remote terminals). Presses of one key closer than this are one hold, and a key with no
// press for this long has been let go; so a lone press is held this long.
inline constexpr std::uint32_t kRepeatGapMs = 100;
// The shortest and the longest delay before auto-repeat starts (keyboards use 200 to 1000 ms;
// the rest is slack for bytes that arrive late). A press sooner than the shortest after a lone
// press of its key is a second tap.
inline constexpr std::uint32_t kShortestRepeatDelayMs = 200;
inline constexpr std::uint32_t kLongestRepeatDelayMs = 1200;
// How long a key stays down at least when another press follows it, and up between two taps of
// it: longer than a screen's pass over its keys, so the game sees each change.
inline constexpr std::uint32_t kShortestHoldMs = 50;
// A press that cannot go down this soon after it arrived (keys pasted or typed together queue
// behind each other) never does: a key acts at once or not at all.
inline constexpr std::uint32_t kLatestDownMs = 100;

// Turns presses into the key changes the game would have seen on the console. Presses are told
// apart by when they arrived. A press within kRepeatGapMs of the one before it of the same key
// is auto-repeat. A press that comes a repeat delay after a lone press of the same key is
// either the start of its auto-repeat or a second tap. Unless the game has seen the first press
// both down and let go, both mean the key is down now, so it is. When it has, the press waits
// up to kRepeatGapMs: a further press makes it auto-repeat of a key the game has already let go
// (nothing happens), none (or a press of another key) makes it a new tap (the key goes down
// then). Any other press is a new tap. Presses never overlap: a new tap cuts the key before it short (down at least
// kShortestHoldMs) and goes down once it is let go (and, if it is the same key, has been up
// kShortestHoldMs); so keys that arrive together are seen one after another.
class PressOnlyKeys {
 public:
  // A press that arrived at `at`; presses are given in the order they arrived.
  void press(std::uint32_t key, std::uint32_t at);
  // Appends every key change worked out up to `now` to `events`, which holds the changes the
  // game has not drained yet; a key-up that turns out wrong is taken back out of it.
  void advance(std::uint32_t now, std::vector<KeyEvent>& events);
  // Everything appended so far has been drained.
  void drained();

 private:
  enum class Phase {
    Up,       // let go (or never pressed)
    Down,     // down until let_go_
    Waiting,  // a press that may be a second tap or the start of auto-repeat
    Hidden,   // auto-repeat of a key the game has already seen let go
  };
  enum class Kind { Repeat, MaybeRepeat, Tap };
  struct Press {
    std::uint32_t key;
    std::uint32_t at;
  };

  Kind kind_of(const Press& press) const;
  std::uint32_t down_time(const Press& press, Kind kind) const;
  std::optional<std::uint32_t> deadline() const;
  void settle(std::uint32_t time, std::vector<KeyEvent>& events);
  void go_down(std::uint32_t at, std::vector<KeyEvent>& events);
  void cut_short(std::uint32_t at, std::vector<KeyEvent>& events);
  void take(const Press& press, Kind kind, std::uint32_t at, std::vector<KeyEvent>& events);

  std::deque<Press> pending_;
  // The latest stroke: one key from its press to its let-go.
  Phase phase_ = Phase::Up;
  std::uint32_t key_ = 0;
  std::uint32_t last_press_ = 0;  // when its latest press arrived
  std::uint32_t down_at_ = 0;     // when it went down
  std::uint32_t let_go_ = 0;      // when it goes (or went) up
  bool lone_ = false;             // one press so far
  bool seen_down_ = false;        // a drain found it down
  bool up_drained_ = false;       // the game has drained its key-up
};
