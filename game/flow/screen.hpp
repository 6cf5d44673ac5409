// The game's screens, and the loop that hands over from one to the next.
#pragma once

// Each screen runs until the player decides and then names the screen that comes next.
// Screens never call the next one themselves, so a session of any length keeps a flat stack.
enum class Screen {
  Title,
  NameEntry,
  Creation,
  Manual,
  NewRun,
  RoundIntro,
  Battle,
  Victory,
  Ending,
  Quit,  // the session is over (no more input can come)
};

// Runs one screen and returns the one it hands over to.
Screen ShowScreen(Screen screen);

// Runs screens from `first` until the next one would be `until`, or the session ends;
// returns the screen it stopped before.
Screen RunScreens(Screen first, Screen until = Screen::Quit);

// Program entry: prepares the screen and the random source, then runs the game from the
// title screen until the session ends.
void RunGame();
