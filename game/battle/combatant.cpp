// The player and the current opponent as the two sides of a turn.
#include "game/battle/combatant.hpp"

#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"

Combatant PlayerSide() {
  return {player.name,    9,           true,         playerCommand, player.hp,
          player.maxHp,   player.mp,   player.maxMp, player.attack, player.defence,
          player.agility, player.magic};
}

Combatant OpponentSide() {
  const Opponent o = CurrentOpponent();
  return {o.name, 5, false, enemyCommand, o.hp, o.maxHp, o.mp, o.maxMp, o.attack, o.defence, o.agility, o.magic};
}
