// A won round: the defeated opponent, random growth, partial recovery and the way on.
#include "game/flow/victory_screen.hpp"

#include "console/game_console.hpp"
#include "game/ui/message_area.hpp"
#include "game/battle/status_bars.hpp"
#include "game/ui/enter_prompt.hpp"
#include "game/flow/name_boost.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/flow/stat_gains.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

namespace {

// 5, 10, ... or 50.
int GrowthDraw() { return (gameRandom.next() % 10) * 5 + 5; }

// Draws the six growth values (max HP, max MP, magic, attack, defence, agility), shows them
// and adds them to the fighter.
void Grow() {
  Abilities growth;
  growth.hp = GrowthDraw();
  growth.mp = GrowthDraw();
  growth.magic = GrowthDraw();
  growth.attack = GrowthDraw();
  growth.defence = GrowthDraw();
  growth.agility = GrowthDraw();
  ShowStatGains(growth, 21, 22);
  AddClamped(player.maxHp, growth.hp);
  AddClamped(player.maxMp, growth.mp);
  AddClamped(player.magic, growth.magic);
  AddClamped(player.attack, growth.attack);
  AddClamped(player.defence, growth.defence);
  AddClamped(player.agility, growth.agility);
}

// Restores 2, 3 or 4 twentieths of the maximum plus 0..15, up to the maximum, and prints the
// amount drawn (not what the maximum let through) in green.
void Recover(int& value, int maximum) {
  const int twentieths = gameRandom.next() % 3 + 2;
  const int amount = twentieths * (maximum / 20) + gameRandom.next() % 16;
  value += amount;
  if (value >= maximum) value = maximum;
  console.set_color(2, 15);
  console.print("%d", amount);
  console.set_color(0, 15);
}

void RecoverHpAndMp() {
  console.locate(20, 19);
  console.set_color(0, 15);
  console.print("%s", Tr("ＨＰを"));
  Recover(player.hp, player.maxHp);
  console.print("%s", Tr("、ＭＰを"));
  Recover(player.mp, player.maxMp);
  console.print("%s", Tr("回復した。"));
}

}  // namespace

Screen VictoryScreen() {
  runState.round += 1;
  SetShownValuesToCurrent();
  console.wait(1300);
  ClearMessageArea();
  if (runState.round >= 7) return Screen::Ending;

  console.locate(20, 19);
  console.set_color(9, 15);
  ChangeMusic("syori.mid", false);
  console.print(Tr("%sを撃破した！"), CurrentOpponent().name);
  console.wait(1500);

  Grow();
  console.wait(3000);
  ClearMessageArea();
  RecoverHpAndMp();
  UpdateStatusBars();
  console.wait(500);

  runState.opponentIndex += 1;
  if (runState.round == 4 && !NameBoost()) return Screen::Quit;
  if (!AwaitEnter(43, 23, Tr("Press [ENTER KEY] and Next Round..."))) return Screen::Quit;
  return Screen::RoundIntro;
}
