// The battle screen of a round: panels, bottom frame, bars, the "FIGHT!" opening, then the menu.
#include "game/battle/battle_screen.hpp"

#include "console/game_console.hpp"
#include "game/battle/command_menu.hpp"
#include "game/battle/status_bars.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

namespace {

constexpr int kOpeningRow = 10;
constexpr int kOpeningStepMs = 10;

void SetShownValuesToMaximum() {
  const Opponent opponent = CurrentOpponent();
  shownPlayerHp = player.maxHp;
  shownPlayerMp = player.maxMp;
  shownEnemyHp = opponent.maxHp;
  shownEnemyMp = opponent.maxMp;
}

// Grey cells: rows 18 and 24 across, and two columns at each side of the menu and the edges.
void DrawBottomFrame() {
  console.set_color(15, 7);
  for (int row : {18, 24}) {
    console.locate(1, row);
    console.print("%80c", ' ');
  }
  for (int row = 19; row <= 24; ++row) {
    for (int column : {1, 2, 17, 18, 79, 80}) {
      console.locate(column, row);
      console.print("%c", ' ');
    }
  }
}

void DrawKeyHelp() {
  console.set_color(0, 15);
  console.locate(51, 25);
  console.print("%s", Tr("[ENTER]…決定  [↑][↓]…選択"));
}

// One step of the opening: each copy of "FIGHT!" drawn at its column, then a blank at the
// column it leaves behind.
void MoveFight(int first, int firstTrail, int second, int secondTrail) {
  console.locate(first, kOpeningRow);
  console.print("FIGHT!");
  console.locate(firstTrail, kOpeningRow);
  console.print(" ");
  console.locate(second, kOpeningRow);
  console.print("FIGHT!");
  console.locate(secondTrail, kOpeningRow);
  console.print(" ");
  console.wait(kOpeningStepMs);
}

// Two copies slide in from the sides, meet in red with a flash, and part again. In the last
// step the left copy is addressed at column 0, off the screen: that locate is refused and the
// copy lands where the cursor stands.
void PlayFightOpening() {
  console.set_color(0, 15);
  for (int k = 0; k <= 30; ++k) MoveFight(7 + k, 6 + k, 67 - k, 73 - k);
  console.set_color(12, 15);
  console.locate(37, kOpeningRow);
  console.print("FIGHT!");
  PlayEffect("flush.wav");
  console.wait(1000);
  for (int k = 0; k <= 36; ++k) MoveFight(38 + k, 37 + k, 36 - k, 42 - k);
  for (int column : {1, 74}) {
    console.locate(column, kOpeningRow);
    console.print("      ");
  }
}

}  // namespace

Screen BattleScreen() {
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  SetShownValuesToMaximum();
  DrawOpponentPanel();
  DrawBottomFrame();
  DrawKeyHelp();
  DrawPlayerPanel();
  FillStatusBars();
  console.wait(500);
  if (runState.round < 8) PlayFightOpening();
  return CommandMenu();
}
