// Every pair of commands played as a whole turn: message lines, sounds and their timing, HP and MP.
#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "game/battle/play_turn.hpp"
#include "game/battle/status_bars.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

// Both sides alike: max HP 800 at 500, max MP 600 at 400, attack 600, defence 400, magic 330;
// the player, with agility 100 against 50, acts first. With these figures each kind of blow has
// its own damage range.
constexpr int kHp = 500, kMp = 400;
constexpr int kAttackRange[] = {101, 130};        // 600 on 400
constexpr int kStrongRange[] = {201, 230};        // 900 on 400
constexpr int kIntoStrongRange[] = {251, 280};    // 900 on 200
constexpr int kIntoCounterRange[] = {151, 180};   // 600 on 200
constexpr int kCounterRange[] = {56, 85};         // (600 + 330) / 2 on 400
constexpr int kCounterMagicRange[] = {133, 162};  // 465 * 1.5 on 400
constexpr int kMagic[] = {110, 110};              // 330 / 3

const std::string P = "{9}HERO{0}";
const std::string E = "{5}自称勇者ぽこぺ{0}";
const std::string kPlayerRecovery = "{9}HERO{0}はＨＰを{2}#{0}、ＭＰを{2}#{0}回復した。";
const std::string kOpponentRecovery = "{9}自称勇者ぽこぺ{0}はＨＰを{2}#{0}、ＭＰを{2}#{0}回復した。";

// A line with its numbers as '#'; a damage line names its target, 'P' or 'E', and its range.
struct Expected { int row; std::string text; char target = 0; const int* range = nullptr; };

Expected Damage(char target, int row, const int* range) {
  return {row, (target == 'P' ? P : E) + "は{12}#のダメージ{0}を受けた！", target, range};
}

// `counterSucceeds` for an Attack into a Counter.
struct MatrixCase {
  const char* name; BattleCommand player, enemy; bool counterSucceeds;
  std::vector<std::string> sounds; std::vector<Expected> lines;
};

