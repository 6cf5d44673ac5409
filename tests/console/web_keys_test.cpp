// The browser's key records as held keys and typed bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/web/key_queue.hpp"

namespace {

KeyRecord Key(std::uint32_t key, bool down, char32_t character = 0, std::uint32_t extended = 0,
              bool shift = false) {
  return {key, down, character, extended, shift};
}

TEST(WebKeys, HeldFromPressToReleaseAsDrainedTogether) {
  const KeyRecord shifted = Key('A', true, U'A', 0, true);
  const struct {
    const char* name;
    std::vector<KeyRecord> records;
    std::uint32_t key;
    bool held;
  } cases[] = {
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

// Presses that type come out as UTF-8, keys without a character as prefix and scan code; the
// records the typed input reads still reach the held keys, releases included.
TEST(WebKeys, TypedBytesLeaveEveryRecordToTheHeldKeys) {
  KeyQueue keys;
  InputState state;
  keys.push(Key(13, true, U'\r'));
  keys.drain(state);
  for (const KeyRecord& record : {Key(13, false), Key(16, true), Key('B', true, U'B'), Key('B', false),
                                  Key(38, true, 0, kExtendedKeyPrefix << 8 | 0x48), Key(8, true, 8),
                                  Key(0xE5, true, U'名')})
    keys.push(record);
  std::string typed;
  for (int n = 0; n < 16 && keys.key_waiting(); ++n) typed += static_cast<char>(keys.read_key());
  EXPECT_EQ(typed, "B\xE0\x48\b名");
  EXPECT_EQ(keys.read_key(), 0);
  keys.drain(state);
  EXPECT_FALSE(state.held(13));
  EXPECT_TRUE(state.held(0xE5));
}

}  // namespace
