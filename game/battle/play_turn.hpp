// One turn of a battle: the opponent's pick, both phases in agility order, counter recovery.
#pragma once

#include "game/battle/combatant.hpp"

// Plays the turn for the stored playerCommand. Returns Continues when both fighters still
// stand; Won or Lost as soon as a blow decides the battle, with nothing of the turn after it.
BattleOutcome PlayTurn();

// The player's command against the opponent's, every exchange with a Counter included.
BattleOutcome ResolvePlayerPhase(Combatant& playerSide, Combatant& opponentSide);
// The opponent's Attack, StrongAttack or Magic, when neither side chose Counter.
BattleOutcome ResolveEnemyPhase(Combatant& playerSide, Combatant& opponentSide);
// The HP and MP that each side that chose Counter regains.
void ApplyCounterRecovery(Combatant& playerSide, Combatant& opponentSide);
