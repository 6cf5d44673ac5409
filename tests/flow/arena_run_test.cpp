// Whole runs played by script: game over, a revival, the plain ending and the true one, and how
// each round is announced and each victory rewarded on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "game/model/fighter.hpp"
#include "game/model/game_random.hpp"
#include "game/model/run_state.hpp"
#include "tests/support/big_digits.hpp"
#include "tests/support/game_session.hpp"
#include "tests/support/sound_log.hpp"
#include "tests/support/scripted_run.hpp"

namespace {

// The veteran's run (seed 2) as its round introductions show it: each opponent's name and its
// HP, MP, magic, attack, defence and agility after the run's bumps, worked out by hand from the
// first 48 draws of seed 2 (7, 11, 6, 1, 0, 1 for the first opponent: 375 = 360 + 3 x 5, ...).
struct ShownFighter {
  const char* name;
  int column;  // where the centred name starts
  int figures[6];
};
constexpr ShownFighter kVeteranOpponents[] = {
    {"自称勇者ぽこぺ", 45, {375, 325, 310, 285, 205, 50}},
    {"プレジデントガード", 43, {260, 540, 325, 200, 935, 200}},
    {"工事現場の大棟梁", 44, {500, 440, 440, 380, 235, 330}},
    {"シハン", 49, {660, 545, 565, 595, 140, 535}},
    {"きんにく", 48, {999, 445, 360, 485, 330, 160}},  // 999 stays 999 whatever the bump
    {"ザム", 50, {680, 575, 530, 835, 520, 485}},
    {"伝説の勇者ぽこぺ", 44, {940, 795, 625, 735, 790, 660}},
};
constexpr const char* kFigureNames[6] = {"HP", "MP", "magic", "attack", "defence", "agility"};

}  // namespace

class ArenaRun : public GameSession {
 protected:
  // One half of a round introduction: a name centred in its colour, and six figures in big
  // digits from (column, row), three to a row, each in its label's colour.
  void ExpectHalfShown(const char* whose, const ShownFighter& o, int nameRow, int nameColour,
                       int column, int row) {
    EXPECT_TRUE(Shows(o.column, nameRow, o.name, nameColour, 15)) << whose << " name";
    const int labelColours[6] = {4, 5, 6, 12, 2, 1};
    for (int i = 0; i < 6; ++i) {
      const int c = column + 23 * (i % 3), r = row + 4 * (i / 3);
      EXPECT_EQ(ReadBigNumber(c, r), o.figures[i]) << whose << " " << kFigureNames[i];
      EXPECT_EQ(Colors(c, r).first, labelColours[i]) << whose << " " << kFigureNames[i];
    }
  }

  // The round introduction as it leaves the screen: the caption, both bars across the screen
  // (swept in a cell every 10 ms, then three seconds) and the round's battle music, looping.
  void ExpectRoundAnnounced(int round, std::uint32_t start) {
    const struct { const char* caption; int captionFg, barBg; std::string music; } rounds[] = {
        {"Round 1", 2, 7, "buttle1.mid"}, {"Round 2", 2, 7, "buttle1.mid"},
        {"Round 3", 2, 7, "buttle1.mid"}, {"Round 4", 6, 6, "buttle2.mid"},
        {"Round 5", 6, 6, "buttle2.mid"}, {"Final Round", 12, 12, "buttle3.mid"},
        {"Extra Round", 4, 4, "buttle4.mid"}};
    const auto& r = rounds[round - 1];
    SCOPED_TRACE(r.caption);
    EXPECT_TRUE(Shows(2, 14, r.caption, r.captionFg, 15));
    for (int column : {1, 40, 80})
      for (int row : {11, 15}) EXPECT_EQ(Colors(column, row), std::make_pair(15, r.barBg));
    EXPECT_EQ(Colors(1, 12), std::make_pair(0, 15));
    EXPECT_EQ(SoundLog(sound).back(), "play " + r.music + " loop");
    EXPECT_EQ(console.now() - start, 800u + 3000u);
  }

