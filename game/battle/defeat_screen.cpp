// A fallen fighter: one chance in three to rise again with a tenth of its HP, else game over.
#include "game/battle/defeat_screen.hpp"

#include "console/game_console.hpp"
#include "game/ui/message_area.hpp"
#include "game/battle/status_bars.hpp"
#include "game/ui/enter_prompt.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

namespace {

void PrintFallen() {
  console.locate(20, 19);
  console.set_color(12, 15);
  console.print(Tr("%sは力尽きた..."), player.name);
}

// The battle music starts again and the fighter gets up with a tenth of its maximum HP.
void Revive() {
  PrintFallen();
  console.wait(2000);
  console.set_color(0, 15);
  console.play_music(currentMusic, true);
  console.locate(20, 20);
  console.print("%s", Tr("が、渾身の力を振り絞り立ち上がった！"));
  player.hp = player.maxHp / 10;
  UpdateStatusBars();
  console.wait(1500);
}

// "ＧＡＭＥ ＯＶＥＲ" to its own music; Enter erases the fighter.
void GameOver() {
  currentMusic = console.load_music("gameover.mid");
  PrintFallen();
  console.wait(2000);
  console.locate(20, 19);
  console.set_color(15, 15);
  console.print("%50c", ' ');
  console.wait(10);
  console.locate(38, 21);
  console.set_color(12, 15);
  console.play_music(currentMusic, false);
  console.print("%s", Tr("ＧＡＭＥ ＯＶＥＲ"));
  console.wait(1500);
  if (AwaitEnter(41, 23, Tr("Press [ENTER KEY] and Return Title..."))) player.erase();
}

}  // namespace

bool DefeatScreen() {
  SetShownValuesToCurrent();
  console.wait(1300);
  ClearMessageArea();
  const bool rises = gameRandom.next() % 3 == 0;
  console.stop_music(currentMusic);
  if (rises) {
    Revive();
    return true;
  }
  GameOver();
  return false;
}
