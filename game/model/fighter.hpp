// The player's fighter.
#pragma once

struct Fighter {
  char name[20] = {};  // up to 16 characters; empty means that no fighter exists
  int maxHp = 0;
  int hp = 0;
  int maxMp = 0;
  int mp = 0;
  int attack = 0;
  int defence = 0;
  int agility = 0;
  int magic = 0;

  bool exists() const { return name[0] != '\0'; }
  void erase() { name[0] = '\0'; }
};

extern Fighter player;

// Every addition to an ability stops at 999.
inline void AddClamped(int& field, int amount) {
  field += amount;
  if (field > 999) field = 999;
}
