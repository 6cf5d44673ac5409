// Effect voices heard through an offline render: overlaps, restarts, resampling, release, bad files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sound/audio/offline_audio.hpp"
#include "sound/wave/wave_voices.hpp"
#include "tests/sound/wave_bytes.hpp"

using namespace wave_bytes;

namespace {
constexpr int kRate = 48000;

// Rendered frames whose left sample is not silent.
std::size_t SoundingFrames(const std::vector<float>& stereo) {
  std::size_t count = 0;
  for (std::size_t frame = 0; frame < stereo.size() / 2; ++frame)
    if (std::abs(stereo[frame * 2]) > 1e-4f) ++count;
  return count;
}

// One past the last frame whose left sample is not silent: how long the render sounds.
std::size_t SoundingLength(const std::vector<float>& stereo) {
  std::size_t length = 0;
  for (std::size_t frame = 0; frame < stereo.size() / 2; ++frame)
    if (std::abs(stereo[frame * 2]) > 1e-4f) length = frame + 1;
  return length;
}

class WaveVoicesTest : public testing::Test {
 protected:
  ScratchDirectory scratch;
  OfflineAudio audio{kRate};
  WaveVoices voices{audio};
};
}  // namespace

TEST_F(WaveVoicesTest, NoVoiceForZeroUnknownOrMissing) {
  EXPECT_FALSE(voices.play_wave(0));
  EXPECT_FALSE(voices.play_wave(12345));
  EXPECT_EQ(voices.prepare_wave("missing.wav"), 0u);
  EXPECT_EQ(voices.prepare_wave(nullptr), 0u);
  scratch.write("garbage.wav", "not a wave file at all");
  EXPECT_EQ(voices.prepare_wave("garbage.wav"), 0u);
  scratch.write("adpcm.wav", RiffWave({Chunk("fmt ", Format(2, 1, 8000, 4) + Little(0, 2)), Chunk("data", "abcd")}));
  EXPECT_EQ(voices.prepare_wave("adpcm.wav"), 0u);
  EXPECT_EQ(voices.voice_count(), 0u);
}

TEST_F(WaveVoicesTest, OverlappingEffectsAreHeardTogether) {
  scratch.write("low.wav", SteadyWave(kRate, 4800, 8192));    // 0.25 for 100 ms
  scratch.write("high.wav", SteadyWave(kRate, 4800, 16384));  // 0.5 for 100 ms
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("low.wav")));
  const auto alone = audio.render(2400);
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("high.wav")));
  const auto together = audio.render(2400);
  const auto later = audio.render(2400);
  EXPECT_NEAR(alone[100], 0.25f, 1e-3);
  EXPECT_NEAR(together[100], 0.75f, 1e-3);
  EXPECT_NEAR(together[101], 0.75f, 1e-3);  // mono reaches both ears
  EXPECT_NEAR(later[100], 0.5f, 1e-3);      // the first has ended, the second goes on
}

TEST_F(WaveVoicesTest, PlaysAtTheOutputRateWhateverTheFileRate) {
  const struct {
    std::uint32_t rate;
    std::size_t frames, expected;
  } cases[] = {{22050, 2205, 4800}, {8000, 800, 4800}, {96000, 9600, 4800}, {44100, 441, 480}};
  for (const auto& c : cases) {
    scratch.write("tone.wav", SteadyWave(c.rate, c.frames, 16384));
    ASSERT_TRUE(voices.play_wave(voices.prepare_wave("tone.wav"))) << c.rate;
    const std::size_t heard = SoundingFrames(audio.render(kRate / 5));
    EXPECT_NEAR(static_cast<double>(heard), static_cast<double>(c.expected), 2.0) << c.rate;
  }
}

TEST_F(WaveVoicesTest, StereoFilesKeepTheirSides) {
  scratch.write("sides.wav", Pcm16Wave(2, kRate, {8192, -16384, 8192, -16384}));
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("sides.wav")));
  const auto out = audio.render(1);
  EXPECT_NEAR(out[0], 0.25f, 1e-3);
  EXPECT_NEAR(out[1], -0.5f, 1e-3);
}

