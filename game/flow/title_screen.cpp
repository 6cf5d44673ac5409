// The title screen: the DOMRAK logo, the fighter's status and the three-item menu.
#include "game/flow/title_screen.hpp"

#include "console/game_console.hpp"
#include "game/flow/selection_frame.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/model/stat_labels.hpp"
#include "game/text/translate.hpp"
#include "game/ui/text_layout.hpp"

namespace {

// The logo, one character per cell: '#' is a filled block.
// clang-format off
constexpr const char* kLogo[5] = {
    "###...##..#...#.###...#..#.#",
    "#..#.#..#.##.##.#..#.#.#.#.#",
    "#..#.#..#.#.#.#.###..###.##.",
    "#..#.#..#.#...#.#.#..#.#.#.#",
    "###...##..#...#.#..#.#.#.#.#",
};
// clang-format on

constexpr int kMenuColumn = 34;
constexpr int kNameEntryRow = 10;
constexpr int kArenaRow = 15;
constexpr int kManualRow = 20;
// The middle of the selection frame, where a translated item is centred.
constexpr int kMenuCentre = 42;

struct MenuHelp {
  int barColor;
  const char* text;
};

MenuHelp HelpFor(int row) {
  switch (row) {
    case kNameEntryRow:
      return {9, Translatable(" 名前を入力してキャラを誕生させよう")};
    case kArenaRow:
      return {4, Translatable(" 全6ラウンドを勝ち抜く基本のモード")};
    default:
      return {6, Translatable(" まずはルールを覚えましょう")};
  }
}

void PrintAt(int x, int y, const char* text) {
  console.locate(x, y);
  console.print("%s", text);
}

// A menu item in the player's language, centred in the frame when translated.
void PrintItem(int column, int row, const char* japanese) {
  PrintAt(ColumnFor(japanese, column, kMenuCentre), row, Tr(japanese));
}

void DrawLogo() {
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 28; ++c) {
      const bool filled = kLogo[r][c] == '#';
      console.set_color(filled ? 0 : 15, filled ? 8 : 15);
      PrintAt(12 + 2 * c, 2 + r, filled ? "■" : "  ");
    }
  }
}

void DrawMenu() {
  console.set_color(0, 15);
  PrintAt(51, 25, Tr("[ENTER]…決定  [↑][↓]…選択"));
  PrintItem(kMenuColumn, kNameEntryRow, Translatable("ネームエントリー"));
  console.set_color(player.exists() ? 0 : 7, 15);
  PrintItem(36, kArenaRow, Translatable("闘技場へ行く"));
  console.set_color(0, 15);
  PrintItem(36, kManualRow, Translatable("マニュアル"));
  console.set_color(0, 15);
}

void DrawFighterStatus() {
  if (!player.exists()) {
    console.set_color(0, 15);
    PrintAt(3, 7, "　　　　　　　　　　　　");
    PrintAt(3, 8, "　　　　　　　　　　　　　");
    for (int row = 9; row <= 14; ++row) PrintAt(3, row, "　　　　");
    return;
  }
  console.set_color(0, 15);
  console.locate(3, 8);
  console.print(Tr("名前:%s"), player.name);
  const int values[6] = {player.hp, player.mp, player.magic, player.attack, player.defence, player.agility};
  for (int i = 0; i < 6; ++i) {
    console.set_color(kStatLabels[i].color, 15);
    console.locate(3, 9 + i);
    console.print("%s:%d", Tr(kStatLabels[i].text), values[i]);
  }
  console.set_color(0, 15);
}

void DrawHelpLine(int row) {
  const MenuHelp help = HelpFor(row);
  console.locate(2, 24);
  console.set_color(help.barColor, 15);
  console.print("|");
  console.set_color(0, 15);
  console.print("%s", Tr(help.text));
}

void BlankHelpLine() {
  console.set_color(15, 15);
  PrintAt(2, 24, "　　　　　　　　　　　　　　　　　　　　　　");
}

// Moves the frame one item and waits for the key to be let go.
void MoveSelection(int& row, int step, VirtualKey key) {
  PlayEffect("kasoru.wav");
  EraseSelectionFrame(kMenuColumn, row);
  row += step;
  DrawSelectionFrame(kMenuColumn, row);
  BlankHelpLine();
  console.wait_release(key);
}

void RefuseArenaWithoutFighter() {
  PlayEffect("kettei.wav");
  BlankHelpLine();
  console.set_color(12, 15);
  PrintAt(4, 24, Tr("先にネームエントリーして下さい！"));
  console.wait(1000);
  console.wait_release(kKeyEnter);
  BlankHelpLine();  // a translated message may reach past the help line drawn over it
}

}  // namespace

Screen TitleScreen() {
  console.wait_release(kKeyEnter);
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  ChangeMusic("title.mid", true);
  DrawLogo();
  DrawMenu();
  DrawFighterStatus();

  int selection = kNameEntryRow;
  while (console.running()) {
    DrawSelectionFrame(kMenuColumn, selection);
    DrawHelpLine(selection);
    if (selection != kManualRow && console.poll_input(kKeyDown)) MoveSelection(selection, 5, kKeyDown);
    if (selection != kNameEntryRow && console.poll_input(kKeyUp)) MoveSelection(selection, -5, kKeyUp);
    if (selection == kNameEntryRow && console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      console.set_color(0, 15);
      ChangeMusic("entry.mid", true);
      return Screen::NameEntry;
    }
    if (selection == kManualRow && console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      console.set_color(0, 15);
      return Screen::Manual;
    }
    if (selection == kArenaRow && player.exists() && console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      console.set_color(0, 15);
      return Screen::NewRun;
    }
    if (selection == kArenaRow && !player.exists() && console.poll_input(kKeyEnter)) RefuseArenaWithoutFighter();
    console.wait(20);
  }
  return Screen::Quit;
}
