// The browser's key records as held keys and typed bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/web/key_queue.hpp"

namespace {

KeyRecord Key(std::uint32_t key, bool down, char32_t character = 0, std::uint32_t extended = 0) {
  return {key, down, character, extended};
}

std::string TypedBytes(KeyQueue& keys) {
  std::string bytes;
  while (keys.key_waiting()) bytes += static_cast<char>(keys.read_key());
  return bytes;
}

TEST(WebKeys, HeldFromPressToReleaseAsDrainedTogether) {
  KeyRecord shifted = Key('A', true, U'A');
  shifted.shift = true;
  const struct {
    const char* name;
    std::vector<KeyRecord> records;
    std::uint32_t key;
    bool held;
  } cases[] = {
      {"press", {Key(40, true)}, 40, true},
      {"auto-repeated press", {Key(40, true), Key(40, true), Key(40, true)}, 40, true},
      {"press and release between two polls", {Key(40, true), Key(40, false)}, 40, false},
      {"a key code above 255 changes nothing", {Key(40, true), Key(300, false)}, 40, true},
      {"Shift from a record's modifiers", {shifted}, 16, true},
      {"Shift let go with the next record", {shifted, Key('A', false)}, 16, false},
  };
  for (const auto& c : cases) {
    KeyQueue keys;
    InputState state;
    for (const KeyRecord& record : c.records) keys.push(record);
    keys.drain(state);
    EXPECT_EQ(state.held(c.key), c.held) << c.name;
  }
}

TEST(WebKeys, TypedBytesAndTheKeysThatTypeNothing) {
  KeyQueue keys;
  keys.push(Key(16, true));  // shift alone types nothing
  keys.push(Key('B', true, U'B'));
  keys.push(Key('B', false));
  keys.push(Key(38, true, 0, kExtendedKeyPrefix << 8 | 0x48));
  keys.push(Key(8, true, 8));
  keys.push(Key(0xE5, true, U'名'));
  EXPECT_EQ(TypedBytes(keys), "B\xE0\x48\b名");
  EXPECT_EQ(keys.read_key(), 0);
}

TEST(WebKeys, ReleasesReadWhileTypingStillReachTheHeldKeys) {
  KeyQueue keys;
  InputState state;
  keys.push(Key(13, true, U'\r'));
  keys.drain(state);
  keys.push(Key(13, false));
  keys.push(Key('C', true, U'C'));
  EXPECT_EQ(keys.read_key(), 'C');
  keys.drain(state);
  EXPECT_FALSE(state.held(13));
  EXPECT_TRUE(state.held('C'));
}

}  // namespace
