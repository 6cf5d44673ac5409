// The sound engine: the game's effects heard through its voices, music handed to the music service.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "console/game_console.hpp"
#include "game/ui/sound_cues.hpp"
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

bool Silent(const std::vector<float>& out) {
  return std::all_of(out.begin(), out.end(), [](float sample) { return std::abs(sample) < 0.1f; });
}
}  // namespace

TEST(SoundEngine, TheGamesEffectsAreHeardUntilReleasedAndItsMusicGoesToTheMusicService) {
  ScratchDirectory scratch;
  std::string calls;
  OfflineAudio audio;
  SoundEngine engine(audio, std::make_unique<FakeMusic>(calls));
  console.attach_sound(&engine);
  PlayEffect("kettei.wav");
  EXPECT_FALSE(Silent(audio.render(4800)));
  PlayEffect("alarm.wav");
  console.release_all_waves();  // as at exit: everything stops
  EXPECT_TRUE(Silent(audio.render(4800)));
  ChangeMusic("title.mid", true);
  ChangeMusic("syori.mid", false);
  EXPECT_EQ(calls, "stop;load title.mid;loop;stop;load syori.mid;once;");
  console.attach_sound(nullptr);

  SoundEngine withoutMusic(audio, nullptr);  // a platform with effects only: music fails quietly
  EXPECT_EQ(withoutMusic.load_music("title.mid"), nullptr);
  EXPECT_FALSE(withoutMusic.play_music(nullptr, true));
}
