// Effect voices heard through an offline render: overlaps, restarts, resampling, release, bad files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "sound/audio/offline_audio.hpp"
#include "sound/wave/wave_voices.hpp"
#include "tests/sound/wave_bytes.hpp"

using namespace wave_bytes;

namespace {
constexpr int kRate = 48000;

// One past the last frame whose left sample sounds, and how many frames sound at all.
struct Sounding {
  std::size_t length = 0, frames = 0;
};
Sounding SoundingOf(const std::vector<float>& stereo) {
  Sounding sounding;
  for (std::size_t frame = 0; frame < stereo.size() / 2; ++frame)
    if (std::abs(stereo[frame * 2]) > 1e-4f) sounding = {frame + 1, sounding.frames + 1};
  return sounding;
}

struct WaveVoicesTest : testing::Test {
  ScratchDirectory scratch;
  OfflineAudio audio{kRate};
  WaveVoices voices{audio};

  // A mono effect of `frames` samples all at `level`, prepared as a voice. Effects are kept by
  // name, so each kind of tone has its own.
  WaveVoice Steady(std::size_t frames, std::int16_t level = 16384, std::uint32_t rate = kRate) {
    const std::string name = "tone" + std::to_string(frames) + "-" + std::to_string(level) + "-" + std::to_string(rate) + ".wav";
    scratch.write(name, Pcm16Wave(1, rate, std::vector<std::int16_t>(frames, level)));
    return voices.prepare_wave(name.c_str());
  }
  std::size_t SoundingFrames(std::size_t frames) { return SoundingOf(audio.render(frames)).frames; }
};
}  // namespace

TEST_F(WaveVoicesTest, NoVoiceForZeroUnknownMissingOrUnplayableEffects) {
  EXPECT_FALSE(voices.play_wave(0));
  EXPECT_FALSE(voices.play_wave(12345));
  EXPECT_EQ(voices.prepare_wave("missing.wav"), 0u);
  EXPECT_EQ(voices.prepare_wave(nullptr), 0u);
  scratch.write("garbage.wav", "not a wave file at all");
  EXPECT_EQ(voices.prepare_wave("garbage.wav"), 0u);
  scratch.write("adpcm.wav", RiffWave({Chunk("fmt ", Format(2, 1, 8000, 4) + Little(0, 2)), Chunk("data", "abcd")}));
  EXPECT_EQ(voices.prepare_wave("adpcm.wav"), 0u);
  scratch.write("liar.wav", RiffWave({Chunk("fmt ", Format(1, 1, 8000, 16)), "data" + Little(0xFFFFFFF0u, 4) + "abcd"}));
  EXPECT_EQ(voices.prepare_wave("liar.wav"), 0u);
  EXPECT_EQ(voices.voice_count(), 0u);
}

TEST_F(WaveVoicesTest, AnEffectIsReadOnceAndKeptForEveryLaterPlay) {
  scratch.write("once.wav", Pcm16Wave(1, kRate, std::vector<std::int16_t>(100, 16384)));
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  std::filesystem::remove("once.wav");
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  EXPECT_EQ(SoundingFrames(200), 100u);
}

TEST_F(WaveVoicesTest, OverlappingEffectsAreHeardTogetherAndStereoKeepsItsSides) {
  ASSERT_TRUE(voices.play_wave(Steady(4800, 8192)));  // 0.25 for 100 ms
  const auto alone = audio.render(2400);
  ASSERT_TRUE(voices.play_wave(Steady(4800, 16384)));  // 0.5 for 100 ms
  const auto together = audio.render(2400);
  const auto later = audio.render(2400);
  EXPECT_NEAR(alone[100], 0.25f, 1e-3);
  EXPECT_NEAR(together[100], 0.75f, 1e-3);
  EXPECT_NEAR(together[101], 0.75f, 1e-3);  // mono reaches both ears
  EXPECT_NEAR(later[100], 0.5f, 1e-3);      // the first has ended, the second goes on

  scratch.write("sides.wav", Pcm16Wave(2, kRate, {8192, -16384, 8192, -16384}));
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("sides.wav")));
  const auto sides = audio.render(2400);
  EXPECT_NEAR(sides[0], 0.25f, 1e-3);
  EXPECT_NEAR(sides[1], -0.5f, 1e-3);
}

