// The opponent's command table and its pick.
#include "game/battle/enemy_command.hpp"

#include "game/battle/combatant.hpp"
#include "game/model/game_random.hpp"

// clang-format off
const BattleCommand EnemyCommandTable[7][10] = {
  {Attack, Attack, StrongAttack, StrongAttack, StrongAttack, Counter, Counter, Counter, Magic, Magic},
  {Attack, Attack, StrongAttack, StrongAttack, StrongAttack, Counter, Counter, Magic, Magic, Magic},
  {Attack, Attack, Attack, StrongAttack, StrongAttack, StrongAttack, Counter, Magic, Magic, Magic},
  {Attack, Attack, StrongAttack, StrongAttack, StrongAttack, Counter, Counter, Magic, Magic, Magic},
  {Attack, Attack, StrongAttack, StrongAttack, StrongAttack, StrongAttack, Counter, Counter, Counter, Magic},
  {Attack, StrongAttack, Counter, Counter, Counter, Counter, Magic, Magic, Magic, Magic},
  {Attack, StrongAttack, StrongAttack, StrongAttack, Counter, Counter, Counter, Magic, Magic, Magic},
};
// clang-format on

void ChooseEnemyCommand() {
  const int draw = gameRandom.next();
  BattleCommand command = EnemyCommandTable[runState.opponentIndex][draw % 10];
  if (command == Magic && CurrentOpponent().mp < kMagicCost) command = Counter;
  enemyCommand = command;
}
