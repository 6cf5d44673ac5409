// The battle tests' session, screen reading and message log.
#include "tests/battle/battle_fixture.hpp"

#include <algorithm>

#include "console/text_width.hpp"
#include "game/battle/enemy_command.hpp"
#include "tests/support/scripted_run.hpp"

BattleFixture::BattleFixture() {
  PrepareFighter({"HERO", 400, 300, 300, 150, 100, 200, 1});
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
}

std::string BattleFixture::Styled(int column, int row, int columns) {
  std::string out;
  int color = 0;
  for (int c = column; c < column + columns; ++c) {
    const Cell& cell = console.screen().at(c, row);
    if (cell.width == 0) continue;
    if (cell.bg == 15 && (cell.ch == U' ' || cell.ch == U'\u3000')) {
      out += ' ';  // a blank keeps no colour
      continue;
    }
    if (cell.fg != color) {
      color = cell.fg;
      out += "{" + std::to_string(color) + "}";
    }
    if (cell.bg != 15) out += '#';
    if (cell.bg == 15) text::AppendUtf8(cell.ch, out);
  }
  return out.erase(out.find_last_not_of(' ') + 1);
}

void BattleFixture::WatchMessages(std::uint32_t until, std::uint32_t every_ms) {
  for (std::string& last : lastSeen_) last.clear();
  for (std::uint32_t t = console.now() + 1; t <= until; t += every_ms) {
    keys.at(t, [this] {
      for (int row = 19; row <= 23; ++row) {
        std::string text = Styled(20, row, 59);
        if (!text.empty() && text != lastSeen_[row - 19]) {
          lines.emplace_back(row, text);
          lineTimes.push_back(console.now());
        }
        lastSeen_[row - 19] = std::move(text);
      }
    });
  }
}

std::uint32_t BattleFixture::SeedFor(BattleCommand command, bool counterSucceeds) {
  return SeedWhere([&](GameRandom& probe) {
    if (EnemyCommandTable[0][probe.next() % 10] != command) return false;
    int draws[8];
    for (int& d : draws) d = probe.next();
    return draws[0] % 100 > 90 && draws[1] % 100 > 70 &&
           draws[1] % 101 == (counterSucceeds ? 66 : 65) &&
           std::ranges::all_of(draws + 1, draws + 8, [](int d) { return d % 100 <= 75; });
  });
}

int BattleFixture::BarCells(int column, int row, int color) {
  int cells = 0;
  while (cells < 21 && Colors(column + cells, row) == std::pair{color, color}) ++cells;
  return cells;
}
