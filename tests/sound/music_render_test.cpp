// Music rendered offline through FluidSynth: the piece's length and sound where its notes are.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_music.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "tests/sound/midi_test_files.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
constexpr int kRate = 48000;
constexpr std::size_t kChunk = 480;

struct RenderTest : testing::Test {
  std::unique_ptr<SynthEngine> engine = CreateFluidSynthEngine(kRate);
  OfflineAudio output{kRate};
  std::vector<float> samples;

  void SetUp() override {
    if (!engine) GTEST_SKIP() << "no General MIDI SoundFont installed";
  }

  // Renders a chunk; when `streams` is given, lets its hand-backs finish as a device's pace would.
  void RenderChunk(SynthStreamService* streams = nullptr) {
    const auto chunk = output.render(kChunk);
    samples.insert(samples.end(), chunk.begin(), chunk.end());
    if (streams) streams->settle();
  }

  double Loudness(double from, double to) const {
    double sum = 0;
    const auto begin = static_cast<std::size_t>(from * kRate) * 2, end = static_cast<std::size_t>(to * kRate) * 2;
    for (std::size_t i = begin; i < end && i < samples.size(); ++i) sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
  }
};

TEST_F(RenderTest, AKnownPieceSoundsWhereItsNotesAreAndLastsItsLength) {
  // 120 a minute at 96 ticks a quarter: a note from 0.5 s to 1.0 s, another from 3.0 s to 3.5 s.
  const Bytes piece = Smf(96, {Join({TempoEvent(500000),
                                     {0x00, 0xC0, 19, 0x60, 0x90, 69, 110, 0x60, 0x80, 69, 0, 0x83, 0x00, 0x90, 72, 110,
                                      0x60, 0x80, 72, 0},
                                     kEndOfTrack})});
  SynthStreamService streams(*engine, kRate, SynthStreamService::Mixing::Offline);
  output.add_source(&streams);
  MidiStreamPlayer player(streams);
  ASSERT_TRUE(player.sequence().parse_image(piece));
  ASSERT_TRUE(player.play(false));
  while (player.end_state() != MidiStreamPlayer::EndState::Finished && samples.size() < 20u * kRate)
    RenderChunk(&streams);
  EXPECT_NEAR(static_cast<double>(samples.size() / 2) / kRate, 3.5, 0.035);
  while (samples.size() < 10u * kRate) RenderChunk(&streams);

  const double quiet = 1e-4;
  EXPECT_LT(Loudness(0.0, 0.49), quiet);
  EXPECT_GT(Loudness(0.52, 0.98), 100 * quiet);
  EXPECT_LT(Loudness(2.5, 2.99), quiet);
  EXPECT_GT(Loudness(3.02, 3.48), 100 * quiet);
  EXPECT_LT(Loudness(4.5, 5.0), quiet);
}

TEST_F(RenderTest, TheGameMusicPlaysItsBuiltInPiecesOnTheOutput) {
  auto music = CreateMidiMusic(output);
  ASSERT_NE(music, nullptr);
  MusicPlayer* title = music->load_music("title.mid");
  ASSERT_NE(title, nullptr);
  ASSERT_TRUE(music->play_music(title, true));
  // The first 0.3 s lie in the buffers queued before play returns: no refill needs to keep up.
  for (int i = 0; i < 30; ++i) RenderChunk();
  EXPECT_GT(Loudness(0.0, 0.3), 1e-3);
  EXPECT_TRUE(music->stop_music(title));
  EXPECT_EQ(music->load_music("missing.mid"), nullptr);
}

TEST_F(RenderTest, ASoundFontThatIsNotARegularFileIsRefusedWithoutWaitingForIt) {
  ScratchDirectory scratch;
  using Hostile = ScratchDirectory::Hostile;
  for (const Hostile what : {Hostile::Directory, Hostile::Fifo, Hostile::EndlessDevice}) {
    scratch.make("font.sf2", what);
    EXPECT_EQ(CreateFluidSynthEngine(kRate, "font.sf2"), nullptr) << static_cast<int>(what);
    std::filesystem::remove_all("font.sf2");
  }
}
}  // namespace
