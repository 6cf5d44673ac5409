// Effect voices heard through an offline render (overlaps, restarts, limits, resampling, bad
// files), the mix they go through, and the sound engine's music and its set of players.
#include <gtest/gtest.h>

#include <cmath>

#include "sound/audio/offline_audio.hpp"
#include "sound/audio/source_mix.hpp"
#include "sound/midi/midi_player_set.hpp"
#include "sound/sound_engine.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
struct WaveVoicesTest : testing::Test {
  ScratchDirectory scratch;
  OfflineAudio audio{48000};
  WaveVoices voices{audio};

  // A voice of a mono effect of `frames` samples at `level`; each kind of tone has its own file.
  WaveVoice Steady(std::size_t frames, std::int16_t level = 16384, std::uint32_t rate = 48000) {
    const std::string name = std::to_string(frames) + "-" + std::to_string(level) + "-" + std::to_string(rate) + ".wav";
    scratch.write(name.c_str(), Pcm16Wave(1, rate, std::vector<std::int16_t>(frames, level)));
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

TEST_F(WaveVoicesTest, PlaysBeyond256RefusedBadEffectsRefusedVoicesRestartedReleasedResampledMixedAndKeepSides) {
  // The output stands still (a page whose audio never started): 256 plays wait, the rest are refused.
  for (int effect = 0; effect < 300; ++effect) EXPECT_EQ(voices.play_wave(Steady(1000)), effect < 256) << effect;
  EXPECT_EQ(voices.voice_count(), 256u) << "every refused effect kept its voice";
  EXPECT_EQ(SoundingFrames(2000), 1000u);
  EXPECT_EQ(voices.voice_count(), 0u) << "voices kept after their effects ended";
  for (int effect = 0; effect < 256; ++effect) ASSERT_TRUE(voices.play_wave(Steady(1000)));
  audio.render(10);  // the output running takes all 256
  EXPECT_FALSE(voices.play_wave(Steady(1000))) << "a 257th effect sounding at once";
  EXPECT_EQ(SoundingFrames(2000), 990u);
  EXPECT_FALSE(voices.play_wave(0));
  EXPECT_FALSE(voices.play_wave(12345));
  scratch.write("liar.wav", Riff("WAVE", {Chunk("fmt ", Format(1, 1, 8000, 16)), Text("data"), Le(0xFFFFFFF0u, 4)}));
  EXPECT_EQ(voices.prepare_wave("liar.wav"), 0u);
  EXPECT_EQ(voices.prepare_wave("late.wav"), 0u);
  scratch.write("late.wav", Pcm16Wave(1, 8000, {100}));
  EXPECT_EQ(voices.prepare_wave("late.wav"), 0u) << "an effect that failed was read again";
  const WaveVoice voice = Steady(1000), waiting = Steady(100);  // prepared, never played
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(600), 600u);
  ASSERT_TRUE(voices.play_wave(voice));
  EXPECT_EQ(SoundingFrames(2000), 1000u);  // the whole effect again, not the 400 left
  EXPECT_FALSE(voices.play_wave(voice)) << "a voice kept after its effect ended";
  EXPECT_TRUE(voices.play_wave(waiting));
  // Effects are read once, resampled, mixed together and keep their sides.
  scratch.write("once.wav", Pcm16Wave(1, 22050, std::vector<std::int16_t>(2205, 16384)));  // 100 ms
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  std::filesystem::remove("once.wav");
  EXPECT_NEAR(static_cast<double>(SoundingFrames(9600)), 4800.0, 2.0);
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("once.wav")));
  ASSERT_TRUE(voices.play_wave(Steady(9600, 16384, 96000)));  // 100 ms as well
  EXPECT_NEAR(static_cast<double>(SoundingFrames(9600)), 4800.0, 2.0);
  scratch.write("sides.wav", Pcm16Wave(2, 48000, {8192, -16384, 8192, -16384}));
  ASSERT_TRUE(voices.play_wave(voices.prepare_wave("sides.wav")));
  ASSERT_TRUE(voices.play_wave(Steady(4800, 8192)));  // mono reaches both ears
  const auto sides = audio.render(2);
  EXPECT_NEAR(sides[0], 0.5f, 1e-3);
  EXPECT_NEAR(sides[1], -0.25f, 1e-3);
}

namespace {
// A source that adds `level` to every sample.
struct Level final : AudioSource {
  explicit Level(float level) : level(level) {}
  void mix_into(float* out, std::size_t frames) override {
    for (std::size_t i = 0; i < frames * 2; ++i) out[i] += level;
  }
  float level;
};
}  // namespace

TEST(SourceMix, SumsItsSourcesOverStaleDataAndClampsTheResult) {
  SourceMix mix;
  Level quiet(0.25f), loud(0.75f), louder(0.5f);
  for (Level* source : {&quiet, &loud, &louder}) mix.add(source);
  std::vector<float> out(8, 123.0f);  // stale data from the last callback
  mix.mix(out.data(), 4);
  EXPECT_EQ(out[7], 1.0f) << "1.5 reached the device unclamped";
  mix.remove(&loud);
  mix.mix(out.data(), 4);
  EXPECT_EQ(out[7], 0.75f);
}

TEST(SoundEngine, PlaysBuiltInSoundsRefusesStrangePlayersAndRetiresStoppedOnesAsTheMusicChanges) {
  ScratchDirectory scratch;
  scratch.write("piece.mid", Smf(96, {Join({{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0}, kEndOfTrack})}));
  FakeStreamService streams;
  OfflineAudio audio;
  auto players = std::make_unique<MidiPlayerSet>(streams);
  const MidiPlayerSet& music = *players;
  SoundEngine engine(audio, std::move(players));
  EXPECT_TRUE(engine.play_wave(engine.prepare_wave("kettei.wav"))) << "the built-in effect was not played";
  EXPECT_EQ(engine.load_music("no_such_music.mid"), nullptr);
  MidiStreamPlayer foreign(streams);
  for (MidiStreamPlayer* stranger : {static_cast<MidiStreamPlayer*>(nullptr), &foreign}) {
    EXPECT_FALSE(engine.play_music(stranger, true));
    EXPECT_FALSE(engine.stop_music(stranger));
  }
  MusicPlayer* first = engine.load_music("piece.mid");
  ASSERT_TRUE(engine.play_music(first, true));
  ASSERT_NE(engine.load_music("piece.mid"), nullptr);
  EXPECT_EQ(music.size(), 2u);  // the first still plays, so it stays
  ASSERT_TRUE(engine.stop_music(first));
  auto* const once = static_cast<MidiStreamPlayer*>(engine.load_music("syori.mid"));
  ASSERT_TRUE(engine.play_music(once, false));
  EXPECT_EQ(music.size(), 1u) << "stopped and never-played players kept as the music changed";
  EXPECT_EQ(streams.open_streams, 1);
  streams.hand_back(1000);
  EXPECT_EQ(once->end_state(), MidiStreamPlayer::EndState::Finished) << "a piece played once went on";
  EXPECT_EQ(SoundEngine(audio, nullptr).load_music("title.mid"), nullptr);
}