  // A won round as its screen leaves it, against the fighter and the draws the battle left:
  // ten draws (growth, then recovery; worked through in victory_screen_test) and a recovery
  // line that tells in green what came back, up to the grown maxima, to the victory music;
  // after the last rounds, nothing of that.
  void ExpectVictory(const Fighter& before, GameRandom draws, std::uint32_t start) {
    const int drawn = runState.round >= 7 ? 0 : 10;
    for (int i = 0; i < drawn; ++i) draws.next();
    GameRandom after = gameRandom;
    EXPECT_EQ(after.next(), draws.next()) << "a victory drew other than " << drawn << " numbers";
    if (runState.round >= 7) {
      EXPECT_EQ(console.now() - start, 1300u);
      EXPECT_EQ(player.maxHp, before.maxHp) << "grown after the last round";
      EXPECT_EQ(player.hp, before.hp) << "recovered after the last round";
      return;
    }
    const std::string line = Text(20, 19, 40);
    std::smatch told;
    ASSERT_TRUE(std::regex_search(line, told, std::regex("^ＨＰを([0-9]+)、ＭＰを([0-9]+)回復した。")))
        << "the recovery line reads " << line;
    const std::string hp = told[1], mp = told[2];
    EXPECT_TRUE(Shows(26, 19, hp, 2, 15)) << "the HP recovered";
    EXPECT_TRUE(Shows(34 + int(hp.size()), 19, mp, 2, 15)) << "the MP recovered";
    EXPECT_EQ(player.hp, std::min(before.hp + std::stoi(hp), player.maxHp)) << "HP other than the line told";
    EXPECT_EQ(player.mp, std::min(before.mp + std::stoi(mp), player.maxMp)) << "MP other than the line told";
    const auto log = SoundLog(sound, start);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.begin() + 3),
              (std::vector<std::string>{"1300 load syori.mid", "1300 play syori.mid once"}));
  }
};

// The runs follow each other in one session, so each new run must start from round 1 against a
// fresh roster.
TEST_F(ArenaRun, EachRunEndsOnTheTitleTheWayItsFightsGo) {
  // `rises`: the fighter fell and rose again; `music`: the last piece loaded.
  // `opponents`: what the round introductions show of them, where the test knows it.
  const struct {
    ScriptedFighter fighter;
    int lastRound;
    bool rises;
    const char* music;
    const ShownFighter* opponents;
    ShownFighter fighterInRound1;  // the player's half, centred on column 30
  } cases[] = {
      {kNovice, 1, false, "gameover.mid", nullptr, {"Novice", 27, {250, 300, 100, 200, 150, 100}}},
      {kNoviceWhoRises, 1, true, "gameover.mid", nullptr, {"Novice", 27, {250, 300, 100, 200, 150, 100}}},
      {kTankToPlainEnding, 7, false, "end.mid", nullptr, {"Tank", 28, {999, 300, 100, 300, 999, 300}}},
      {kVeteranToTrueEnding, 8, false, "end.mid", kVeteranOpponents,
       {"Veteran", 27, {600, 300, 300, 500, 400, 400}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fighter.name) + " " + std::to_string(c.fighter.seed));
    sound.forget();
    PrepareFighter(c.fighter);
    Fighter before;  // the fighter and the draws as the last battle left them
    GameRandom draws;
    const Screen last = PlayScriptedRun(keys, "A", [&](Screen shown, std::uint32_t start) {
      if (shown == Screen::RoundIntro) {
        ExpectRoundAnnounced(runState.round, start);
        if (c.opponents) ExpectHalfShown("the opponent's", c.opponents[runState.opponentIndex], 12, 12, 16, 4);
        if (runState.round == 1) ExpectHalfShown("the player's", c.fighterInRound1, 14, 9, 6, 19);
      }
      if (shown == Screen::Battle) {
        before = player;
        draws = gameRandom;
      }
      // After round 3 the name boost adds to what the victory gave.
      if (shown == Screen::Victory && runState.round != 4) ExpectVictory(before, draws, start);
    });
    EXPECT_EQ(last, Screen::Title);
    EXPECT_FALSE(player.exists());
    EXPECT_EQ(runState.round, c.lastRound);
    EXPECT_EQ(runState.opponentIndex, std::max(0, c.lastRound - 2));
    if (c.lastRound >= 7) {  // the whole run within 49 turns opens the Extra Round
      EXPECT_EQ(runState.turnCount <= 49, c.lastRound == 8) << runState.turnCount;
    }
    EXPECT_EQ(sound.names("load_music").back(), c.music);
    // A revival starts the battle music again.
    const auto log = SoundLog(sound);
    const auto stop = std::find(log.begin(), log.end(), "stop buttle1.mid");
    EXPECT_EQ(stop < log.end() - 1 && *(stop + 1) == "play buttle1.mid loop", c.rises);
    EXPECT_EQ(log.back(), "wave kettei.wav");
  }
}
