// Placeholder until this screen is built.
#include "game/battle/status_bars.hpp"

int shownPlayerHp = 0;
int shownPlayerMp = 0;
int shownEnemyHp = 0;
int shownEnemyMp = 0;

void SetShownValuesToCurrent() {}
void UpdateStatusBars() {}
