// Held keys from presses only: taps, auto-repeat and presses between distant polls.
#include "console/posix/held_keys.hpp"

#include <gtest/gtest.h>

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

TEST(HeldKeys, ATapIsReleasedOnceTheGraceWindowHasPassed) {
  HeldKeys keys;
  InputState state;
  keys.press(kKeyEnter, 500);
  keys.apply(state, 500);
  EXPECT_TRUE(state.held(kKeyEnter));
  keys.apply(state, 500 + kHeldGraceMs - 1);
  EXPECT_TRUE(state.held(kKeyEnter));
  keys.apply(state, 500 + kHeldGraceMs);
  EXPECT_FALSE(state.held(kKeyEnter));
  EXPECT_FALSE(state.held(kKeyUp));
}

TEST(HeldKeys, APressLongBeforeThePollStillCountsOnce) {
  HeldKeys keys;
  InputState state;
  keys.press(kKeyUp, 0);
  keys.apply(state, 2000);  // the game was busy animating
  EXPECT_TRUE(state.held(kKeyUp));
  keys.apply(state, 2010);
  EXPECT_FALSE(state.held(kKeyUp));
}

TEST(HeldKeys, AReportedReleaseEndsTheHoldAtOnce) {
  HeldKeys keys;
  InputState state;
  // The terminal's first auto-repeat comes 500 ms after the press: the key stays down.
  keys.press(kKeyDown, 0, kReleaseLostMs);
  for (std::uint32_t t : {0u, 200u, 499u}) {
    keys.apply(state, t);
    EXPECT_TRUE(state.held(kKeyDown)) << t;
  }
  keys.press(kKeyDown, 500, kReleaseLostMs);
  keys.release(kKeyDown);
  keys.apply(state, 510);
  EXPECT_TRUE(state.held(kKeyDown)) << "a press counts once even if released before the poll";
  keys.apply(state, 520);
  EXPECT_FALSE(state.held(kKeyDown));

  // A lost release: the key comes up once no repeat has come for kReleaseLostMs.
  keys.press(kKeyUp, 1000, kReleaseLostMs);
  keys.apply(state, 1000);
  keys.apply(state, 1000 + kReleaseLostMs - 1);
  EXPECT_TRUE(state.held(kKeyUp));
  keys.apply(state, 1000 + kReleaseLostMs);
  EXPECT_FALSE(state.held(kKeyUp));
}

TEST(HeldKeys, LeavesKeysItDoesNotFollowAlone) {
  HeldKeys keys;
  InputState state;
  state.set(kKeyLeft, true);
  keys.press(kKeyUp, 0);
  keys.apply(state, 1000);
  keys.apply(state, 2000);
  EXPECT_TRUE(state.held(kKeyLeft));
}

}  // namespace
