// The "ステータス成長" list that shows what a victory or the name boost added to the fighter.
#pragma once

#include "game/model/name_digits.hpp"

// Prints the caption at (20, captionRow) in blue, then the six gains in their stat colours,
// three to a row from `firstRow`, at columns 20, 35 and 50. Leaves black on white.
void ShowStatGains(const Abilities& gains, int captionRow, int firstRow);
