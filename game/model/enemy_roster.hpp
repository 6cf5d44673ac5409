// The arena's opponents: the template roster, the working copy that battles damage, and its reset.
#pragma once

inline constexpr int kRosterSlots = 8;

struct EnemyRoster {
  const char* names[kRosterSlots];
  int maxHp[kRosterSlots];
  int hp[kRosterSlots];
  int maxMp[kRosterSlots];
  int mp[kRosterSlots];
  int attack[kRosterSlots];
  int defence[kRosterSlots];
  int agility[kRosterSlots];
  int magic[kRosterSlots];
};

extern const EnemyRoster initialRoster;
extern EnemyRoster roster;

// One slot of the working roster, its fields by reference.
struct Opponent {
  const char* name;
  int& maxHp;
  int& hp;
  int& maxMp;
  int& mp;
  int& attack;
  int& defence;
  int& agility;
  int& magic;
};
Opponent RosterSlot(int slot);
// The opponent of the round being fought: slot opponentIndex.
Opponent CurrentOpponent();

// Starts a run's roster: the template again, each slot bumped by random multiples of 5.
void ResetRoster();