TEST_F(WaveVoicesTest, PlaysAtTheOutputRateWhateverTheFileRate) {
  const struct {
    std::uint32_t rate;
    std::size_t frames, expected;
  } cases[] = {{22050, 2205, 4800}, {8000, 800, 4800}, {96000, 9600, 4800}, {44100, 441, 480}};
  for (const auto& c : cases) {
    ASSERT_TRUE(voices.play_wave(Steady(c.frames, 16384, c.rate))) << c.rate;
    EXPECT_NEAR(static_cast<double>(SoundingFrames(kRate / 5)), static_cast<double>(c.expected), 2.0) << c.rate;
  }
}

TEST_F(WaveVoicesTest, PlayingAgainRestartsFromTheBeginning) {
  const WaveVoice voice = Steady(1000);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(600), 600u);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(2000), 1000u);  // the whole effect again, not the 400 left
}

TEST_F(WaveVoicesTest, FinishedVoicesAreReleasedAndTheirNumbersNeverReturn) {
  const WaveVoice first = Steady(100);
  ASSERT_TRUE(voices.play_wave(first));
  const WaveVoice waiting = Steady(100);  // prepared, never played
  audio.render(200);
  EXPECT_EQ(voices.voice_count(), 1u);
  EXPECT_FALSE(voices.play_wave(first));
  const WaveVoice next = Steady(100);
  EXPECT_NE(next, 0u);
  EXPECT_NE(next, first);
  EXPECT_NE(next, waiting);
  EXPECT_TRUE(voices.play_wave(waiting));
}

TEST_F(WaveVoicesTest, StartsBeyondWhatTheOutputCanTakeFailUntilItCatchesUp) {
  for (std::size_t i = 0; i < WaveVoices::kMaxPlays; ++i) ASSERT_TRUE(voices.play_wave(Steady(10, 100))) << i;
  EXPECT_FALSE(voices.play_wave(Steady(10, 100)));
  audio.render(64);
  EXPECT_TRUE(voices.play_wave(Steady(10, 100)));
}

TEST_F(WaveVoicesTest, ReleaseAllSilencesAndForgetsEveryVoice) {
  const WaveVoice playing = Steady(48000);
  ASSERT_TRUE(voices.play_wave(playing));
  audio.render(100);
  voices.release_all_waves();
  EXPECT_EQ(SoundingFrames(100), 0u);
  EXPECT_EQ(voices.voice_count(), 0u);
  EXPECT_FALSE(voices.play_wave(playing));
  EXPECT_TRUE(voices.play_wave(Steady(48000)));  // and it plays on afterwards
  EXPECT_EQ(SoundingFrames(100), 100u);
}

TEST_F(WaveVoicesTest, BuiltInEffectsAreShortCleanAndTheAlarmIsLongest) {
  std::size_t longest = 0;
  std::string longest_name;
  for (const char* name : {"kettei.wav", "kasoru.wav", "flush.wav", "create.wav", "alarm.wav", "tuzyou.wav",
                           "kyouda.wav", "mahou.wav"}) {
    ASSERT_TRUE(voices.play_wave(voices.prepare_wave(name))) << name;
    const auto out = audio.render(kRate * 2);
    const std::size_t length = SoundingOf(out).length;
    EXPECT_GT(length, kRate / 50u) << name;
    EXPECT_LT(length, kRate * 8 / 5u) << name;
    const float peak = std::abs(*std::max_element(out.begin(), out.end(), [](float a, float b) {
      return std::abs(a) < std::abs(b);
    }));
    EXPECT_GT(peak, 0.3f) << name;
    EXPECT_LT(peak, 0.75f) << name;
    EXPECT_LT(std::abs(out[0]), 0.01f) << name << " starts with a click";
    if (length > 0) {
      EXPECT_LT(std::abs(out[(length - 1) * 2]), 0.01f) << name << " stops with a click";
    }
    if (length > longest) {
      longest = length;
      longest_name = name;
    }
  }
  EXPECT_EQ(longest_name, "alarm.wav");
}
