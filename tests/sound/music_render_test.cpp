// The game's music rendered offline through FluidSynth, and the SoundFont it is made with.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_music.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
constexpr int kRate = 48000;

struct RenderTest : testing::Test {
  std::unique_ptr<SynthEngine> engine = CreateFluidSynthEngine(kRate);
  OfflineAudio output{kRate};

  void SetUp() override {
    if (!engine) GTEST_SKIP() << "no General MIDI SoundFont installed";
  }
};

TEST_F(RenderTest, TheGameMusicPlaysItsBuiltInPiecesOnTheOutput) {
  auto music = CreateMidiMusic(output);
  ASSERT_NE(music, nullptr);
  MusicPlayer* title = music->load_music("title.mid");
  ASSERT_NE(title, nullptr);
  ASSERT_TRUE(music->play_music(title, true));
  // The first 0.3 s lie in the buffers queued before play returns: no refill needs to keep up.
  const auto out = output.render(kRate * 3 / 10);
  double energy = 0;
  for (float sample : out) energy += sample * sample;
  EXPECT_GT(std::sqrt(energy / static_cast<double>(out.size())), 1e-3);
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
