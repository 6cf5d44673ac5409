// The sound engine: the game's effects heard through its voices, music handed to the music service.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "console/game_console.hpp"
#include "game/flow/sound_cues.hpp"
#include "sound/audio/offline_audio.hpp"
#include "sound/sound_engine.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
// Notes each call; the player it hands out is the only one it knows.
struct FakeMusic final : MusicService {
  explicit FakeMusic(std::string& calls) : calls(calls) {}
  MusicPlayer* load_music(const char* name) override {
    calls += std::string("load ") + name + ";";
    return &player;
  }
  bool play_music(MusicPlayer* played, bool loop) override {
    calls += loop ? "loop;" : "once;";
    return played == &player;
  }
  bool stop_music(MusicPlayer* stopped) override {
    calls += "stop;";
    return stopped == &player;
  }
  std::string& calls;
  MusicPlayer player;
};
}  // namespace

TEST(SoundEngine, TheGamesEffectsAreHeardUntilReleasedAndMusicFailsQuietlyWithoutAService) {
  ScratchDirectory scratch;
  OfflineAudio audio;
  SoundEngine engine(audio, nullptr);
  console.attach_sound(&engine);
  EXPECT_EQ(console.load_music("title.mid"), nullptr);
  EXPECT_FALSE(console.play_music(nullptr, true));
  EXPECT_FALSE(console.stop_music(nullptr));
  PlayEffect("kettei.wav");
  const auto out = audio.render(4800);
  EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](float sample) { return std::abs(sample) > 0.1f; }));
  PlayEffect("alarm.wav");
  console.release_all_waves();  // as at exit: everything stops
  const auto after = audio.render(4800);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](float sample) { return sample == 0.0f; }));
  console.attach_sound(nullptr);
}

TEST(SoundEngine, HandsMusicCallsToTheMusicService) {
  std::string calls;
  OfflineAudio audio;
  SoundEngine engine(audio, std::make_unique<FakeMusic>(calls));
  MusicPlayer* player = engine.load_music("title.mid");
  ASSERT_NE(player, nullptr);
  EXPECT_TRUE(engine.play_music(player, true));
  EXPECT_TRUE(engine.stop_music(player));
  EXPECT_FALSE(engine.play_music(nullptr, false));
  EXPECT_EQ(calls, "load title.mid;loop;stop;once;");
}
