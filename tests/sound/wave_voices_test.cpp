// Effect voices heard through an offline render: overlaps, restarts, resampling, bad files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "sound/audio/offline_audio.hpp"
#include "sound/wave/wave_voices.hpp"
#include "tests/sound/wave_bytes.hpp"

using namespace wave_bytes;

namespace {
constexpr int kRate = 48000;

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
  // How many frames of the next `frames` sound in the left ear.
  std::size_t SoundingFrames(std::size_t frames) {
    const auto stereo = audio.render(frames);
    std::size_t sounding = 0;
    for (std::size_t frame = 0; frame < frames; ++frame) sounding += std::abs(stereo[frame * 2]) > 1e-4f;
    return sounding;
  }
};
}  // namespace

TEST_F(WaveVoicesTest, PlaysRefusedLeaveNoVoiceBadEffectsRefusedVoicesRestartedReleasedResampledMixedAndKeepSides) {
  // The output stands still (a page whose audio never started): 256 plays wait, the rest are refused.
  for (int effect = 0; effect < 300; ++effect) EXPECT_EQ(voices.play_wave(Steady(1000)), effect < 256) << effect;
  EXPECT_EQ(voices.voice_count(), 256u) << "every refused effect kept its voice";
  EXPECT_EQ(SoundingFrames(2000), 1000u);
  EXPECT_EQ(voices.voice_count(), 0u) << "voices kept after their effects ended";
  EXPECT_FALSE(voices.play_wave(0));
  EXPECT_FALSE(voices.play_wave(12345));
  EXPECT_EQ(voices.prepare_wave("missing.wav"), 0u);
  scratch.write("liar.wav", RiffWave({Chunk("fmt ", Format(1, 1, 8000, 16)), "data" + Little(0xFFFFFFF0u, 4) + "abcd"}));
  EXPECT_EQ(voices.prepare_wave("liar.wav"), 0u);
  EXPECT_EQ(voices.voice_count(), 0u);
  const WaveVoice voice = Steady(1000);
  const WaveVoice waiting = Steady(100);  // prepared, never played
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(600), 600u);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(2000), 1000u);  // the whole effect again, not the 400 left
  EXPECT_EQ(voices.voice_count(), 1u);
  EXPECT_FALSE(voices.play_wave(voice));
  const WaveVoice next = Steady(100);
  EXPECT_NE(next, voice);
  EXPECT_NE(next, waiting);
  EXPECT_TRUE(voices.play_wave(waiting));  // its 100 frames lie inside the next effect's
  // Effects are read once, resampled, mixed together and keep their sides.
  scratch.write("once.wav", Pcm16Wave(1, 22050, std::vector<std::int16_t>(2205, 16384)));  // 100 ms
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  std::filesystem::remove("once.wav");
  EXPECT_NEAR(static_cast<double>(SoundingFrames(kRate / 5)), 4800.0, 2.0);
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  ASSERT_TRUE(voices.play_wave(Steady(9600, 16384, 96000)));  // 100 ms as well
  EXPECT_NEAR(static_cast<double>(SoundingFrames(kRate / 5)), 4800.0, 2.0);
  ASSERT_TRUE(voices.play_wave(Steady(4800, 8192)));  // 0.25 for 100 ms
  const auto alone = audio.render(2400);
  ASSERT_TRUE(voices.play_wave(Steady(4800, 16384)));  // 0.5 for 100 ms
  const auto together = audio.render(2400);
  const auto later = audio.render(2400);
  EXPECT_NEAR(alone[100], 0.25f, 1e-3);
  EXPECT_NEAR(together[101], 0.75f, 1e-3);  // mono reaches both ears
  EXPECT_NEAR(later[100], 0.5f, 1e-3);      // the first has ended, the second goes on

  scratch.write("sides.wav", Pcm16Wave(2, kRate, {8192, -16384, 8192, -16384}));
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("sides.wav")));
  const auto sides = audio.render(2400);
  EXPECT_NEAR(sides[0], 0.25f, 1e-3);
  EXPECT_NEAR(sides[1], -0.5f, 1e-3);
}
