// A game session with a known fighter facing the first opponent, and a log of the message area.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/game_session.hpp"

// One message line as it first appeared: its row and its styled text from column 20.
using MessageLine = std::pair<int, std::string>;

class BattleFixture : public GameSession {
 protected:
  BattleFixture();

  // A row of the screen with its foreground colours: "{9}HERO{0}の攻撃！". Trailing blanks
  // are left out; a cell whose background is not white shows as '#'.
  static std::string Styled(int column, int row, int columns);

  // Looks at the message area every `every_ms` of game time from now until `until` and
  // records every line that appears, in order, with the game time it was first seen at.
  void WatchMessages(std::uint32_t until, std::uint32_t every_ms = 10);
  std::vector<MessageLine> lines;
  std::vector<std::uint32_t> lineTimes;

  // A seed whose first draw makes the first opponent choose `command` and whose next eight
  // let every strike land (draw % 100 <= 75) with the rolls at their edges: the first, a
  // damage roll, would miss as a hit roll; the second, a hit roll, lands only by the
  // StrongAttack's chance of 75 and, as a Counter's roll, is the last (65) of 101 on which
  // the Counter fails or the first (66) on which it succeeds, as asked.
  static std::uint32_t SeedFor(BattleCommand command, bool counterSucceeds = false);

  // How many cells of the bar at (column, row) are painted in `color`, from its first cell.
  static int BarCells(int column, int row, int color);

 private:
  std::string lastSeen_[5];
};
