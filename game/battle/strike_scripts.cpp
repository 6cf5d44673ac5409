// The exchanges of a turn told line by line, with their rolls, sounds and pauses.
#include "game/battle/strike_scripts.hpp"

#include "console/game_console.hpp"
#include "game/battle/battle_text.hpp"
#include "game/battle/status_bars.hpp"
#include "game/battle/defeat_screen.hpp"
#include "game/ui/sound_cues.hpp"
#include "game/model/game_random.hpp"
#include "game/text/translate.hpp"

namespace {

constexpr int kBeatMs = 500;
constexpr int kDamageColor = 12;

int TimesOneAndAHalf(int value) { return static_cast<int>(value * 1.5); }
int Half(int value) { return static_cast<int>(value * 0.5); }

// A StrongAttack hits harder, and so does an Attack that meets one.
int StrikePower(const Combatant& x, const Combatant& y) {
  const bool harder = x.command == StrongAttack || (x.command == Attack && y.command == StrongAttack);
  return harder ? TimesOneAndAHalf(x.attack) : x.attack;
}

// A StrongAttack or a Counter halves its own side's defence for the turn.
int Guard(const Combatant& y) {
  const bool halved = y.command == StrongAttack || y.command == Counter;
  return halved ? Half(y.defence) : y.defence;
}

// A counter strikes back with the attacker's own abilities; harder against Magic.
int CounterDamage(const Combatant& x) {
  int power = (x.attack + x.magic) / 2;
  if (x.command == Magic) power = TimesOneAndAHalf(power);
  return DamageRoll(power, x.defence);
}

void TakeDamage(Combatant& y, int amount) {
  y.hp -= amount;
  if (y.hp < 0) y.hp = 0;
}

// A line that opens with a fighter's name.
void Announce(int line, const Combatant& who, const char* text) {
  StartLine(line);
  PrintIn(who.nameColor, who.name);
  PrintPlain(Tr(text));
}

// A fallen opponent wins the battle; a fallen player goes to the defeat screen, which may
// let the fighter rise again.
BattleOutcome DefeatCheck(const Combatant& y) {
  if (y.hp > 0) return BattleOutcome::Continues;
  if (!y.isPlayer) return BattleOutcome::Won;
  return DefeatScreen() ? BattleOutcome::Continues : BattleOutcome::Lost;
}

BattleOutcome DamageLine(const Combatant& y, int line, int amount) {
  Announce(line, y, Translatable("は"));
  PrintNumberIn(kDamageColor, Tr("%dのダメージ"), amount);
  PrintPlain(Tr("を受けた！"));
  return DefeatCheck(y);
}

// The blow lands: HP, the sound, the bars, then the damage line.
BattleOutcome Land(Combatant& y, int line, int amount, const char* sound) {
  TakeDamage(y, amount);
  PlayEffect(sound);
  UpdateStatusBars();
  return DamageLine(y, line, amount);
}

}  // namespace

BattleOutcome StrikeWithHitRoll(Combatant& x, Combatant& y) {
  const bool strong = x.command == StrongAttack;
  const int damage = DamageRoll(StrikePower(x, y), Guard(y));
  const bool hit = HitCheck(x.agility, y.agility, strong ? 75 : 90);
  Announce(19, x, strong ? Translatable("の強攻撃！") : Translatable("の攻撃！"));
  console.wait(kBeatMs);
  if (!hit) {
    StartLine(20);
    PrintPlain(Tr("しかし攻撃は外れてしまった！"));
    return BattleOutcome::Continues;
  }
  return Land(y, 20, damage, strong ? "kyouda.wav" : "tuzyou.wav");
}

BattleOutcome CastMagic(Combatant& x, Combatant& y) {
  x.mp -= kMagicCost;
  Announce(19, x, Translatable("の魔法攻撃！"));
  console.wait(kBeatMs);
  const int damage = x.magic / 3;
  TakeDamage(y, damage);
  if (x.mp < 0) x.mp = 0;
  PlayEffect("mahou.wav");
  UpdateStatusBars();
  return DamageLine(y, 20, damage);
}

BattleOutcome AttackIntoCounter(Combatant& x, Combatant& y) {
  const int damage = DamageRoll(StrikePower(x, y), Guard(y));
  const bool counterFails = PercentCheck(66);
  Announce(19, x, Translatable("の攻撃！"));
  console.wait(kBeatMs);
  if (counterFails) {
    TakeDamage(y, damage);
    PlayEffect("tuzyou.wav");
    UpdateStatusBars();
    Announce(20, y, Translatable("カウンター失敗！"));
    console.wait(kBeatMs);
    return DamageLine(y, 21, damage);
  }
  StartLine(20);
  PrintPlain(Tr("しかし、"));
  PrintIn(y.nameColor, y.name);
  PrintPlain(Tr("のカウンター！"));
  console.wait(kBeatMs);
  return Land(x, 21, CounterDamage(x), "flush.wav");
}

BattleOutcome StrongAttackIntoCounter(Combatant& x, Combatant& y) {
  const int damage = DamageRoll(StrikePower(x, y), Guard(y));
  // The opponent's part is told first, on line 19; the player's follows on line 20.
  struct Part {
    const Combatant& who;
    const char* text;
  };
  const Part strike{x, Translatable("の強攻撃！")};
  const Part failure{y, Translatable("カウンター失敗！")};
  const Part& first = x.isPlayer ? failure : strike;
  const Part& second = x.isPlayer ? strike : failure;
  Announce(19, first.who, first.text);
  console.wait(kBeatMs);
  Announce(20, second.who, second.text);
  console.wait(kBeatMs);
  PlayEffect("kyouda.wav");
  TakeDamage(y, damage);
  UpdateStatusBars();
  return DamageLine(y, 21, damage);
}

BattleOutcome MagicIntoCounter(Combatant& x, Combatant& y) {
  x.mp -= kMagicCost;
  const int damage = CounterDamage(x);
  Announce(19, x, Translatable("の魔法攻撃！"));
  console.wait(kBeatMs);
  int line = 20;
  if (x.isPlayer) {
    StartLine(line++);
    PrintPlain(Tr("しかし、見切られていた！"));
    console.wait(kBeatMs);
    Announce(line++, y, Translatable("カウンター！"));
  } else {
    Announce(line++, y, Translatable("カウンター成功！"));
  }
  console.wait(kBeatMs);
  return Land(x, line, damage, "flush.wav");
}

void FaceEachOther() {
  StartLine(19);
  PrintPlain(Tr("お互い顔を見合わせている...。"));
}
