// How every screen labels and colours the six abilities, in their display order.
#pragma once

#include "game/text/translate.hpp"

struct StatLabel {
  const char* text;
  int color;
};

// HP, MP, magic, attack, defence, agility.
inline constexpr StatLabel kStatLabels[6] = {
    {Translatable("ＨＰ"), 4},  {Translatable("ＭＰ"), 5}, {Translatable("魔力"), 6},
    {Translatable("攻撃"), 12}, {Translatable("防御"), 2}, {Translatable("敏捷"), 1},
};
