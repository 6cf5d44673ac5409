// Every pair of commands played as a whole turn: message lines, sounds, HP and MP afterwards.
#include <gtest/gtest.h>

#include <regex>

#include "game/battle/play_turn.hpp"
#include "game/battle/status_bars.hpp"
#include "game/model/game_random.hpp"
#include "tests/battle/battle_fixture.hpp"

namespace {

// Both sides alike: max HP 800 at 500, max MP 600 at 400, attack 600, defence 400, magic 330;
// the player is one point faster and so acts first. With these figures each kind of blow has
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

struct Expected {
  int row;
  std::string text;  // numbers as '#'
  char target = 0;   // 'P' or 'E' for a damage line
  const int* range = nullptr;
};

Expected Damage(char target, int row, const int* range) {
  return {row, (target == 'P' ? P : E) + "は{12}#のダメージ{0}を受けた！", target, range};
}

struct MatrixCase {
  const char* name;
  BattleCommand player, enemy;
  bool counterSucceeds;  // for an Attack into a Counter
  std::vector<Expected> lines;
  std::vector<std::string> sounds;
  int playerCasts, enemyCasts;
};

const MatrixCase kCases[] = {
    {"AttackAttack", Attack, Attack, false,
     {{19, P + "の攻撃！"}, Damage('E', 20, kAttackRange), {19, E + "の攻撃！"}, Damage('P', 20, kAttackRange)},
     {"tuzyou.wav", "tuzyou.wav"}, 0, 0},
    {"AttackStrong", Attack, StrongAttack, false,
     {{19, P + "の攻撃！"}, Damage('E', 20, kIntoStrongRange), {19, E + "の強攻撃！"}, Damage('P', 20, kStrongRange)},
     {"tuzyou.wav", "kyouda.wav"}, 0, 0},
    {"AttackCounterSucceeds", Attack, Counter, true,
     {{19, P + "の攻撃！"}, {20, "しかし、" + E + "のカウンター！"}, Damage('P', 21, kCounterRange), {19, kOpponentRecovery}},
     {"flush.wav"}, 0, 0},
    {"AttackCounterFails", Attack, Counter, false,
     {{19, P + "の攻撃！"}, {20, E + "カウンター失敗！"}, Damage('E', 21, kIntoCounterRange), {19, kOpponentRecovery}},
     {"tuzyou.wav"}, 0, 0},
    {"AttackMagic", Attack, Magic, false,
     {{19, P + "の攻撃！"}, Damage('E', 20, kAttackRange), {19, E + "の魔法攻撃！"}, Damage('P', 20, kMagic)},
     {"tuzyou.wav", "mahou.wav"}, 0, 1},
    {"StrongAttack", StrongAttack, Attack, false,
     {{19, P + "の強攻撃！"}, Damage('E', 20, kStrongRange), {19, E + "の攻撃！"}, Damage('P', 20, kIntoStrongRange)},
     {"kyouda.wav", "tuzyou.wav"}, 0, 0},
    {"StrongStrong", StrongAttack, StrongAttack, false,
     {{19, P + "の強攻撃！"}, Damage('E', 20, kIntoStrongRange), {19, E + "の強攻撃！"}, Damage('P', 20, kIntoStrongRange)},
     {"kyouda.wav", "kyouda.wav"}, 0, 0},
    {"StrongCounter", StrongAttack, Counter, false,
     {{19, E + "カウンター失敗！"}, {20, P + "の強攻撃！"}, Damage('E', 21, kIntoStrongRange), {19, kOpponentRecovery}},
     {"kyouda.wav"}, 0, 0},
    {"StrongMagic", StrongAttack, Magic, false,
     {{19, P + "の強攻撃！"}, Damage('E', 20, kStrongRange), {19, E + "の魔法攻撃！"}, Damage('P', 20, kMagic)},
     {"kyouda.wav", "mahou.wav"}, 0, 1},
    {"CounterAttackSucceeds", Counter, Attack, true,
     {{19, E + "の攻撃！"}, {20, "しかし、" + P + "のカウンター！"}, Damage('E', 21, kCounterRange), {19, kPlayerRecovery}},
     {"flush.wav"}, 0, 0},
    {"CounterAttackFails", Counter, Attack, false,
     {{19, E + "の攻撃！"}, {20, P + "カウンター失敗！"}, Damage('P', 21, kIntoCounterRange), {19, kPlayerRecovery}},
     {"tuzyou.wav"}, 0, 0},
    {"CounterStrong", Counter, StrongAttack, false,
     {{19, E + "の強攻撃！"}, {20, P + "カウンター失敗！"}, Damage('P', 21, kIntoStrongRange), {19, kPlayerRecovery}},
     {"kyouda.wav"}, 0, 0},
    {"CounterCounter", Counter, Counter, false,
     {{19, "お互い顔を見合わせている...。"}, {19, kPlayerRecovery}, {20, kOpponentRecovery}},
     {}, 0, 0},
    {"CounterMagic", Counter, Magic, false,
     {{19, E + "の魔法攻撃！"}, {20, P + "カウンター成功！"}, Damage('E', 21, kCounterMagicRange), {19, kPlayerRecovery}},
     {"flush.wav"}, 0, 1},
    {"MagicAttack", Magic, Attack, false,
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の攻撃！"}, Damage('P', 20, kAttackRange)},
     {"mahou.wav", "tuzyou.wav"}, 1, 0},
    {"MagicStrong", Magic, StrongAttack, false,
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の強攻撃！"}, Damage('P', 20, kStrongRange)},
     {"mahou.wav", "kyouda.wav"}, 1, 0},
    {"MagicCounter", Magic, Counter, false,
     {{19, P + "の魔法攻撃！"}, {20, "しかし、見切られていた！"}, {21, E + "カウンター！"}, Damage('P', 22, kCounterMagicRange), {19, kOpponentRecovery}},
     {"flush.wav"}, 1, 0},
    {"MagicMagic", Magic, Magic, false,
     {{19, P + "の魔法攻撃！"}, Damage('E', 20, kMagic), {19, E + "の魔法攻撃！"}, Damage('P', 20, kMagic)},
     {"mahou.wav", "mahou.wav"}, 1, 1},
};

void PrintTo(const MatrixCase& c, std::ostream* out) { *out << c.name; }

class OutcomeMatrix : public BattleFixture, public ::testing::WithParamInterface<MatrixCase> {};

}  // namespace

