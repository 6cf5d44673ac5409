// The two status panels of the battle screen: names, figures, abilities, the animated bars.
#pragma once

extern int shownPlayerHp;
extern int shownPlayerMp;
extern int shownEnemyHp;
extern int shownEnemyMp;

// Sets the four shown values to the current HP and MP of the player and the opponent.
void SetShownValuesToCurrent();

// Animates every bar whose value differs from its shown value and reprints the figures.
void UpdateStatusBars();

// The name, HP and MP figures and abilities of each panel, as the battle screen opens.
void DrawOpponentPanel();
void DrawPlayerPanel();

// Draws the four bars from empty, cell by cell: opponent HP and MP, then player HP and MP.
void FillStatusBars();
