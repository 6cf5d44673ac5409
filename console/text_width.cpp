// Character widths of the game's screen, and the UTF-8 coding the game's texts are written in.
#include "console/text_width.hpp"

#include <string>

namespace text {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int extra = 0;
  char32_t ch = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    ch = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    ch = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    ch = lead & 0x07;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i <= extra; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) {
      ++pos;
      return kReplacement;
    }
    ch = (ch << 6) | (byte & 0x3F);
  }
  pos += extra + 1;
  return ch;
}

int ColumnWidth(char32_t ch) {
  const bool halfWidthKatakana = ch >= 0xFF61 && ch <= 0xFF9F;
  return (ch < 0x80 || halfWidthKatakana) ? 1 : 2;
}

int ColumnWidth(std::string_view text) {
  int columns = 0;
  for (std::size_t pos = 0; pos < text.size();) columns += ColumnWidth(DecodeUtf8(text, pos));
  return columns;
}

bool AppendUtf8(char32_t ch, std::string& out) {
  if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) return false;
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
  return true;
}

}  // namespace text
