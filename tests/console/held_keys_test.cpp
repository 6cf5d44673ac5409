// Held keys from presses only: taps, auto-repeat, reported and lost releases, distant polls.
#include "console/posix/held_keys.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(HeldKeys, AutoRepeatReadsAsOneLongPress) {
  HeldKeys keys;
  InputState state;
  std::vector<bool> seen;
  // Presses every 33 ms for a second, polled every 10 ms; then polls go on without presses.
  for (std::uint32_t t = 0; t <= 1300; t += 10) {
    if (t <= 1000 && t % 33 < 10) keys.press(kKeyDown, t);
    keys.apply(state, t);
    seen.push_back(state.held(kKeyDown));
  }
  int changes = 0;
  for (std::size_t i = 1; i < seen.size(); ++i) changes += seen[i] != seen[i - 1];
  EXPECT_TRUE(seen.front());
  EXPECT_FALSE(seen.back());
  EXPECT_EQ(changes, 1) << "the key went up and down while it was being repeated";
}

// One key's presses, reported releases and polls in time order; each poll expects the key
// held or up, and a key the table does not follow stays as it was.
TEST(HeldKeys, AKeyIsDownFromItsPressUntilItsGraceOrReleaseEnds) {
  enum Kind { Press, Release, Held, Up };
  struct Event {
    std::uint32_t at;
    Kind kind;
  };
  struct Case {
    const char* name;
    std::uint32_t grace;
    std::vector<Event> events;
  };
  constexpr std::uint32_t G = kHeldGraceMs, L = kReleaseLostMs;
  const Case cases[] = {
      {"a tap", G, {{500, Press}, {500, Held}, {500 + G - 1, Held}, {500 + G, Up}}},
      {"a press long before the poll counts once", G, {{0, Press}, {2000, Held}, {2010, Up}}},
      {"the first repeat comes late; a reported release ends the hold after one poll", L,
       {{0, Press}, {0, Held}, {499, Held}, {500, Press}, {500, Release}, {510, Held}, {520, Up}}},
      {"a lost release", L, {{1000, Press}, {1000, Held}, {1000 + L - 1, Held}, {1000 + L, Up}}},
  };
  for (const Case& c : cases) {
    HeldKeys keys;
    InputState state;
    state.set(kKeyLeft, true);
    for (const Event& e : c.events) {
      if (e.kind == Press) keys.press(kKeyUp, e.at, c.grace);
      if (e.kind == Release) keys.release(kKeyUp);
      if (e.kind != Held && e.kind != Up) continue;
      keys.apply(state, e.at);
      EXPECT_EQ(state.held(kKeyUp), e.kind == Held) << c.name << " at " << e.at;
    }
    EXPECT_TRUE(state.held(kKeyLeft)) << c.name;
  }
}

}  // namespace
