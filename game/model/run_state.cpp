// The process-wide game state and its start values.
#include "game/model/run_state.hpp"

#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"

Fighter player;
RunState runState;
BattleCommand playerCommand = Attack;
BattleCommand enemyCommand = Attack;
MusicPlayer* currentMusic = nullptr;

void ResetGameState() {
  player = Fighter{};
  runState = RunState{};
  roster = initialRoster;
  playerCommand = Attack;
  enemyCommand = Attack;
  currentMusic = nullptr;
}