TEST_P(OutcomeMatrix, TellsTheExchangeAndChangesHpAndMp) {
  const MatrixCase& c = GetParam();
  for (int* hp : {&player.hp, &roster.hp[0]}) *hp = kHp;
  for (int* maxHp : {&player.maxHp, &roster.maxHp[0]}) *maxHp = 800;
  for (int* mp : {&player.mp, &roster.mp[0]}) *mp = kMp;
  for (int* maxMp : {&player.maxMp, &roster.maxMp[0]}) *maxMp = 600;
  player.attack = roster.attack[0] = 600;
  player.defence = roster.defence[0] = 400;
  player.magic = roster.magic[0] = 330;
  player.agility = 101;
  roster.agility[0] = 100;
  playerCommand = c.player;
  gameRandom.seed(SeedFor(c.enemy, c.counterSucceeds));
  WatchMessages(12000, 10);

  ASSERT_EQ(PlayTurn(), BattleOutcome::Continues);
  EXPECT_EQ(enemyCommand, c.enemy);
  EXPECT_EQ(runState.turnCount, 1);

  ASSERT_EQ(lines.size(), c.lines.size()) << ::testing::PrintToString(lines);
  int damageTo[2] = {};  // player, opponent
  int hpGain[2] = {}, mpGain[2] = {};
  const std::regex number("[0-9]+(?![0-9]*\\})");  // not a colour mark
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Expected& want = c.lines[i];
    std::vector<int> numbers;
    for (std::sregex_iterator it(lines[i].text.begin(), lines[i].text.end(), number), end;
         it != end; ++it)
      numbers.push_back(std::stoi(it->str()));
    const std::string pattern = std::regex_replace(lines[i].text, number, "#");
    EXPECT_EQ(lines[i].row, want.row) << i << ": " << lines[i];
    EXPECT_EQ(pattern, want.text) << i;
    if (want.target) {
      ASSERT_EQ(numbers.size(), 1u);
      EXPECT_GE(numbers[0], want.range[0]) << lines[i];
      EXPECT_LE(numbers[0], want.range[1]) << lines[i];
      damageTo[want.target == 'P' ? 0 : 1] += numbers[0];
    } else if (want.text == kPlayerRecovery || want.text == kOpponentRecovery) {
      ASSERT_EQ(numbers.size(), 2u);
      const int side = want.text == kPlayerRecovery ? 0 : 1;
      hpGain[side] = numbers[0];
      mpGain[side] = numbers[1];
    }
  }
  // The player's recovery: 1..3 times 800 / 20 plus 0..15, and 1..4 times 600 / 20 plus 0..15.
  if (c.player == Counter) {
    EXPECT_GE(hpGain[0], 40);
    EXPECT_LE(hpGain[0], 135);
    EXPECT_GE(mpGain[0], 30);
    EXPECT_LE(mpGain[0], 135);
  }
  // The opponent's: 1..4 times its HP after the phases / 20 plus 0..15, and its MP as above.
  if (c.enemy == Counter) {
    const int unit = (kHp - damageTo[1]) / 20;
    EXPECT_GE(hpGain[1], unit);
    EXPECT_LE(hpGain[1], 4 * unit + 15);
    EXPECT_GE(mpGain[1], 30);
    EXPECT_LE(mpGain[1], 135);
  }
  EXPECT_EQ(player.hp, kHp - damageTo[0] + hpGain[0]);
  EXPECT_EQ(roster.hp[0], kHp - damageTo[1] + hpGain[1]);
  EXPECT_EQ(player.mp, kMp - 150 * c.playerCasts + mpGain[0]);
  EXPECT_EQ(roster.mp[0], kMp - 150 * c.enemyCasts + mpGain[1]);
  EXPECT_EQ(sound.names("play_wave"), c.sounds);

  // The header stays; the message area is left clear, and the bars are current.
  const char* names[] = {"通常攻撃", "強攻撃", "カウンター", "魔法攻撃"};
  EXPECT_TRUE(Shows(20, 13, names[c.player], 0, 15));
  EXPECT_TRUE(Shows(55, 5, names[c.enemy], 0, 15));
  for (int row = 19; row <= 23; ++row) EXPECT_EQ(Styled(19, row, 60), "") << row;
  EXPECT_EQ(shownPlayerHp, player.hp);
  EXPECT_EQ(shownEnemyMp, roster.mp[0]);
}

INSTANTIATE_TEST_SUITE_P(AllPairs, OutcomeMatrix, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
