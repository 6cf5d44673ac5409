// The name entry: a framed field for up to sixteen characters; the name makes the fighter.
#include "game/pages/name_entry_screen.hpp"

#include <cstring>

#include "console/game_console.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/model/name_digits.hpp"
#include "game/model/stat_labels.hpp"
#include "game/pages/name_field.hpp"
#include "game/text/translate.hpp"
#include "game/ui/text_layout.hpp"

namespace {

constexpr int kFieldColumn = 33;
constexpr int kFieldRow = 5;

// Where the six ability labels stand; the creation screen's numbers go under them.
constexpr int kLabelColumns[3] = {5, 30, 55};
constexpr int kLabelRows[2] = {14, 20};

void PrintAt(int x, int y, const char* text) {
  console.locate(x, y);
  console.print("%s", text);
}

void AskForName() {
  PlayEffect("kettei.wav");
  console.set_color(12, KEEP_COLOR);
  PrintAt(30, 7, Tr("名前を入力して下さい。"));
  console.set_color(0, KEEP_COLOR);
}

void AcceptName(const std::string& name) {
  console.locate(21, 11);
  console.print("%50c", ' ');
  std::memcpy(player.name, name.c_str(), name.size() + 1);

  PlayEffect("kettei.wav");
  console.set_color(15, 15);
  PrintAt(30, 7, "　　　　　　　　　　　　　");
  PrintAt(12, 11, "　　　　　　　　　　　　　　　　");
  console.set_cursor(0, 0);
  DeriveAbilitiesFromName(player.name);
}

}  // namespace

void DeriveAbilitiesFromName(const char* name) {
  const Abilities a = AbilitiesFromName(name, kCreationRule);
  player.hp = player.maxHp = a.hp;
  player.mp = player.maxMp = a.mp;
  player.magic = a.magic;
  player.attack = a.attack;
  player.defence = a.defence;
  player.agility = a.agility;
}

void DrawNameEntryFrame() {
  console.set_color(1, KEEP_COLOR);
  PrintAt(ColumnFor("ネームエントリー", 33, 41), 3, Tr("ネームエントリー"));
  console.set_color(0, KEEP_COLOR);
  PrintAt(31, 4, "┏━━━━━━━━┓");
  console.locate(31, 5);
  console.print("┃%16s┃", "");
  PrintAt(31, 6, "┗━━━━━━━━┛");
  PrintAt(6, 11, Tr("名前："));
  for (int i = 0; i < 6; ++i) {
    console.set_color(kStatLabels[i].color, 15);
    PrintAt(kLabelColumns[i % 3], kLabelRows[i / 3], Tr(kStatLabels[i].text));
  }
  console.set_color(0, 15);
}

Screen NameEntryScreen() {
  std::memset(player.name, 0, kNameMaxBytes + 1);
  console.set_color(0, 15);
  console.clear(KEEP_COLOR, KEEP_COLOR);
  console.set_cursor(1, 0);
  while (console.running()) {
    console.locate(33, 9);
    console.print("%48c", ' ');
    DrawNameEntryFrame();
    const std::optional<std::string> name = TypeName(kFieldColumn, kFieldRow);
    if (!name) break;
    if (name->empty()) {
      AskForName();
      continue;
    }
    AcceptName(*name);
    return Screen::Creation;
  }
  return Screen::Quit;
}
