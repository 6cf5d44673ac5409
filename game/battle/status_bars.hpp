// The HP and MP bars of both status panels, and the values they were last drawn for.
#pragma once

extern int shownPlayerHp;
extern int shownPlayerMp;
extern int shownEnemyHp;
extern int shownEnemyMp;

// Sets the four shown values to the current HP and MP of the player and the opponent.
void SetShownValuesToCurrent();

// Animates every bar whose value differs from its shown value and reprints the figures.
void UpdateStatusBars();
