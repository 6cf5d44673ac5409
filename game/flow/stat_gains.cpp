// The list of ability gains after a victory or the name boost.
#include "game/flow/stat_gains.hpp"

#include "console/game_console.hpp"
#include "game/model/stat_labels.hpp"

void ShowStatGains(const Abilities& gains, int captionRow, int firstRow) {
  console.locate(20, captionRow);
  console.set_color(9, 15);
  console.print("ステータス成長");
  static const char* const formats[6] = {"最大ＨＰ＋%d", "最大ＭＰ＋%d", "魔力＋%d",
                                         "攻撃＋%d",     "防御＋%d",     "敏捷＋%d"};
  const int values[6] = {gains.hp,     gains.mp,      gains.magic,
                         gains.attack, gains.defence, gains.agility};
  for (int i = 0; i < 6; ++i) {
    console.locate(20 + 15 * (i % 3), firstRow + i / 3);
    console.set_color(kStatLabels[i].color, 15);
    console.print(formats[i], values[i]);
  }
  console.set_color(0, 15);
}
