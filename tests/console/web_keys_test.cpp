// The browser's key records as held keys and typed bytes.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "console/web/key_queue.hpp"

namespace {

// Records arrive in batches between two polls. A key is held from its press (auto-repeated or
// not) to its release, Shift by each record's own modifiers; codes above 255 change nothing.
// Presses that type come out as UTF-8, keys without a character as prefix and scan code; the
// records the typed input reads still reach the held keys, releases included.
TEST(WebKeys, HeldFromPressToReleaseAndTypedAsBytes) {
  KeyQueue keys;
  InputState state;
  const auto drain = [&](std::initializer_list<KeyRecord> records) {
    for (const KeyRecord& record : records) keys.push(record);
    keys.drain(state);
  };
  // A record: the key, down, the character typed, the extended key typed, Shift held.
  drain({{40, true}, {40, true}, {38, true}, {38, false}, {300, false}});
  EXPECT_TRUE(state.held(40)) << "an auto-repeated Down let go";
  EXPECT_FALSE(state.held(38)) << "Up, pressed and let go between two polls, still held";
  drain({{'A', true, U'A', 0, true}});
  EXPECT_TRUE(state.held(16)) << "Shift, from the record's modifiers, not held";
  drain({{'A', false}, {13, true, U'\r'}});
  EXPECT_FALSE(state.held(16)) << "Shift still held after a record without it";
  for (const KeyRecord& record : std::initializer_list<KeyRecord>{{13, false},
                                                                  {16, true},
                                                                  {'B', true, U'B'},
                                                                  {'B', false},
                                                                  {38, true, 0, kExtendedKeyPrefix << 8 | 0x48},
                                                                  {8, true, 8},
                                                                  {0xE5, true, U'名'}})
    keys.push(record);
  std::string typed;
  for (int n = 0; n < 16 && keys.key_waiting(); ++n) typed += static_cast<char>(keys.read_key());
  EXPECT_EQ(typed, "B\xE0\x48\b名");
  EXPECT_EQ(keys.read_key(), 0);
  keys.drain(state);
  EXPECT_FALSE(state.held(13)) << "Enter, its release read while typing, still held";
  EXPECT_TRUE(state.held(0xE5)) << "a key pressed while typing not held";
}

}  // namespace
