// Character widths of the game's screen: what takes one column and what takes two.
#pragma once

#include <cstddef>
#include <string_view>

namespace text {

// Decodes one UTF-8 character starting at `text[pos]` and advances `pos` past it.
// A malformed byte decodes as U+FFFD and consumes one byte, so decoding always makes progress.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Columns that a character takes on the game's screen, as in code page 932: ASCII and
// half-width katakana take one column, every other character (a double-byte one) takes two.
int ColumnWidth(char32_t ch);

// Total columns of a UTF-8 text; equals its byte length in Shift-JIS.
int ColumnWidth(std::string_view text);

// Appends the UTF-8 encoding of `ch` to `out`; appends nothing and answers false for what is
// not a character (half of a UTF-16 surrogate pair, beyond U+10FFFF).
bool AppendUtf8(char32_t ch, std::string& out);

}  // namespace text
