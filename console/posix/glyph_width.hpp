// How wide a terminal draws a character, and what fills the second column of a narrow one.
#pragma once

// The width a terminal gives East Asian "ambiguous" characters (box drawing, arrows, ■, ×):
// found out at start-up; Unknown when the terminal did not say.
enum class AmbiguousWidth { Narrow, Wide, Unknown };

// How a two-column character of the game's screen comes out on the terminal.
enum class GlyphFit {
  Wide,     // the terminal draws it two columns wide
  Narrow,   // one column: a filler must follow it
  Unknown,  // either: draw the filler first, then the character over it
};

GlyphFit FitOfTwoColumnGlyph(char32_t ch, AmbiguousWidth ambiguous);

// What continues a narrow-drawn character into its second column: the line of a box
// piece that runs on to the right (━ after ┏, ─ after ├), a blank after anything else.
char32_t RightFiller(char32_t ch);

// The filler for a fit: RightFiller for Narrow; for Unknown a blank, since a line piece
// might itself come out wide and cover the next cell.
char32_t FillerFor(char32_t ch, GlyphFit fit);
