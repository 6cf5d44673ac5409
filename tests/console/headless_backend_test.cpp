// The headless back end's script: queued steps follow the game's questions.
#include <gtest/gtest.h>

#include "tests/support/game_session.hpp"

using HeadlessScript = GameSession;

TEST_F(HeadlessScript, QueuedPressesStartWhenTheGameAsksAndFollowEachOther) {
  keys.press(kKeyDown, 40);
  keys.press(kKeyEnter, 40);
  console.wait(500);  // an animation: nothing is pressed meanwhile
  EXPECT_EQ(console.poll_input(kKeyDown), 1);
  console.wait_release(kKeyDown);
  EXPECT_EQ(console.now(), 540u);
  EXPECT_EQ(console.poll_input(kKeyEnter), 0);  // not within the same instant
  console.wait(20);
  EXPECT_EQ(console.poll_input(kKeyEnter), 1);
}

TEST_F(HeadlessScript, TypedBytesWaitTogetherAndPollingDiscardsThem) {
  keys.type("ab");
  keys.type("c");
  keys.type("d");
  ASSERT_TRUE(console.key_waiting());
  EXPECT_EQ(console.read_key(), 'a');
  EXPECT_EQ(console.read_key(), 'b');
  EXPECT_FALSE(console.key_waiting());  // the next step comes a moment later
  console.wait_for_key();
  EXPECT_EQ(console.read_key(), 'c');
  for (int poll = 0; poll < 2; ++poll) {  // "d" arrives at the second, which empties the queue
    console.wait(5);
    console.poll_input(kKeyEnter);
  }
  EXPECT_FALSE(console.key_waiting());
}
