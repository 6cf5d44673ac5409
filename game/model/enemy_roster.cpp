// The arena's opponents and the random bumps that every run gives them.
#include "game/model/enemy_roster.hpp"

#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

// clang-format off
const EnemyRoster initialRoster = {
  {Translatable("自称勇者ぽこぺ"), Translatable("プレジデントガード"), Translatable("工事現場の大棟梁"),
   Translatable("シハン"), Translatable("きんにく"), Translatable("ザム"), Translatable("伝説の勇者ぽこぺ"), ""},
  /* maxHp   */ {360, 250, 450, 550, 999, 650, 750, 0},
  /* hp      */ {360, 250, 450, 550, 999, 650, 750, 0},
  /* maxMp   */ {300, 475, 350, 500, 320, 500, 750, 0},
  /* mp      */ {300, 475, 350, 500, 320, 500, 750, 0},
  /* attack  */ {280, 180, 380, 530, 440, 650, 700, 0},
  /* defence */ {200, 900, 230,   5, 220, 400, 600, 0},
  /* agility */ { 50, 135, 260, 450,   5, 350, 450, 0},
  /* magic   */ {280, 280, 430, 530, 300, 450, 600, 0},
};
// clang-format on

EnemyRoster roster = initialRoster;

Opponent RosterSlot(int slot) {
  return {Tr(roster.names[slot]), roster.maxHp[slot],   roster.hp[slot],      roster.maxMp[slot], roster.mp[slot],
          roster.attack[slot],    roster.defence[slot], roster.agility[slot], roster.magic[slot]};
}

Opponent CurrentOpponent() { return RosterSlot(runState.opponentIndex); }

void ResetRoster() {
  roster = initialRoster;
  for (int k = 0; k < kRosterSlots; ++k) {
    const int limit = 7 * (k + 1);
    auto bump = [limit] { return (gameRandom.next() % limit) * 5; };
    AddClamped(roster.maxHp[k], bump());
    roster.hp[k] = roster.maxHp[k];
    AddClamped(roster.maxMp[k], bump());
    roster.mp[k] = roster.maxMp[k];
    AddClamped(roster.magic[k], bump());
    AddClamped(roster.attack[k], bump());
    AddClamped(roster.agility[k], bump());
    AddClamped(roster.defence[k], bump());
  }
}
