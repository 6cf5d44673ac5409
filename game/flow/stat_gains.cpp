// The list of ability gains after a victory or the name boost.
#include "game/flow/stat_gains.hpp"

#include "console/game_console.hpp"
#include "game/model/stat_labels.hpp"
#include "game/text/translate.hpp"

void ShowStatGains(const Abilities& gains, int captionRow, int firstRow) {
  console.locate(20, captionRow);
  console.set_color(9, 15);
  console.print("%s", Tr("ステータス成長"));
  static const char* const formats[6] = {Translatable("最大ＨＰ＋%d"), Translatable("最大ＭＰ＋%d"),
                                         Translatable("魔力＋%d"),     Translatable("攻撃＋%d"),
                                         Translatable("防御＋%d"),     Translatable("敏捷＋%d")};
  const int values[6] = {gains.hp, gains.mp, gains.magic, gains.attack, gains.defence, gains.agility};
  for (int i = 0; i < 6; ++i) {
    console.locate(20 + 15 * (i % 3), firstRow + i / 3);
    console.set_color(kStatLabels[i].color, 15);
    console.print(Tr(formats[i]), values[i]);
  }
  console.set_color(0, 15);
}
