// A test fixture that runs the real game on the headless back end.
#include "tests/support/game_session.hpp"

#include <utility>

#include "console/text_width.hpp"
#include "game/model/game_random.hpp"
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

::testing::AssertionResult GameSession::Shows(int column, int row, const std::string& expected,
                                              int fg, int bg) {
  const ScreenGrid& screen = console.screen();
  const int columns = text::ColumnWidth(expected);
  const std::string shown = screen.text(column, row, columns);
  auto failure = ::testing::AssertionFailure() << "(" << column << ", " << row << ") reads \""
                                               << shown << "\"";
  if (shown != expected) return failure;
  for (int c = column; c < column + columns; ++c) {
    const int cellFg = screen.at(c, row).fg, cellBg = screen.at(c, row).bg;
    if (cellFg != fg || cellBg != bg)
      return failure << ", (" << c << ", " << row << ") is in (" << cellFg << ", " << cellBg << ")";
  }
  return ::testing::AssertionSuccess();
}

void GameSession::At(std::uint32_t time, std::function<void()> check) {
  ++pendingChecks_;
  keys.at(time, [this, check = std::move(check)] {
    --pendingChecks_;
    check();
  });
}

void GameSession::TearDown() {
  EXPECT_EQ(pendingChecks_, 0) << "timed checks that never ran: the game was over before them";
}
