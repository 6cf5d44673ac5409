// The prompt that waits for Enter before the game moves on.
#include "game/ui/enter_prompt.hpp"

#include "console/game_console.hpp"
#include "game/ui/sound_cues.hpp"

bool AwaitEnter(int x, int y, const char* prompt) {
  while (console.running()) {
    if (console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      return true;
    }
    console.locate(x, y);
    console.set_color(8, 15);
    console.print("%s", prompt);
    console.wait(20);
  }
  return false;
}