// Each exchange once: its mirror, with the sides swapped, runs the same code.
const MatrixCase kCases[] = {
    {"AttackAttack", Attack, Attack, false, {"tuzyou.wav", "tuzyou.wav"},
     {{19, P + "の攻撃！"}, Damage('E', 20, kAttackRange), {19, E + "の攻撃！"}, Damage('P', 20, kAttackRange)}},
    {"AttackCounterSucceeds", Attack, Counter, true, {"flush.wav"},
     {{19, P + "の攻撃！"}, {20, "しかし、" + E + "のカウンター！"}, Damage('P', 21, kCounterRange), {19, kOpponentRecovery}}},
    {"StrongAttack", StrongAttack, Attack, false, {"kyouda.wav", "tuzyou.wav"},
     {{19, P + "の強攻撃！"}, Damage('E', 20, kStrongRange), {19, E + "の攻撃！"}, Damage('P', 20, kIntoStrongRange)}},
    {"StrongCounter", StrongAttack, Counter, false, {"kyouda.wav"},
     {{19, E + "カウンター失敗！"}, {20, P + "の強攻撃！"}, Damage('E', 21, kIntoStrongRange), {19, kOpponentRecovery}}},
    {"CounterAttackFails", Counter, Attack, false, {"tuzyou.wav"},
     {{19, E + "の攻撃！"}, {20, P + "カウンター失敗！"}, Damage('P', 21, kIntoCounterRange), {19, kPlayerRecovery}}},
    {"CounterStrong", Counter, StrongAttack, false, {"kyouda.wav"},
     {{19, E + "の強攻撃！"}, {20, P + "カウンター失敗！"}, Damage('P', 21, kIntoStrongRange), {19, kPlayerRecovery}}},
    {"CounterCounter", Counter, Counter, false, {},
     {{19, "お互い顔を見合わせている...。"}, {19, kPlayerRecovery}, {20, kOpponentRecovery}}},
    {"CounterMagic", Counter, Magic, false, {"flush.wav"},
     {{19, E + "の魔法攻撃！"}, {20, P + "カウンター成功！"}, Damage('E', 21, kCounterMagicRange), {19, kPlayerRecovery}}},
    {"MagicAttack", Magic, Attack, false, {"mahou.wav", "tuzyou.wav"},
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の攻撃！"}, Damage('P', 20, kAttackRange)}},
    {"MagicStrong", Magic, StrongAttack, false, {"mahou.wav", "kyouda.wav"},
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の強攻撃！"}, Damage('P', 20, kStrongRange)}},
    {"MagicCounter", Magic, Counter, false, {"flush.wav"},
     {{19, P + "の魔法攻撃！"}, {20, "しかし、見切られていた！"}, {21, E + "カウンター！"}, Damage('P', 22, kCounterMagicRange), {19, kOpponentRecovery}}},
    {"MagicMagic", Magic, Magic, false, {"mahou.wav", "mahou.wav"},
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の魔法攻撃！"}, Damage('P', 20, kMagic)}},
};

class OutcomeMatrix : public BattleFixture, public ::testing::WithParamInterface<MatrixCase> {};

}  // namespace

TEST_P(OutcomeMatrix, TellsTheExchangeAndChangesHpAndMp) {
  const MatrixCase& c = GetParam();
  for (const Combatant& side : {PlayerSide(), OpponentSide()}) {
    side.maxHp = 800;
    side.maxMp = 600;
    side.hp = kHp;
    side.mp = kMp;
    side.attack = 600;
    side.defence = 400;
    side.magic = 330;
  }
  playerCommand = c.player;
  gameRandom.seed(SeedFor(c.enemy, c.counterSucceeds));
  WatchMessages(12000);
  ASSERT_EQ(PlayTurn(), BattleOutcome::Continues);
  EXPECT_EQ(sound.names("play_wave"), c.sounds);

  // Each line as expected, its figures as told; the HP and MP afterwards follow from them.
  ASSERT_EQ(lines.size(), c.lines.size()) << ::testing::PrintToString(lines);
  int hp[2] = {kHp, kHp};  // player, opponent
  int mp[2] = {kMp - (c.player == Magic ? 150 : 0), kMp - (c.enemy == Magic ? 150 : 0)};
  const std::regex number("[0-9]+(?![0-9]*\\})");  // not a colour mark
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& [row, text] = lines[i];
    const Expected& want = c.lines[i];
    EXPECT_EQ(MessageLine(row, std::regex_replace(text, number, "#")),
              MessageLine(want.row, want.text));
    std::sregex_iterator figure(text.begin(), text.end(), number);
    const int side = want.target == 'P' || want.text == kPlayerRecovery ? 0 : 1;
    if (want.target) {
      const int damage = std::stoi(figure->str());
      EXPECT_GE(damage, want.range[0]) << "damage below its range: " << text;
      EXPECT_LE(damage, want.range[1]) << "damage above its range: " << text;
      hp[side] -= damage;
    } else if (figure != std::sregex_iterator()) {  // a recovery
      hp[side] += std::stoi(figure->str());
      mp[side] += std::stoi((++figure)->str());
    }
  }
  EXPECT_EQ(player.hp, hp[0]) << "the player's HP is not what the messages told";
  EXPECT_EQ(player.mp, mp[0]) << "the player's MP is not what the messages told";
  EXPECT_EQ(roster.hp[0], hp[1]) << "the opponent's HP is not what the messages told";
  EXPECT_EQ(roster.mp[0], mp[1]) << "the opponent's MP is not what the messages told";

  // The header stays; the message area is left clear, and the bars are current.
  const char* names[] = {"通常攻撃", "強攻撃", "カウンター", "魔法攻撃"};
  EXPECT_TRUE(Shows(20, 13, names[c.player], 0, 15)) << "the player's command";
  EXPECT_TRUE(Shows(55, 5, names[c.enemy], 0, 15)) << "the opponent's command";
  for (int row = 19; row <= 23; ++row) EXPECT_EQ(Styled(19, row, 60), "") << row;
  EXPECT_EQ(shownPlayerHp, player.hp) << "the player's HP bar left behind";
  EXPECT_EQ(shownEnemyMp, roster.mp[0]) << "the opponent's MP bar left behind";
}

INSTANTIATE_TEST_SUITE_P(AllPairs, OutcomeMatrix, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
