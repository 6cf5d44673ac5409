// The name boost: a second name typed into a box in the message area, turned into abilities.
#include "game/flow/name_boost.hpp"

#include <optional>
#include <string>

#include "console/game_console.hpp"
#include "game/ui/message_area.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/flow/stat_gains.hpp"
#include "game/model/fighter.hpp"
#include "game/model/name_digits.hpp"
#include "game/pages/name_field.hpp"
#include "game/text/translate.hpp"

namespace {

void DrawNameBox() {
  console.set_color(0, 15);
  console.locate(20, 20);
  console.print("┏━━━━━━━━┓");
  console.locate(20, 21);
  console.print("┃                ┃");
  console.locate(20, 22);
  console.print("┗━━━━━━━━┛");
}

// Reads names into the box until one is not empty; an empty one is refused with a sound.
std::optional<std::string> ReadSecondName() {
  while (true) {
    console.locate(22, 21);
    console.set_cursor(1, 0);
    std::optional<std::string> name = TypeName(22, 21);
    if (!name || !name->empty()) return name;
    PlayEffect("kettei.wav");
    console.set_color(0, 15);
  }
}

void AddBoost(const Abilities& boost) {
  AddClamped(player.maxHp, boost.hp);
  AddClamped(player.hp, boost.hp);
  AddClamped(player.maxMp, boost.mp);
  AddClamped(player.mp, boost.mp);
  AddClamped(player.attack, boost.attack);
  AddClamped(player.defence, boost.defence);
  AddClamped(player.agility, boost.agility);
  AddClamped(player.magic, boost.magic);
}

}  // namespace

bool NameBoost() {
  console.wait(1500);
  ClearMessageArea();
  console.locate(20, 19);
  console.set_color(9, 15);
  console.print("%s", Tr("追加強化発動！"));
  console.print("%s", Tr("名前を入力して下さい。"));
  console.wait(750);
  DrawNameBox();

  const std::optional<std::string> secondName = ReadSecondName();
  if (!secondName) return false;
  PlayEffect("kettei.wav");
  console.set_cursor(0, 0);

  const Abilities boost = AbilitiesFromName(*secondName, kBoostRule);
  AddBoost(boost);
  ClearMessageArea();
  ShowStatGains(boost, 19, 21);
  console.wait(2000);
  return true;
}
