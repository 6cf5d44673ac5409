// The command menu: move with Up and Down, confirm with Enter, read what each command does.
#include "game/battle/command_menu.hpp"

#include "console/game_console.hpp"
#include "game/battle/battle_text.hpp"
#include "game/ui/message_area.hpp"
#include "game/battle/play_turn.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/text/translate.hpp"

namespace {

constexpr int kFirstRow = 19;
constexpr int kLastRow = 22;
constexpr int kPassMs = 30;

struct MenuItem {
  const char* label;
  BattleCommand command;
  const char* description[5];  // rows 19 onward; the rest are null
};

// clang-format off
constexpr MenuItem kItems[] = {
  {Translatable("攻撃"), Attack, {
    Translatable("通常攻撃を行う。強攻撃に強い。"),
    Translatable("相手がカウンターを選択していた場合、"),
    Translatable("3分の1の確率で攻撃失敗となる。")}},
  {Translatable("強攻撃"), StrongAttack, {
    Translatable("通常攻撃の1.5倍の攻撃力で攻撃する。"),
    Translatable("このターン防御力が2分の1になる。"),
    Translatable("通常攻撃に比べ、命中率が低い。"),
    Translatable("ただし相手がカウンターを選択していた場合、確実に命中する。")}},
  {Translatable("カウンター"), Counter, {
    Translatable("成功した場合、相手の攻撃をかわし、"),
    Translatable("(相手の攻撃力＋魔力)÷2で反撃する。(必ず命中する)"),
    Translatable("このターン防御力が2分の1になるが、HP、MPを多少回復する。"),
    Translatable("相手が魔法を選択していた場合、確実に成功する。"),
    Translatable("相手が強攻撃を選択していた場合、確実に失敗する。")}},
  {Translatable("魔法"), Magic, {
    Translatable("消費MP150。"),
    Translatable("相手の防御を無視し、"),
    Translatable("自分の魔力÷3の値を直接ダメージとして与える。(必ず命中する)"),
    Translatable("ただし相手がカウンターを選択していた場合、確実に失敗する。")}},
};
// clang-format on

const MenuItem& ItemAt(int row) { return kItems[row - kFirstRow]; }

void DrawCursor(int row) {
  console.set_color(1, 15);
  console.locate(4, row);
  console.print("⇒");
  console.set_color(0, 15);
}

void DrawMenu() {
  DrawCursor(kFirstRow);
  for (int row = kFirstRow; row <= kLastRow; ++row) {
    console.locate(6, row);
    console.print("%s", Tr(ItemAt(row).label));
  }
}

void BlankCommandPlaces() {
  console.set_color(15, 15);
  console.locate(55, 5);
  console.print("%s", kCommandPlaceBlank);
  console.locate(20, 13);
  console.print("%s", kCommandPlaceBlank);
}

// Moves the cursor one row when `key` is held and the cursor can go that way, then waits for
// the key's release so that holding it moves once.
void MoveCursor(int& row, std::uint32_t key, int step, int limit) {
  if (!console.poll_input(key) || row == limit) return;
  PlayEffect("kasoru.wav");
  console.locate(4, row);
  console.print("　");
  ClearMessageArea();
  row += step;
  DrawCursor(row);
  console.wait_release(key);
}

void RefuseMagic() {
  ClearMessageArea();
  console.set_color(12, 15);
  console.locate(38, 21);
  console.print("%s", Tr("ＭＰが足りません！"));
  console.set_color(0, 15);
  console.wait(1000);
}

// The description of the item under the cursor; the cost line of Magic stands out.
void DrawDescription(int row) {
  const MenuItem& item = ItemAt(row);
  console.set_color(0, 15);
  for (int line = 0; line < 5 && item.description[line]; ++line) {
    StartLine(kFirstRow + line);
    const bool cost = item.command == Magic && line == 0;
    PrintIn(cost ? 5 : 0, Tr(item.description[line]));
  }
  console.set_color(0, 15);
}

Screen ScreenAfter(BattleOutcome outcome) { return outcome == BattleOutcome::Won ? Screen::Victory : Screen::Title; }

}  // namespace

Screen CommandMenu() {
  DrawMenu();
  int cursor = kFirstRow;
  while (console.running()) {
    BlankCommandPlaces();
    MoveCursor(cursor, kKeyDown, +1, kLastRow);
    MoveCursor(cursor, kKeyUp, -1, kFirstRow);
    // Enter is asked once for every row; only the cursor's row can take it.
    for (int row = kFirstRow; row <= kLastRow; ++row) {
      if (!console.poll_input(kKeyEnter) || cursor != row) continue;
      PlayEffect("kettei.wav");
      playerCommand = ItemAt(row).command;
      if (playerCommand == Magic && player.mp < kMagicCost) {
        RefuseMagic();
        continue;
      }
      const BattleOutcome outcome = PlayTurn();
      if (outcome != BattleOutcome::Continues) return ScreenAfter(outcome);
    }
    DrawDescription(cursor);
    console.wait(kPassMs);
  }
  return Screen::Quit;
}
