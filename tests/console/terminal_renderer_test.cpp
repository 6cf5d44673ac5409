// The terminal renderer checked on libvterm: frames, small and total changes, colours, cursor,
// wide and ambiguous characters on terminals that draw ambiguous ones narrow or wide.
#include "console/posix/terminal_renderer.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "console/text_width.hpp"
#include "tests/support/vterm_screen.hpp"

namespace {

// The ANSI palette index of each console colour (console bits: blue 1, green 2, red 4).
constexpr int kAnsiIndex[16] = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};

struct Mode {
  const char* name;
  AmbiguousWidth renderer;
  bool terminal_wide;  // the terminal draws ambiguous characters two columns wide
};

// libvterm draws ambiguous characters narrow. A terminal that draws them wide is played by
// swapping each ambiguous character in the output for a wide stand-in of its own.
class RendererOnTerminal : public ::testing::TestWithParam<Mode> {
 protected:
  std::string render(const ScreenGrid& grid, const CursorState& cursor = {1, 1, false, 8}) {
    std::string out, shown;
    renderer_.render(grid, cursor, out);
    for (std::size_t pos = 0; pos < out.size();) text::AppendUtf8(shown_as(text::DecodeUtf8(out, pos)), shown);
    vt_.feed(shown);
    return out;
  }
  // Ambiguous characters all lie below U+2700, so each one's stand-in is a kanji of its own.
  char32_t shown_as(char32_t ch) const {
    const bool ambiguous = FitOfTwoColumnGlyph(ch, AmbiguousWidth::Narrow) == GlyphFit::Narrow;
    return GetParam().terminal_wide && ambiguous ? 0x4E00 + ch : ch;
  }
  // The cells where the terminal does not show the model's character in its columns and
  // colours, a narrow-drawn one followed by its filler.
  std::string differences(const ScreenGrid& grid) const {
    std::ostringstream out;
    for (int row = 1; row <= ScreenGrid::kRows; ++row)
      for (int column = 1; column <= ScreenGrid::kColumns; ++column) {
        const Cell& cell = grid.at(column, row);
        const VtermCell shown = vt_.at(column, row), next = vt_.at(column + 1, row);
        const char32_t filler = FillerFor(cell.ch, FitOfTwoColumnGlyph(cell.ch, GetParam().renderer));
        if (cell.width == 0) continue;
        if (shown.ch != shown_as(cell.ch) || shown.fg != kAnsiIndex[cell.fg] || shown.bg != kAnsiIndex[cell.bg] ||
            shown.bold || shown.blink ||
            (cell.width == 2 && shown.width == 1 && (next.ch != shown_as(filler) || next.bg != shown.bg)))
          out << "(" << column << "," << row << ") ";
      }
    return out.str();
  }

  TerminalRenderer renderer_{GetParam().renderer};
  VtermScreen vt_;
};

TEST_P(RendererOnTerminal, ShowsEveryFrameCellForCellInItsColoursAndTheCursorWhereAsked) {
  // A title-like frame: box pieces, full-width letters and kanji, arrows and symbols, half-width
  // katakana, and text reaching the last column and the last cell.
  ScreenGrid grid;
  grid.fill(0, 15);
  grid.write({10, 3}, "┏━━━━━━━━━━━━━━┓", 8, 15);
  grid.write({10, 4}, "┃ＤＯＭＲＡＫ　闘技場┃", 8, 15);
  grid.write({10, 5}, "┗━━━━━━━┻━━━━━━┛", 8, 15);
  grid.write({4, 10}, "┃　┃  ┏┛┣━┫", 9, 7);
  grid.write({30, 13}, "→ はじめから ⇒ × ÷ … ↑↓← ■□・", 0, 15);
  grid.write({30, 14}, "ｶﾀｶﾅ･ HP 999/999", 1, 14);
  grid.write({71, 24}, "端まで届く文", 4, 15);
  grid.write({60, 25}, "the very last cell:X", 15, 0);
  render(grid);
  EXPECT_EQ(differences(grid), "") << "first frame";
  EXPECT_FALSE(vt_.cursor_visible());
  EXPECT_EQ(render(grid, {31, 12, false, 8}), "") << "moving a hidden cursor sends nothing";

  // A few cells change: a letter, half of a wide character, the colour of a box piece,
  // a wide character over two narrow ones, a narrow one over a wide one.
  grid.write({22, 4}, "x", 12, 15);
  grid.write({31, 13}, "!", 0, 15);
  grid.write({10, 3}, "┏", 12, 15);
  grid.write({62, 25}, "闘", 15, 0);
  grid.write({4, 10}, "|", 9, 7);
  EXPECT_LT(render(grid).size(), 150u) << "only the changed cells go out";
  EXPECT_EQ(differences(grid), "") << "after a few changes";

  // Every cell different from the title frame, in every foreground and every background.
  ScreenGrid busy;
  busy.fill(15, 1);
  for (int row = 1; row <= ScreenGrid::kRows; ++row) {
    const std::string line = (row % 3 == 0) ? "攻撃■強攻撃□カウンター━魔法┃" : "Round 1 ←→ Final ×÷ abc";
    busy.write({1 + row % 2, row}, line + line + line, static_cast<std::uint8_t>(row % 16),
               static_cast<std::uint8_t>((row * 7) % 16));
  }
  render(busy);
  EXPECT_EQ(differences(busy), "") << "after everything changed";
  EXPECT_EQ(render(busy), "") << "an unchanged frame sends nothing";

  // The cursor shown on the second character of a text; control characters in the model never
  // reach the terminal as such.
  busy.write({1, 1}, "a\x1b[2Jb\x07", 7, 0);
  busy.write({1, 2},
             "\xc2\x9b"
             "31m",
             7, 0);  // C1 CSI, two columns in the model
  busy.write({10, 20}, "名前", 0, 15);
  render(busy, {12, 20, true, 8});
  EXPECT_TRUE(vt_.cursor_visible());
  EXPECT_EQ(vt_.cursor(), std::pair(12, 20));
  EXPECT_EQ(vt_.text(1, 1, 6), "a [2Jb");
  EXPECT_EQ(vt_.at(3, 2).ch, U'3');
  EXPECT_EQ(vt_.at(3, 2).fg, 7) << "the C1 character started no colour sequence";
}

INSTANTIATE_TEST_SUITE_P(AmbiguousWidths, RendererOnTerminal,
                         ::testing::Values(Mode{"NarrowTerminal", AmbiguousWidth::Narrow, false},
                                           Mode{"WideTerminal", AmbiguousWidth::Wide, true},
                                           Mode{"UnknownOnNarrow", AmbiguousWidth::Unknown, false},
                                           Mode{"UnknownOnWide", AmbiguousWidth::Unknown, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
