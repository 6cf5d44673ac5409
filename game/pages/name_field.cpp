// The key rules of a typed name field.
#include "game/pages/name_field.hpp"

#include "console/game_console.hpp"

namespace {

bool IsNameCharacter(int b) {
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == ' ' || b == '_';
}

void Redraw(int column, int row, const std::string& text) {
  console.locate(column, row);
  console.print("%16s", "");
  console.locate(column, row);
  console.print("%s", text.c_str());
}

}  // namespace

std::optional<std::string> TypeName(int column, int row) {
  std::string text;
  console.locate(column, row);
  while (console.running()) {
    console.wait_for_key();
    if (!console.key_waiting()) continue;
    const int b = console.read_key();
    if (b == 0 || b == kExtendedKeyPrefix) {
      console.read_key();  // the key's second byte; keys typed with it in one go still count
    } else if (b == 8) {
      if (!text.empty()) text.pop_back();
    } else if (IsNameCharacter(b)) {
      if (text.size() < kNameMaxBytes) text += static_cast<char>(b);
    }
    Redraw(column, row, text);
    if (b == 13) return text;
  }
  return std::nullopt;
}
