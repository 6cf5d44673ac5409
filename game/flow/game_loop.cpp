// Program entry and the loop over screens.
#include <ctime>

#include "console/game_console.hpp"
#include "game/battle/battle_screen.hpp"
#include "game/flow/round_intro.hpp"
#include "game/flow/game_loop.hpp"
#include "game/flow/title_screen.hpp"
#include "game/flow/victory_screen.hpp"
#include "game/model/game_random.hpp"
#include "game/pages/creation_screen.hpp"
#include "game/pages/ending_screen.hpp"
#include "game/pages/manual_screen.hpp"
#include "game/pages/name_entry_screen.hpp"
#include "game/text/translate.hpp"

Screen ShowScreen(Screen screen) {
  // A language switched while the last screen showed takes over here, for a whole screen.
  ApplyRequestedLanguage();
  switch (screen) {
    case Screen::Title:
      return TitleScreen();
    case Screen::NameEntry:
      return NameEntryScreen();
    case Screen::Creation:
      return CreationScreen();
    case Screen::Manual:
      return ManualScreen();
    case Screen::NewRun:
      return StartNewRun();
    case Screen::RoundIntro:
      return RoundIntro();
    case Screen::Battle:
      return BattleScreen();
    case Screen::Victory:
      return VictoryScreen();
    case Screen::Ending:
      return EndingScreen();
    case Screen::Quit:
      break;
  }
  return Screen::Quit;
}

Screen RunScreens(Screen first, Screen until) {
  Screen screen = first;
  while (screen != until && screen != Screen::Quit && console.running()) screen = ShowScreen(screen);
  return screen;
}

void RunGame() {
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  console.set_cursor(0, 0);
  gameRandom.seed(static_cast<std::uint32_t>(std::time(nullptr)));
  RunScreens(Screen::Title);
}
