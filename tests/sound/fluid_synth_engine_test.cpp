// The music through FluidSynth: the game's pieces are heard, and only a regular SoundFont is read.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
TEST(FluidSynthEngine, ASoundFontThatIsNotARegularFileIsRefusedWithoutWaitingForIt) {
  ScratchDirectory scratch;
  using Hostile = ScratchDirectory::Hostile;
  for (const Hostile what : {Hostile::Directory, Hostile::Fifo, Hostile::EndlessDevice}) {
    scratch.make("font.sf2", what);
    EXPECT_EQ(CreateFluidSynthEngine(48000, "font.sf2"), nullptr) << static_cast<int>(what);
    std::filesystem::remove_all("font.sf2");
  }
}

TEST(FluidSynthEngine, TheTitleMusicIsHeardInBothChannels) {
  const std::unique_ptr<SynthEngine> engine = CreateFluidSynthEngine(48000);
  if (!engine) GTEST_SKIP() << "no General MIDI SoundFont installed";
  SynthStreamService streams(*engine, 48000, SynthStreamService::Mixing::Offline);
  OfflineAudio output(48000);
  output.add_source(&streams);
  MidiStreamPlayer player(streams);
  ASSERT_TRUE(player.sequence().load("title.mid"));
  ASSERT_TRUE(player.play(true));
  double power[2] = {0, 0};
  for (int chunk = 0; chunk < 300; ++chunk) {  // three seconds
    const std::vector<float> samples = output.render(480);
    for (std::size_t i = 0; i < samples.size(); ++i) power[i % 2] += samples[i] * samples[i];
    streams.settle();
  }
  for (const double channel : power) EXPECT_GT(std::sqrt(channel / (300 * 480)), 0.01);
}
}  // namespace
