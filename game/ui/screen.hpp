// The game's screens, by name: each screen hands over by naming the next one.
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
