// Whole runs on the headless back end: game over, a revival, the plain ending and the true one.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/model/run_state.hpp"
#include "tests/flow/scripted_run.hpp"
#include "tests/flow/sound_log.hpp"
#include "tests/support/game_session.hpp"

namespace {

class ArenaRun : public GameSession {
 protected:
  Screen Play(const ScriptedFighter& fighter) {
    PrepareFighter(fighter);
    return PlayScriptedRun(keys, "A");
  }

  // The pieces of music loaded during the run, in order.
  std::vector<std::string> MusicLoaded() const { return sound.names("load_music"); }

  // Where the battle music started again, looping, right after it was stopped: one revival each.
  std::vector<std::size_t> Revivals() const {
    const auto& calls = sound.calls();
    std::vector<std::size_t> at;
    for (std::size_t i = 1; i < calls.size(); ++i)
      if (calls[i].what == "play_music" && calls[i - 1].what == "stop_music" &&
          calls[i].name == calls[i - 1].name && calls[i].loop)
        at.push_back(i);
    return at;
  }
};

const std::vector<std::string> kSixRoundsOfMusic = {
    "buttle1.mid", "syori.mid", "buttle1.mid", "syori.mid", "buttle1.mid", "syori.mid",
    "buttle2.mid", "syori.mid", "buttle2.mid", "syori.mid", "buttle3.mid", "end.mid"};

}  // namespace

TEST_F(ArenaRun, AFallenNoviceEndsTheRunWithGameOver) {
  EXPECT_EQ(Play(kNovice), Screen::Title);
  EXPECT_FALSE(player.exists());
  EXPECT_EQ(runState.round, 1);
  EXPECT_TRUE(Revivals().empty());
  EXPECT_EQ(MusicLoaded(), (std::vector<std::string>{"buttle1.mid", "gameover.mid"}));
  EXPECT_EQ(SoundLog(sound).back(), "wave kettei.wav");
  EXPECT_TRUE(Shows(38, 21, "ＧＡＭＥ ＯＶＥＲ", 12, 15));
  EXPECT_TRUE(Shows(20, 19, std::string(50, ' '), 15, 15));
}

TEST_F(ArenaRun, ARevivedFighterFightsOn) {
  EXPECT_EQ(Play(kNoviceWhoRises), Screen::Title);
  const auto revivals = Revivals();
  ASSERT_FALSE(revivals.empty());
  // After the battle music came back, the battle went on: more blows were struck.
  const auto& calls = sound.calls();
  EXPECT_TRUE(std::any_of(calls.begin() + revivals.front(), calls.end(), [](const auto& c) {
    return c.name == "tuzyou.wav" || c.name == "kyouda.wav" || c.name == "mahou.wav";
  }));
  EXPECT_FALSE(player.exists());
  EXPECT_EQ(MusicLoaded().back(), "gameover.mid");
}

TEST_F(ArenaRun, SixRoundsInMoreThan49TurnsGiveThePlainEnding) {
  EXPECT_EQ(Play(kTankToPlainEnding), Screen::Title);
  EXPECT_GT(runState.turnCount, 49);
  EXPECT_EQ(runState.round, 7);
  EXPECT_EQ(runState.opponentIndex, 5);
  EXPECT_FALSE(player.exists());
  EXPECT_EQ(MusicLoaded(), kSixRoundsOfMusic);
  EXPECT_TRUE(Shows(30, 21, "Ｃｏｎｇｒａｔｕｌａｔｉｏｎ......？", 9, 15));
  EXPECT_EQ(SoundLog(sound).back(), "wave kettei.wav");
}

TEST_F(ArenaRun, SevenRoundsWithin49TurnsGiveTheTrueEnding) {
  EXPECT_EQ(Play(kVeteranToTrueEnding), Screen::Title);
  EXPECT_LE(runState.turnCount, 49);
  EXPECT_EQ(runState.round, 8);
  EXPECT_EQ(runState.opponentIndex, 6);
  EXPECT_FALSE(player.exists());
  std::vector<std::string> music = kSixRoundsOfMusic;
  music.insert(music.end(), {"buttle4.mid", "end.mid"});
  EXPECT_EQ(MusicLoaded(), music);
  const auto log = SoundLog(sound);
  // The Extra Round's challenger stops the ending music with a flash, then the alarm sounds.
  const std::size_t stop = std::find(log.begin(), log.end(), "stop end.mid") - log.begin();
  ASSERT_LT(stop + 2, log.size());
  EXPECT_EQ(log[stop + 1], "wave flush.wav");
  EXPECT_EQ(log[stop + 2], "wave alarm.wav");
  EXPECT_TRUE(Shows(20, 19, "Ｃｏｎｇｒａｔｕｌａｔｉｏｎ！", 6, 15));
  EXPECT_TRUE(Shows(20, 21, "おめでとうございますです！", 0, 15));
}
