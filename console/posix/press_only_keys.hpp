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
// The longest delay before auto-repeat starts (keyboards use 200 to 1000 ms; the rest is slack
// for bytes that arrive late). Any shorter delay is taken too, so that a press read late (the
// game was busy) cannot make its own auto-repeat look like a new tap.
inline constexpr std::uint32_t kLongestRepeatDelayMs = 1200;

// Turns presses into the key changes the game would have seen on the console. A press that comes
// within a repeat delay after a lone press of the same key (and not within kRepeatGapMs) is
// either the start of its auto-repeat or a second tap. Unless the game has seen the first press
// both down and let go, both mean the key is down now, so it is. When it has, the press waits up
// to kRepeatGapMs: a further press makes it auto-repeat of a key the game has already let go
// (nothing happens), none makes it a new tap (the key goes down then). Presses of different keys
// never overlap: a key goes down only once the one before it is let go, so keys that arrive
// together are seen one after another.
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
    Down,     // down until kRepeatGapMs after its last press
    Waiting,  // a press that may be a second tap or the start of auto-repeat
    Hidden,   // auto-repeat of a key the game has already seen let go
  };
  struct Press {
    std::uint32_t key;
    std::uint32_t at;
  };

  std::optional<std::uint32_t> deadline() const;
  void settle(std::uint32_t time, std::vector<KeyEvent>& events);
  bool blocks(std::uint32_t key) const;
  void take(const Press& press, std::uint32_t at, std::vector<KeyEvent>& events);

  std::deque<Press> pending_;
  // The latest stroke: one key from its press to its let-go.
  Phase phase_ = Phase::Up;
  std::uint32_t key_ = 0;
  std::uint32_t first_ = 0;  // when its first press arrived
  std::uint32_t last_ = 0;   // its latest press, or when it went down if that was later
  std::uint32_t waiting_since_ = 0;
  bool repeated_ = false;    // it had presses closer than kRepeatGapMs
  bool seen_down_ = false;   // a drain found it down
  bool up_drained_ = false;  // the game has drained its key-up
};
