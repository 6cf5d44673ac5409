// Terminal widths of the characters the game draws two columns wide.
#include "console/posix/glyph_width.hpp"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
  char32_t first;
  char32_t last;
};

bool InRanges(char32_t ch, const Range* begin, const Range* end) {
  return std::any_of(begin, end, [ch](const Range& r) { return ch >= r.first && ch <= r.last; });
}

// East Asian Wide and Fullwidth blocks: every terminal draws these two columns wide.
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// The East Asian Ambiguous symbols of the Japanese character set: one or two columns,
// depending on the terminal's settings.
constexpr Range kAmbiguous[] = {
    {0x00A7, 0x00A8}, {0x00B0, 0x00B1}, {0x00B4, 0x00B4}, {0x00B6, 0x00B6}, {0x00D7, 0x00D7}, {0x00F7, 0x00F7},
    {0x0391, 0x03A9}, {0x03B1, 0x03C9}, {0x0401, 0x0401}, {0x0410, 0x044F}, {0x0451, 0x0451}, {0x2010, 0x2010},
    {0x2015, 0x2016}, {0x2018, 0x2019}, {0x201C, 0x201D}, {0x2020, 0x2021}, {0x2025, 0x2026}, {0x2030, 0x2030},
    {0x2032, 0x2033}, {0x203B, 0x203B}, {0x2103, 0x2103}, {0x212B, 0x212B}, {0x2190, 0x2193}, {0x21D2, 0x21D2},
    {0x21D4, 0x21D4}, {0x2500, 0x254B}, {0x25A0, 0x25A1}, {0x25B2, 0x25B3}, {0x25BC, 0x25BD}, {0x25C6, 0x25C7},
    {0x25CB, 0x25CB}, {0x25CE, 0x25CF}, {0x25EF, 0x25EF}, {0x2605, 0x2606}, {0x2640, 0x2640}, {0x2642, 0x2642},
    {0x266A, 0x266A}, {0x266D, 0x266D}, {0x266F, 0x266F},
};

}  // namespace

GlyphFit FitOfTwoColumnGlyph(char32_t ch, AmbiguousWidth ambiguous) {
  if (InRanges(ch, std::begin(kWide), std::end(kWide))) return GlyphFit::Wide;
  if (!InRanges(ch, std::begin(kAmbiguous), std::end(kAmbiguous))) return GlyphFit::Unknown;
  switch (ambiguous) {
    case AmbiguousWidth::Narrow:
      return GlyphFit::Narrow;
    case AmbiguousWidth::Wide:
      return GlyphFit::Wide;
    case AmbiguousWidth::Unknown:
      break;
  }
  return GlyphFit::Unknown;
}

char32_t RightFiller(char32_t ch) {
  switch (ch) {
    case U'━':
    case U'┏':
    case U'┗':
    case U'┣':
    case U'┳':
    case U'┻':
    case U'╋':
      return U'━';
    case U'─':
    case U'┌':
    case U'└':
    case U'├':
    case U'┬':
    case U'┴':
    case U'┼':
      return U'─';
    case U'═':
    case U'╔':
    case U'╚':
    case U'╠':
    case U'╦':
    case U'╩':
    case U'╬':
      return U'═';
    default:
      return U' ';
  }
}

char32_t FillerFor(char32_t ch, GlyphFit fit) { return fit == GlyphFit::Narrow ? RightFiller(ch) : U' '; }
