// How every screen labels and colours the six abilities, in their display order.
#pragma once

struct StatLabel {
  const char* text;
  int color;
};

// HP, MP, magic, attack, defence, agility.
inline constexpr StatLabel kStatLabels[6] = {
    {"ＨＰ", 4}, {"ＭＰ", 5}, {"魔力", 6}, {"攻撃", 12}, {"防御", 2}, {"敏捷", 1},
};
