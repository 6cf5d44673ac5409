// The start of a run and the face-to-face introduction of every round.
#include "game/flow/round_intro.hpp"

#include "console/game_console.hpp"
#include "console/text_width.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/run_state.hpp"
#include "game/model/stat_labels.hpp"
#include "game/pages/big_number.hpp"
#include "game/text/translate.hpp"

namespace {

// How a round is announced: its music, the colour of the two sweeping bars and its caption.
struct RoundLook {
  const char* music;
  int barColor;
  int captionColor;
};

RoundLook LookOfRound(int round) {
  if (round <= 3) return {"buttle1.mid", 7, 2};
  if (round <= 5) return {"buttle2.mid", 6, 6};
  if (round == 6) return {"buttle3.mid", 12, 12};
  return {"buttle4.mid", 4, 4};
}

void PrintCaption(int round) {
  if (round <= 5)
    console.print(Tr("Round %d"), round);
  else if (round == 6)
    console.print("%s", Tr("Final Round"));
  else
    console.print("%s", Tr("Extra Round"));
}

// Row 11 fills from the left while row 15 fills from the right, one cell each per 10 ms.
void SweepBars(int barColor) {
  console.set_color(15, barColor);
  for (int i = 1; i <= 80; ++i) {
    console.locate(i, 11);
    console.print(" ");
    console.locate(81 - i, 15);
    console.print(" ");
    console.wait(10);
  }
}

// A name centred on `centre` by its width (its byte count in the game's double-byte text).
void PrintCentredName(const char* name, int centre, int row, int color) {
  console.set_color(color, 15);
  console.locate(centre - text::ColumnWidth(name) / 2, row);
  console.print("%s", name);
}

// Six labelled abilities in two rows of three: labels 23 columns apart, the first at
// (column, row); each big number 4 columns right of its label and 2 rows below it.
void DrawAbilities(const int (&values)[6], int column, int row) {
  for (int i = 0; i < 6; ++i) {
    console.set_color(kStatLabels[i].color, 15);
    console.locate(column + 23 * (i % 3), row + 4 * (i / 3));
    console.print("%s", Tr(kStatLabels[i].text));
  }
  for (int i = 0; i < 6; ++i) {
    console.set_color(kStatLabels[i].color, 15);
    DrawBigNumber(values[i], column + 4 + 23 * (i % 3), row + 2 + 4 * (i / 3));
  }
  console.set_color(0, 15);
}

}  // namespace

Screen StartNewRun() {
  runState.round = 1;
  runState.opponentIndex = 0;
  runState.turnCount = 0;
  ResetRoster();
  return Screen::RoundIntro;
}

Screen RoundIntro() {
  const int round = runState.round;
  const RoundLook look = LookOfRound(round);
  ChangeMusic(look.music, true);

  console.clear(0, 15);
  SweepBars(look.barColor);

  console.set_color(6, 15);
  console.locate(39, 13);
  console.print("VS");
  const Opponent opponent = CurrentOpponent();
  PrintCentredName(player.name, 30, 14, 9);
  PrintCentredName(opponent.name, 52, 12, 12);
  console.set_color(look.captionColor, 15);
  console.locate(2, 14);
  PrintCaption(round);

  DrawAbilities({player.hp, player.mp, player.magic, player.attack, player.defence, player.agility}, 2, 17);
  DrawAbilities({opponent.hp, opponent.mp, opponent.magic, opponent.attack, opponent.defence, opponent.agility}, 12, 2);

  console.wait(3000);
  console.set_color(0, 15);
  return Screen::Battle;
}
