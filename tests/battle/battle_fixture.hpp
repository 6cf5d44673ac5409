// A game session with a known fighter facing the first opponent, and a log of the message area.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/game_session.hpp"

// One message line as it first appeared.
struct MessageLine {
  int row;
  std::string text;  // Styled, from column 20
  bool operator==(const MessageLine&) const = default;
};
std::ostream& operator<<(std::ostream& out, const MessageLine& line);

class BattleFixture : public GameSession {
 protected:
  BattleFixture();

  // A row of the screen with its foreground colours: "{9}HERO{0}の攻撃！". Trailing blanks
  // are left out; a cell whose background is not white shows as '#'.
  static std::string Styled(int column, int row, int columns);

  // Looks at the message area every `every_ms` of game time from now until `until` and
  // records every line that appears, in order, with the game time it was first seen at.
  void WatchMessages(std::uint32_t until, std::uint32_t every_ms = 5);
  std::vector<MessageLine> lines;
  std::vector<std::uint32_t> lineTimes;

  // A seed whose first draw makes the first opponent choose `command` and whose next eight
  // draws let every strike land (draw % 100 <= 75); of these, the third (a Counter's roll
  // after an Attack's damage) lets the Counter succeed or fail as asked.
  static std::uint32_t SeedFor(BattleCommand command, bool counterSucceeds = false);
  // The first seed whose draws, from the first on, `draws` accepts; it takes them by next().
  static std::uint32_t SeedWhere(const std::function<bool(GameRandom&)>& draws);
  // A seed whose first draw makes the first opponent choose `command` (a Magic that fells the
  // player) and whose second, the defeat screen's, lets the player rise or not.
  static std::uint32_t SeedForFall(BattleCommand command, bool rises);

  // How many cells of the bar at (column, row) are painted in `color`, from its first cell.
  static int BarCells(int column, int row, int color);

 private:
  std::string lastSeen_[5];
};
