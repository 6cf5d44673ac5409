// The message area of the battle screen.
#include "game/ui/message_area.hpp"

#include "console/game_console.hpp"

void ClearMessageArea() {
  for (int row = 19; row <= 23; ++row) {
    console.locate(19, row);
    console.set_color(15, 15);
    console.print("%60c", ' ');
  }
  console.set_color(0, 15);
}
