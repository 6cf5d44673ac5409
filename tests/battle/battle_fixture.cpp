// The battle tests' session, screen reading and message log.
#include "tests/battle/battle_fixture.hpp"

#include <cstring>
#include <ostream>

#include "console/text_width.hpp"
#include "game/battle/enemy_command.hpp"
#include "game/model/game_random.hpp"

BattleFixture::BattleFixture() {
  std::strcpy(player.name, "HERO");
  player.maxHp = player.hp = 400;
  player.maxMp = player.mp = 300;
  player.attack = 300;
  player.defence = 150;
  player.agility = 100;
  player.magic = 200;
  runState = RunState{};
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
}

std::string BattleFixture::Styled(int column, int row, int columns) {
  std::string out;
  std::string pending;  // blanks not yet known to be inside the text
  int color = 0;
  for (int c = column; c < column + columns; ++c) {
    const Cell& cell = console.screen().at(c, row);
    if (cell.width == 0) continue;
    std::string ch;
    if (cell.bg != 15) {
      ch = "#";
    } else {
      text::AppendUtf8(cell.ch, ch);
    }
    if (cell.bg == 15 && (cell.ch == U' ' || cell.ch == U'\u3000')) {
      pending += ch;
      continue;
    }
    out += pending;
    pending.clear();
    if (cell.fg != color) {
      color = cell.fg;
      out += "{" + std::to_string(color) + "}";
    }
    out += ch;
  }
  return out;
}

void BattleFixture::WatchMessages(std::uint32_t until, std::uint32_t every_ms) {
  for (std::string& last : lastSeen_) last.clear();
  for (std::uint32_t t = console.now() + 1; t <= until; t += every_ms) {
    keys.at(t, [this] {
      for (int row = 19; row <= 23; ++row) {
        std::string text = Styled(20, row, 59);
        std::string& last = lastSeen_[row - 19];
        if (!text.empty() && text != last) {
          lines.push_back({row, text});
          lineTimes.push_back(console.now());
        }
        last = std::move(text);
      }
    });
  }
}

std::uint32_t BattleFixture::SeedFor(BattleCommand command, bool counterSucceeds) {
  return SeedWhere([&](GameRandom& probe) {
    if (EnemyCommandTable[0][probe.next() % 10] != command) return false;
    int draws[8];
    for (int& d : draws) d = probe.next();
    bool lands = true;
    for (int d : draws) lands = lands && d % 100 <= 75;
    return lands && (draws[1] % 101 >= 66) == counterSucceeds;
  });
}

std::uint32_t BattleFixture::SeedWhere(const std::function<bool(GameRandom&)>& draws) {
  for (std::uint32_t seed = 1;; ++seed) {
    GameRandom probe;
    probe.seed(seed);
    if (draws(probe)) return seed;
  }
}

std::uint32_t BattleFixture::SeedForFall(BattleCommand command, bool rises) {
  return SeedWhere([&](GameRandom& probe) {
    return EnemyCommandTable[0][probe.next() % 10] == command && (probe.next() % 3 == 0) == rises;
  });
}

int BattleFixture::BarCells(int column, int row, int color) {
  int cells = 0;
  while (cells < 21 && Colors(column + cells, row) == std::pair{color, color}) ++cells;
  return cells;
}

std::ostream& operator<<(std::ostream& out, const MessageLine& line) {
  return out << "{row " << line.row << ": " << line.text << "}";
}
