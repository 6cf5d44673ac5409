// The opponent's pick of a command for the turn: its own row of a fixed table and one draw.
#pragma once

#include "game/model/enemy_roster.hpp"
#include "game/model/run_state.hpp"

// One row of ten commands per opponent slot that is fought (0..6).
extern const BattleCommand EnemyCommandTable[7][10];

// Stores the opponent's command in enemyCommand: entry (draw % 10) of its row, where a Magic
// it cannot pay (below 150 MP) becomes a Counter.
void ChooseEnemyCommand();
