// The character creation screen: six big numbers roll and stop on the fighter's abilities.
#include "game/pages/creation_screen.hpp"

#include <array>
#include <cstdint>
#include <cstring>

#include "console/game_console.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/stat_labels.hpp"
#include "game/pages/big_number.hpp"
#include "game/text/translate.hpp"

namespace {

using Numbers = std::array<int, 6>;

// Middle rows of the first digits, under the labels the name entry drew.
constexpr int kNumberColumns[3] = {9, 34, 59};
constexpr int kNumberRows[2] = {16, 22};

// Each number stops once its stage has run strictly longer than this.
constexpr std::uint32_t kStageMs = 500;

constexpr int kYesRow = 7;
constexpr int kNoRow = 8;

void PrintAt(int x, int y, const char* text) {
  console.locate(x, y);
  console.print("%s", text);
}

int RollNumber() { return gameRandom.next() % 999; }

void DrawNumbers(const Numbers& numbers) {
  for (int i = 0; i < 6; ++i) {
    console.set_color(kStatLabels[i].color, 15);
    DrawBigNumber(numbers[i], kNumberColumns[i % 3], kNumberRows[i / 3]);
  }
  console.set_color(0, 15);
}

// Rolls the numbers and stops them one by one, left to right, on the fighter's abilities.
void RollToAbilities() {
  const Numbers abilities = {player.hp, player.mp, player.magic, player.attack, player.defence, player.agility};
  Numbers shown;
  for (int& n : shown) n = RollNumber();

  console.set_color(0, 15);
  PrintAt(12, 11, player.name);
  std::uint32_t stageStart = console.now();
  for (int stopped = 0; stopped < 6;) {
    PrintAt(32, 9, stopped % 2 == 0 ? Tr("キャラクター作成中") : "　　　　　　　　　");
    for (int i = stopped; i < 6; ++i) shown[i] = RollNumber();
    DrawNumbers(shown);
    console.wait(5);
    if (console.now() - stageStart > kStageMs) {
      PlayEffect("flush.wav");
      stageStart = console.now();
      shown[stopped] = abilities[stopped];
      ++stopped;
    }
    DrawNumbers(shown);
  }
}

void MoveArrow(int& row, int step, VirtualKey key) {
  PlayEffect("kasoru.wav");
  PrintAt(60, row, "　");
  row += step;
  PrintAt(60, row, "⇒");
  console.wait_release(key);
}

void AnnounceBirth() {
  PlayEffect("create.wav");
  PrintAt(31, 9, "　　　　　　　　　　");
  const int length = static_cast<int>(std::strlen(player.name));
  console.set_color(3, 15);
  console.locate(34 - length / 3, 9);
  console.print(Tr("%sが誕生した！"), player.name);
  console.wait(2000);
  console.set_color(0, 15);
}

}  // namespace

Screen CreationScreen() {
  RollToAbilities();

  PrintAt(31, 9, Tr("キャラクター作成完了"));
  console.set_color(0, 7);
  PrintAt(60, 6, Tr("このキャラでＯＫ？"));
  console.set_color(0, 15);
  PrintAt(62, kYesRow, Tr("はい"));
  PrintAt(62, kNoRow, Tr("いいえ"));
  int row = kYesRow;
  PrintAt(60, row, "⇒");

  while (console.running()) {
    if (row < kNoRow && console.poll_input(kKeyDown)) MoveArrow(row, 1, kKeyDown);
    if (row > kYesRow && console.poll_input(kKeyUp)) MoveArrow(row, -1, kKeyUp);
    if (row == kYesRow && console.poll_input(kKeyEnter)) {
      AnnounceBirth();
      return Screen::Title;
    }
    if (row == kNoRow && console.poll_input(kKeyEnter)) {
      PlayEffect("kettei.wav");
      return Screen::NameEntry;
    }
    console.wait(20);
  }
  return Screen::Quit;
}