TEST_F(WaveVoicesTest, PlayingAgainRestartsFromTheBeginning) {
  scratch.write("tone.wav", SteadyWave(kRate, 1000, 16384));
  const WaveVoice voice = voices.prepare_wave("tone.wav");
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(audio.render(600)), 600u);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(audio.render(2000)), 1000u);  // the whole effect again, not the 400 left
}

TEST_F(WaveVoicesTest, FinishedVoicesAreReleasedAndTheirNumbersNeverReturn) {
  scratch.write("tone.wav", SteadyWave(kRate, 100, 16384));
  const WaveVoice first = voices.prepare_wave("tone.wav");
  ASSERT_TRUE(voices.play_wave(first));
  const WaveVoice waiting = voices.prepare_wave("tone.wav");  // prepared, never played
  audio.render(200);
  EXPECT_EQ(voices.voice_count(), 1u);
  EXPECT_FALSE(voices.play_wave(first));
  const WaveVoice next = voices.prepare_wave("tone.wav");
  EXPECT_NE(next, 0u);
  EXPECT_NE(next, first);
  EXPECT_NE(next, waiting);
  EXPECT_TRUE(voices.play_wave(waiting));
}

TEST_F(WaveVoicesTest, StartsBeyondWhatTheOutputCanTakeFailUntilItCatchesUp) {
  scratch.write("tone.wav", SteadyWave(kRate, 10, 100));
  for (std::size_t i = 0; i < WaveVoices::kMaxPlays; ++i)
    ASSERT_TRUE(voices.play_wave(voices.prepare_wave("tone.wav"))) << i;
  EXPECT_FALSE(voices.play_wave(voices.prepare_wave("tone.wav")));
  audio.render(64);
  EXPECT_TRUE(voices.play_wave(voices.prepare_wave("tone.wav")));
}

TEST_F(WaveVoicesTest, ReleaseAllSilencesAndForgetsEveryVoice) {
  scratch.write("tone.wav", SteadyWave(kRate, 48000, 16384));
  const WaveVoice playing = voices.prepare_wave("tone.wav");
  ASSERT_TRUE(voices.play_wave(playing));
  audio.render(100);
  voices.release_all_waves();
  EXPECT_EQ(SoundingFrames(audio.render(100)), 0u);
  EXPECT_EQ(voices.voice_count(), 0u);
  EXPECT_FALSE(voices.play_wave(playing));
  EXPECT_TRUE(voices.play_wave(voices.prepare_wave("tone.wav")));  // and it plays on afterwards
  EXPECT_EQ(SoundingFrames(audio.render(100)), 100u);
}

TEST_F(WaveVoicesTest, DataSizedPastTheFileGivesASilentVoiceWithoutAHugeAllocation) {
  scratch.write("liar.wav", RiffWave({Chunk("fmt ", Format(1, 1, 8000, 16)), "data" + Little(0xFFFFFFF0u, 4) + "abcd"}));
  const WaveVoice voice = voices.prepare_wave("liar.wav");
  ASSERT_NE(voice, 0u);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(audio.render(100)), 0u);
}

TEST_F(WaveVoicesTest, BuiltInEffectsAreShortCleanAndTheAlarmIsLongest) {
  const char* names[] = {"kettei.wav", "kasoru.wav", "flush.wav",  "create.wav",
                         "alarm.wav",  "tuzyou.wav", "kyouda.wav", "mahou.wav"};
  std::size_t longest = 0;
  std::string longest_name;
  for (const char* name : names) {
    ASSERT_TRUE(voices.play_wave(voices.prepare_wave(name))) << name;
    const auto out = audio.render(kRate * 2);
    const std::size_t length = SoundingLength(out);
    ASSERT_GT(length, 0u) << name;
    float peak = 0.0f;
    for (float sample : out) peak = std::max(peak, std::abs(sample));
    EXPECT_GT(length, kRate / 50u) << name;
    EXPECT_LT(length, kRate * 8 / 5u) << name;
    EXPECT_GT(peak, 0.3f) << name;
    EXPECT_LT(peak, 0.75f) << name;
    EXPECT_LT(std::abs(out[0]), 0.01f) << name << " starts with a click";
    EXPECT_LT(std::abs(out[(length - 1) * 2]), 0.01f) << name << " stops with a click";
    if (length > longest) {
      longest = length;
      longest_name = name;
    }
  }
  EXPECT_EQ(longest_name, "alarm.wav");
}
