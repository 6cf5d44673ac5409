// The end of a won run: the plain ending, the true ending, or the "WARNING!" of the Extra Round.
#include "game/pages/ending_screen.hpp"

#include "console/game_console.hpp"
#include "game/ui/message_area.hpp"
#include "game/ui/enter_prompt.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

namespace {

// The most turns a run may take, all rounds together, to open the Extra Round and the true ending.
constexpr int kTurnLimit = 49;

void PrintAt(int column, int row, int fg, const char* text) {
  console.locate(column, row);
  console.set_color(fg, 15);
  console.print("%s", Tr(text));
}

// After Enter the fighter is erased and the title screen opens.
Screen ReturnToTitle(const char* prompt) {
  if (!AwaitEnter(43, 23, Tr(prompt))) return Screen::Quit;
  player.erase();
  return Screen::Title;
}

Screen PlainEnding() {
  ClearMessageArea();
  PrintAt(30, 21, 9, Translatable("Ｃｏｎｇｒａｔｕｌａｔｉｏｎ......？"));
  console.wait(1500);
  return ReturnToTitle(Translatable("Press [ENTER KEY] and Return Title."));
}

Screen TrueEnding() {
  ClearMessageArea();
  PrintAt(20, 19, 6, Translatable("Ｃｏｎｇｒａｔｕｌａｔｉｏｎ！"));
  console.wait(1000);
  PrintAt(20, 20, 0, Translatable("よくぞここまでやり込んでくれやがりました！"));
  console.wait(1000);
  PrintAt(20, 21, 0, Translatable("おめでとうございますです！"));
  console.wait(1000);
  return ReturnToTitle(Translatable("Press [ENTER KEY] and Return Title!"));
}

// Two "WARNING!" words on row 10, one starting at `left` and moving right, one ending left of
// `right` and moving left, a column every 10 ms; each erases the cell it leaves behind.
void SweepWarnings(int steps, int left, int right) {
  for (int s = 0; s < steps; ++s, ++left, --right) {
    console.locate(left, 10);
    console.print("WARNING!");
    console.locate(left - 1, 10);
    console.print(" ");
    console.locate(right - 8, 10);
    console.print("WARNING!");
    console.locate(right, 10);
    console.print(" ");
    console.wait(10);
  }
}

// A challenger interrupts the celebration and the hidden seventh opponent steps in.
Screen ExtraRoundTrigger() {
  console.locate(20, 22);
  console.stop_music(currentMusic);
  PlayEffect("flush.wav");
  console.set_color(12, 15);
  console.print("%s", Tr("？？？「ちょっと待ちな！！」"));
  console.wait(1500);
  PlayEffect("alarm.wav");
  runState.opponentIndex += 1;

  console.set_color(0, 15);
  SweepWarnings(31, 7, 75);
  PrintAt(37, 10, 12, "WARNING!");
  console.wait(1300);
  SweepWarnings(34, 38, 44);
  console.locate(1, 10);
  console.print("%12c", ' ');
  console.locate(70, 10);
  console.print("%10c", ' ');
  return Screen::RoundIntro;
}

}  // namespace

Screen EndingScreen() {
  console.locate(20, 19);
  console.set_color(9, 15);
  ChangeMusic("end.mid", false);
  console.print(Tr("%sを撃破した！"), CurrentOpponent().name);
  console.wait(1000);
  console.locate(20, 20);
  console.set_color(9, 15);
  console.print("%s", player.name);
  console.set_color(0, 15);
  console.print("%s", Tr("は闘技場を制覇した！！"));
  console.wait(2000);

  if (runState.turnCount > kTurnLimit) return PlainEnding();
  if (runState.round == 8) return TrueEnding();
  return ExtraRoundTrigger();
}
