// The counters of the arena run, the commands of the current turn and the music that plays.
#pragma once

class MusicPlayer;

struct RunState {
  int round = 1;          // 1..5 numbered, 6 Final Round, 7 Extra Round, 8 after the Extra Round
  int opponentIndex = 0;  // roster slot of the current opponent
  int turnCount = 0;      // turns of the whole run
};

extern RunState runState;

enum BattleCommand : int { Attack = 0, StrongAttack = 1, Counter = 2, Magic = 3 };

extern BattleCommand playerCommand;
extern BattleCommand enemyCommand;

// The music player started last; null before any music.
extern MusicPlayer* currentMusic;

// Back to the state the program starts in: no fighter, a fresh run, the template roster,
// no music. (Tests start every session from here.)
void ResetGameState();
