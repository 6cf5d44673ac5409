// The typed-name field: accepted characters, limits, Backspace, extended keys and redrawing.
#include "game/pages/name_field.hpp"

#include <gtest/gtest.h>

#include "tests/support/game_session.hpp"

using NameField = GameSession;

TEST_F(NameField, KeepsOnlyNameCharactersUpToSixteen) {
  struct { std::string typed; std::string name; } cases[] = {
      {"Abc_9 z\r", "Abc_9 z"},
      {"a!b-c\r", "abc"},                             // other bytes are ignored
      {"abcdefghijklmnopQRS\r", "abcdefghijklmnop"},  // a seventeenth is not taken
      {"abcdefghijklmnop\bX\r", "abcdefghijklmnoX"},  // Backspace after 16
      {"\b\bab\x7f\r", "ab"},                         // Backspace on empty does nothing
      {"ab\xE0Hcd\r", "abcd"},                        // an arrow typed among letters in one go
      {"ab\xE0\xA4\x95" "cd\r", "abcd"},            // a Devanagari character, whose UTF-8 starts 0xE0
      {"\r", ""},
      {"\xE3\x81\x82xy\r", "xy"},  // bytes of a UTF-8 character
  };
  for (const auto& c : cases) {
    keys.type(c.typed);
    EXPECT_EQ(TypeName(33, 5).value_or("<ended>"), c.name) << c.typed;
  }
}
