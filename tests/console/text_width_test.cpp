// Column widths of the game's texts: the layout depends on every full-width character taking two.
#include <gtest/gtest.h>

#include "console/text_width.hpp"

TEST(TextWidth, CountsColumnsAsShiftJisBytes) {
  struct Case {
    const char* text;
    int columns;
  } cases[] = {
      {"", 0},
      {"Round 1", 7},
      {"ネームエントリー", 16},
      {"■", 2},
      {"┏━┓", 6},
      {"　", 2},                     // ideographic space
      {"[ENTER]…決定  [↑][↓]…選択", 29},
      {"･･････", 6},                // half-width katakana middle dots
      {"ＧＡＭＥ ＯＶＥＲ", 17},
      {"ｱｲｳ", 3},
  };
  for (const Case& c : cases) EXPECT_EQ(text::ColumnWidth(c.text), c.columns) << c.text;
}

TEST(TextWidth, MalformedBytesDecodeOneAtATime) {
  const std::string bad = "A\xE3\x81" "B\xFF";
  std::size_t pos = 0;
  EXPECT_EQ(text::DecodeUtf8(bad, pos), U'A');
  EXPECT_EQ(text::DecodeUtf8(bad, pos), U'\uFFFD');
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(text::DecodeUtf8(bad, pos), U'\uFFFD');
  EXPECT_EQ(text::DecodeUtf8(bad, pos), U'B');
  EXPECT_EQ(text::DecodeUtf8(bad, pos), U'\uFFFD');
  EXPECT_EQ(pos, bad.size());
}

TEST(TextWidth, Utf8RoundTrips) {
  for (char32_t ch : {U'A', U'é', U'■', U'　', U'😀'}) {
    std::string out;
    text::AppendUtf8(ch, out);
    std::size_t pos = 0;
    EXPECT_EQ(text::DecodeUtf8(out, pos), ch);
    EXPECT_EQ(pos, out.size());
  }
}
