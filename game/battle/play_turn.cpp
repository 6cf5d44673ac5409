// The turn: header, the two phases in agility order, and what a Counter gives back.
#include "game/battle/play_turn.hpp"

#include <algorithm>

#include "console/game_console.hpp"
#include "game/battle/battle_text.hpp"
#include "game/battle/enemy_command.hpp"
#include "game/ui/message_area.hpp"
#include "game/battle/status_bars.hpp"
#include "game/battle/strike_scripts.hpp"
#include "game/model/game_random.hpp"
#include "game/text/translate.hpp"

namespace {

constexpr int kPhaseEndMs = 1000;
constexpr int kRecoveryColor = 2;
constexpr int kRecoveryNameColor = 9;

constexpr const char* kCommandNames[] = {Translatable("通常攻撃"), Translatable("強攻撃"), Translatable("カウンター"),
                                         Translatable("魔法攻撃")};

void ShowCommands() {
  console.set_color(0, 15);
  console.locate(20, 13);
  console.print("%s", Tr(kCommandNames[playerCommand]));
  console.locate(55, 5);
  console.print("%s", kCommandPlaceBlank);
  console.locate(55, 5);
  console.print("%s", Tr(kCommandNames[enemyCommand]));
  console.set_color(0, 15);
}

BattleOutcome RunPlayerScript(Combatant& p, Combatant& e) {
  switch (p.command) {
    case Attack:
      return e.command == Counter ? AttackIntoCounter(p, e) : StrikeWithHitRoll(p, e);
    case StrongAttack:
      return e.command == Counter ? StrongAttackIntoCounter(p, e) : StrikeWithHitRoll(p, e);
    case Magic:
      return e.command == Counter ? MagicIntoCounter(p, e) : CastMagic(p, e);
    case Counter:
      break;
  }
  switch (e.command) {
    case Attack:
      return AttackIntoCounter(e, p);
    case StrongAttack:
      return StrongAttackIntoCounter(e, p);
    case Magic:
      return MagicIntoCounter(e, p);
    case Counter:
      break;
  }
  FaceEachOther();
  return BattleOutcome::Continues;
}

// One side's recovery line and gains. The HP gain is (draw % hpFactors + 1) * hpUnit plus
// draw % 16, the MP gain (draw % 4 + 1) * (max MP / 20) plus draw % 16, drawn in that order.
// The line shows the gains as drawn, also when the maximum cuts them.
void Recover(Combatant& c, int line, int hpFactors, int hpUnit) {
  int hpGain = (gameRandom.next() % hpFactors + 1) * hpUnit;
  hpGain += gameRandom.next() % 16;
  int mpGain = (gameRandom.next() % 4 + 1) * (c.maxMp / 20);
  mpGain += gameRandom.next() % 16;
  c.hp = std::min(c.hp + hpGain, c.maxHp);
  c.mp = std::min(c.mp + mpGain, c.maxMp);
  StartLine(line);
  PrintIn(kRecoveryNameColor, c.name);
  PrintPlain(Tr("はＨＰを"));
  PrintNumberIn(kRecoveryColor, "%d", hpGain);
  PrintPlain(Tr("、ＭＰを"));
  PrintNumberIn(kRecoveryColor, "%d", mpGain);
  PrintPlain(Tr("回復した。"));
  UpdateStatusBars();
  console.wait(kPhaseEndMs);
}

}  // namespace

BattleOutcome ResolvePlayerPhase(Combatant& playerSide, Combatant& opponentSide) {
  ClearMessageArea();
  const BattleOutcome outcome = RunPlayerScript(playerSide, opponentSide);
  if (outcome != BattleOutcome::Continues) return outcome;
  console.wait(kPhaseEndMs);
  ClearMessageArea();
  return BattleOutcome::Continues;
}

BattleOutcome ResolveEnemyPhase(Combatant& playerSide, Combatant& opponentSide) {
  ClearMessageArea();
  if (playerSide.command != Counter && opponentSide.command != Counter) {
    const BattleOutcome outcome = opponentSide.command == Magic ? CastMagic(opponentSide, playerSide)
                                                                : StrikeWithHitRoll(opponentSide, playerSide);
    if (outcome != BattleOutcome::Continues) return outcome;
    console.wait(kPhaseEndMs);
  }
  ClearMessageArea();
  return BattleOutcome::Continues;
}

void ApplyCounterRecovery(Combatant& playerSide, Combatant& opponentSide) {
  if (playerSide.command == Counter) Recover(playerSide, 19, 3, playerSide.maxHp / 20);
  if (opponentSide.command == Counter)
    Recover(opponentSide, playerSide.command == Counter ? 20 : 19, 4, opponentSide.hp / 20);
}

BattleOutcome PlayTurn() {
  ++runState.turnCount;
  ChooseEnemyCommand();
  ClearMessageArea();
  ShowCommands();
  Combatant playerSide = PlayerSide();
  Combatant opponentSide = OpponentSide();
  // The player acts first only when strictly faster.
  auto first = ResolveEnemyPhase;
  auto second = ResolvePlayerPhase;
  if (playerSide.agility > opponentSide.agility) std::swap(first, second);
  for (auto phase : {first, second}) {
    const BattleOutcome outcome = phase(playerSide, opponentSide);
    if (outcome != BattleOutcome::Continues) return outcome;
  }
  SetShownValuesToCurrent();
  ApplyCounterRecovery(playerSide, opponentSide);
  ClearMessageArea();
  SetShownValuesToCurrent();
  return BattleOutcome::Continues;
}
