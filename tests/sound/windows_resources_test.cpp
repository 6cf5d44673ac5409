// The built-in sound set as resources of the Windows program: found by name and type, and read by WaveFile.
#include <gtest/gtest.h>

#include <vector>

#include "sound/resources/embedded_resources.hpp"
#include "sound/wave/wave_file.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
struct Asset {
  const char* name;
  const char* type;
};
constexpr Asset kAssets[] = {
    {"kettei.wav", "WAVE"},   {"kasoru.wav", "WAVE"},  {"flush.wav", "WAVE"},    {"create.wav", "WAVE"},
    {"alarm.wav", "WAVE"},    {"tuzyou.wav", "WAVE"},  {"kyouda.wav", "WAVE"},   {"mahou.wav", "WAVE"},
    {"title.mid", "MIDI"},    {"entry.mid", "MIDI"},   {"buttle1.mid", "MIDI"},  {"buttle2.mid", "MIDI"},
    {"buttle3.mid", "MIDI"},  {"buttle4.mid", "MIDI"}, {"syori.mid", "MIDI"},    {"gameover.mid", "MIDI"},
    {"end.mid", "MIDI"},
};
}  // namespace

TEST(WindowsResources, HoldEveryBuiltInSoundUnderItsNameAndTypeInAnyCase) {
  for (const Asset& asset : kAssets) EXPECT_TRUE(FindEmbeddedResource(asset.name, asset.type).has_value()) << asset.name;
  EXPECT_TRUE(FindEmbeddedResource("KETTEI.WAV", "wave").has_value());
  EXPECT_TRUE(FindEmbeddedResource("Title.Mid", "Midi").has_value());
}

TEST(WindowsResources, FindNothingUnderAnotherTypeOrName) {
  const Asset absent[] = {{"kettei.wav", "MIDI"}, {"title.mid", "WAVE"}, {"kettei.wav", "WAV"},
                          {"nosuch.wav", "WAVE"}, {"kettei", "WAVE"},    {"", "WAVE"}};
  for (const Asset& asset : absent)
    EXPECT_FALSE(FindEmbeddedResource(asset.name, asset.type).has_value()) << asset.name << " " << asset.type;
}

TEST(WindowsResources, WaveFileReadsAnEffectFromTheProgramWhenNoFileIsThere) {
  ScratchDirectory empty;
  WaveFile file;
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  ASSERT_NE(file.format(), nullptr);
  EXPECT_EQ(file.format()->format_tag, WAVE_FORMAT_PCM);
  std::vector<std::uint8_t> data(file.size());
  std::uint32_t got = 0;
  EXPECT_EQ(file.read(data.data(), file.size(), &got), S_OK);
  EXPECT_EQ(got, file.size());
  EXPECT_GT(got, 0u);

  WaveFile missing;
  EXPECT_EQ(missing.open("nosuch.wav", nullptr, WAVE_READ), E_FAIL);
}

TEST(WindowsResources, AFileInTheWorkingDirectoryComesFirst) {
  ScratchDirectory directory;
  directory.write("kettei.wav", wave_bytes::Pcm16Wave(1, 8000, {1, 2, 3}));
  WaveFile file;
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.size(), 6u);
}
