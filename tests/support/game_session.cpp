// A test fixture that runs the real game on the headless back end.
#include "tests/support/game_session.hpp"

#include "game/model/run_state.hpp"
#include "game/text/translate.hpp"

GameSession::GameSession() : sound([this] { return keys.now_ms(); }) {
  ResetGameState();
  UseLanguage(kSourceLanguage);  // whatever the developer's locale says
  gameRandom.seed(1);
  console.attach(&keys);
  console.attach_sound(&sound);
}

GameSession::~GameSession() {
  console.attach_sound(nullptr);
  console.attach(nullptr);
}

void GameSession::TearDown() {
  EXPECT_EQ(keys.checks_ahead(), 0u) << "timed checks never ran: the game was over before them";
}
