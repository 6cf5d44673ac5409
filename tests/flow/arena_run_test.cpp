// Whole runs played by script: game over, a revival, the plain ending and the true one.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/model/run_state.hpp"
#include "tests/support/scripted_run.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

using ArenaRun = GameSession;

namespace {

const std::vector<std::string> kSixRoundsOfMusic = {
    "buttle1.mid", "syori.mid", "buttle1.mid", "syori.mid", "buttle1.mid", "syori.mid",
    "buttle2.mid", "syori.mid", "buttle2.mid", "syori.mid", "buttle3.mid", "end.mid"};

std::vector<std::string> With(std::vector<std::string> music, const std::vector<std::string>& more) {
  music.insert(music.end(), more.begin(), more.end());
  return music;
}

}  // namespace

// The runs follow each other in one session, so each new run must start from round 1 against a
// fresh roster.
TEST_F(ArenaRun, EachRunEndsOnTheTitleTheWayItsFightsGo) {
  // `rises`: the fighter fell and rose again.
  const struct { ScriptedFighter fighter; int lastRound; bool rises; std::vector<std::string> music; } cases[] = {
      {kNovice, 1, false, {"buttle1.mid", "gameover.mid"}},
      {kNoviceWhoRises, 1, true, {"buttle1.mid", "gameover.mid"}},
      {kTankToPlainEnding, 7, false, kSixRoundsOfMusic},
      {kVeteranToTrueEnding, 8, false, With(kSixRoundsOfMusic, {"buttle4.mid", "end.mid"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fighter.name) + " " + std::to_string(c.fighter.seed));
    sound.forget();
    PrepareFighter(c.fighter);
    EXPECT_EQ(PlayScriptedRun(keys, "A"), Screen::Title);
    EXPECT_FALSE(player.exists());
    EXPECT_EQ(runState.round, c.lastRound);
    EXPECT_EQ(runState.opponentIndex, std::max(0, c.lastRound - 2));
    if (c.lastRound >= 7) {  // the whole run within 49 turns opens the Extra Round
      EXPECT_EQ(runState.turnCount <= 49, c.lastRound == 8) << runState.turnCount;
    }
    EXPECT_EQ(sound.names("load_music"), c.music);
    // A revival starts the battle music again, and blows are struck after it.
    const auto log = SoundLog(sound);
    const auto stop = std::find(log.begin(), log.end(), "stop buttle1.mid");
    const bool rose = stop < log.end() - 1 && *(stop + 1) == "play buttle1.mid loop";
    EXPECT_EQ(rose, c.rises);
    if (rose) {
      EXPECT_TRUE(std::any_of(stop + 2, log.end(), [](const std::string& s) {
        return s == "wave tuzyou.wav" || s == "wave kyouda.wav" || s == "wave mahou.wav";
      }));
    }
    EXPECT_EQ(log.back(), "wave kettei.wav");
  }
}
