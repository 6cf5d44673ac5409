// The SoundFont the music is made with: FluidSynth reads it by name, so only a regular file goes.
#include <gtest/gtest.h>

#include <filesystem>

#include "sound/midi/fluid_synth_engine.hpp"
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
}  // namespace
