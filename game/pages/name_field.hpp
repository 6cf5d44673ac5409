// Typing a name into a field: the key rules shared by the name entry and the name boost.
#pragma once

#include <optional>
#include <string>

inline constexpr int kNameMaxBytes = 16;

// Reads typed keys into the field at (column, row) until Enter and returns the text, which
// may be empty. Letters, digits, space and underscore are taken while the field holds fewer
// than 16; Backspace removes the last; an arrow or function key (both its bytes) and every other
// key are dropped one by one, never together with the keys around them. After every key the
// field is redrawn in the current colours and the cursor stands after the text. Returns nothing when the session ends.
std::optional<std::string> TypeName(int column, int row);
