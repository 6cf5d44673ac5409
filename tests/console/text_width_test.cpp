// Column widths and UTF-8 coding of the game's texts: the layout depends on every full-width
// character taking two columns.
#include <gtest/gtest.h>

#include <utility>

#include "console/text_width.hpp"

TEST(TextWidth, CountsColumnsAsShiftJisBytes) {
  const std::pair<const char*, int> cases[] = {
      // a text, its columns
      {"┏━┓", 6},
      {"　", 2},  // ideographic space
      {"[ENTER]…決定  [↑][↓]…選択", 29},
      {"｡･ｱﾟ", 4},  // half-width katakana, first to last
      {"ＧＡＭＥ ＯＶＥＲ", 17},
  };
  for (const auto& [text, columns] : cases) EXPECT_EQ(text::ColumnWidth(text), columns) << text;
}

TEST(TextWidth, Utf8RoundTripsAndMalformedBytesDecodeOneAtATime) {
  std::string text;
  for (char32_t ch : {U'A', U'é', U'■', U'😀'}) text::AppendUtf8(ch, text);
  for (char32_t half : {0xD83Du, 0x110000u}) EXPECT_FALSE(text::AppendUtf8(half, text)) << "not a character, written";
  text +=
      "\xE3\x81"
      "B\xFF";
  std::size_t pos = 0;
  for (char32_t expected : {U'A', U'é', U'■', U'😀', U'\uFFFD', U'\uFFFD', U'B', U'\uFFFD'})
    EXPECT_EQ(text::DecodeUtf8(text, pos), expected) << pos;
  EXPECT_EQ(pos, text.size());
}
