// The message scripts of one exchange: strikes, magic, counters, and the defeat check after
// every damage line.
#pragma once

#include "game/battle/combatant.hpp"

// x strikes y with Attack or StrongAttack and a hit roll (y did not counter).
BattleOutcome StrikeWithHitRoll(Combatant& x, Combatant& y);
// x casts on y (y did not counter).
BattleOutcome CastMagic(Combatant& x, Combatant& y);
// x's Attack meets y's Counter, which succeeds on 35 of 101 draws.
BattleOutcome AttackIntoCounter(Combatant& x, Combatant& y);
// x's StrongAttack breaks y's Counter for certain.
BattleOutcome StrongAttackIntoCounter(Combatant& x, Combatant& y);
// x's Magic is seen through by y's Counter for certain; x still pays for it.
BattleOutcome MagicIntoCounter(Combatant& x, Combatant& y);
// Both chose Counter: they only look at each other.
void FaceEachOther();
