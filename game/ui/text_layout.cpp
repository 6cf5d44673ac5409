// Where a text stands in the player's language.
#include "game/ui/text_layout.hpp"

#include "console/text_width.hpp"
#include "game/text/translate.hpp"

int ColumnFor(const char* japanese, int column, int centre) {
  const char* shown = Tr(japanese);
  if (shown == japanese) return column;
  return centre - text::ColumnWidth(shown) / 2;
}
