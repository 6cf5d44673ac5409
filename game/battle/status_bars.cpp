// The status panels: figures, abilities, and the bars with their three length rules.
#include "game/battle/status_bars.hpp"

#include <algorithm>

#include "console/game_console.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/text/translate.hpp"

int shownPlayerHp = 0;
int shownPlayerMp = 0;
int shownEnemyHp = 0;
int shownEnemyMp = 0;

namespace {

// A bar has 20 cells; shrinking also blanks cell 20, the column right of the bar.
constexpr int kBarCells = 20;
constexpr int kCellMs = 15;
constexpr int kHpColor = 12;
constexpr int kMpColor = 5;

// Where a panel starts (its name); the figures, bars and abilities lie on the rows below.
struct Panel {
  int column;
  int row;
  int hpFiguresRow() const { return row + 1; }
  int hpBarRow() const { return row + 2; }
  int mpFiguresRow() const { return row + 3; }
  int mpBarRow() const { return row + 4; }
  int abilitiesRow() const { return row + 5; }
};
constexpr Panel kOpponentPanel{3, 2};
constexpr Panel kPlayerPanel{57, 11};

struct PanelValues {
  const char* name;
  int hp, maxHp, mp, maxMp, attack, defence, agility, magic;
};

PanelValues PlayerValues() {
  return {player.name,   player.hp,      player.maxHp,   player.mp,   player.maxMp,
          player.attack, player.defence, player.agility, player.magic};
}

PanelValues OpponentValues() {
  const Opponent o = CurrentOpponent();
  return {o.name, o.hp, o.maxHp, o.mp, o.maxMp, o.attack, o.defence, o.agility, o.magic};
}

void PrintHpFigures(const Panel& panel, int hp, int maxHp) {
  console.set_color(kHpColor, 15);
  console.locate(panel.column, panel.hpFiguresRow());
  console.print(Tr("ＨＰ %3d / %3d"), hp, maxHp);
}

void PrintMpFigures(const Panel& panel, int mp, int maxMp) {
  console.set_color(kMpColor, 15);
  console.locate(panel.column, panel.mpFiguresRow());
  console.print(Tr("ＭＰ %3d / %3d"), mp, maxMp);
}

void PrintAbility(int column, int row, const char* format, int value, int color) {
  console.set_color(color, 15);
  console.locate(column, row);
  console.print(Tr(format), value);
}

void DrawPanel(const Panel& panel, const PanelValues& v) {
  console.set_color(0, 15);
  console.locate(panel.column, panel.row);
  console.print("%s", v.name);
  PrintHpFigures(panel, v.hp, v.maxHp);
  PrintMpFigures(panel, v.mp, v.maxMp);
  const int row = panel.abilitiesRow();
  PrintAbility(panel.column, row, Translatable("攻%d"), v.attack, 12);
  PrintAbility(panel.column + 18, row, Translatable("魔%d"), v.magic, 6);
  PrintAbility(panel.column + 6, row, Translatable("防%d"), v.defence, 2);
  PrintAbility(panel.column + 12, row, Translatable("敏%d"), v.agility, 1);
}

// Prints cell i of the bar at (column, row): one blank in the current colours.
void PutCell(int column, int row, int i) {
  console.locate(column + i, row);
  console.print("%c", ' ');
}

// One step of a bar's animation: a cell, then the pause.
void AnimateCell(int column, int row, int i) {
  PutCell(column, row, i);
  console.wait(kCellMs);
}

// The real rule: the bar covers the cells i with value / step > i, where the step is
// max / 20 rounded to single precision.
double RealStep(int max) { return static_cast<float>(max / 20.0); }

// Never past cell 20, even for a value above its maximum.
void GrowRealBar(int column, int row, int color, int value, int max) {
  const double step = RealStep(max);
  console.set_color(color, color);
  for (int i = 0; i <= kBarCells && value / step > i; ++i) AnimateCell(column, row, i);
}

void UpdateHpBar(const Panel& panel, int hp, int shown, int maxHp) {
  const int column = panel.column;
  const int row = panel.hpBarRow();
  if (hp < shown) {
    const double step = RealStep(maxHp);
    console.set_color(15, 15);
    for (int i = kBarCells; hp / step < i; --i) AnimateCell(column, row, i);
    if (hp <= 0) PutCell(column, row, 0);
  } else if (hp > shown) {
    GrowRealBar(column, row, kHpColor, hp, maxHp);
  }
  PrintHpFigures(panel, hp, maxHp);
}

// The integer rule: mp / (maxMp / 20). A maximum below 20 counts one MP per cell instead of
// dividing by zero, and a bar never grows past its 20 cells.
int MpCells(int mp, int maxMp) { return std::min(mp / std::max(1, maxMp / 20), kBarCells); }

void UpdateMpBar(const Panel& panel, int mp, int shown, int maxMp) {
  const int column = panel.column;
  const int row = panel.mpBarRow();
  const int q = MpCells(mp, maxMp);
  console.set_color(15, 15);
  if (mp < shown) {
    for (int i = kBarCells; i > q; --i) AnimateCell(column, row, i);
    if (mp <= 0) PutCell(column, row, 0);
  } else if (mp > shown) {
    console.set_color(kMpColor, kMpColor);
    for (int i = 0; i < q; ++i) AnimateCell(column, row, i);
  }
  PrintMpFigures(panel, mp, maxMp);
}

}  // namespace

void SetShownValuesToCurrent() {
  const Opponent opponent = CurrentOpponent();
  shownPlayerHp = player.hp;
  shownPlayerMp = player.mp;
  shownEnemyHp = opponent.hp;
  shownEnemyMp = opponent.mp;
}

void UpdateStatusBars() {
  const Opponent opponent = CurrentOpponent();
  UpdateHpBar(kOpponentPanel, opponent.hp, shownEnemyHp, opponent.maxHp);
  UpdateHpBar(kPlayerPanel, player.hp, shownPlayerHp, player.maxHp);
  UpdateMpBar(kOpponentPanel, opponent.mp, shownEnemyMp, opponent.maxMp);
  UpdateMpBar(kPlayerPanel, player.mp, shownPlayerMp, player.maxMp);
  console.set_color(0, 15);
}

void DrawOpponentPanel() { DrawPanel(kOpponentPanel, OpponentValues()); }

void DrawPlayerPanel() { DrawPanel(kPlayerPanel, PlayerValues()); }

void FillStatusBars() {
  const PanelValues opponent = OpponentValues();
  const PanelValues fighter = PlayerValues();
  const Panel& o = kOpponentPanel;
  const Panel& p = kPlayerPanel;
  GrowRealBar(o.column, o.hpBarRow(), kHpColor, opponent.hp, opponent.maxHp);
  GrowRealBar(o.column, o.mpBarRow(), kMpColor, opponent.mp, opponent.maxMp);
  GrowRealBar(p.column, p.hpBarRow(), kHpColor, fighter.hp, fighter.maxHp);
  GrowRealBar(p.column, p.mpBarRow(), kMpColor, fighter.mp, fighter.maxMp);
}
