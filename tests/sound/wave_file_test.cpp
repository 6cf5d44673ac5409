// WaveFile: chunk search, the format record, reads and the built-in fallback, on files made here.
#include <gtest/gtest.h>

#include <vector>

#include "sound/wave/wave_file.hpp"
#include "tests/sound/wave_bytes.hpp"

using namespace wave_bytes;

namespace {
// Writes `bytes` as "test.wav" in the scratch directory and opens it for reading.
WaveStatus OpenBytes(ScratchDirectory& scratch, WaveFile& file, const std::string& bytes) {
  scratch.write("test.wav", bytes);
  return file.open("test.wav", nullptr, WAVE_READ);
}

std::string ReadAll(WaveFile& file) {
  std::string data(file.size() + 10, '\0');
  std::uint32_t got = 0;
  EXPECT_EQ(file.read(reinterpret_cast<std::uint8_t*>(data.data()), static_cast<std::uint32_t>(data.size()), &got), S_OK);
  data.resize(got);
  return data;
}
}  // namespace

TEST(WaveFile, MissingNameWithoutResourceFailsAndLeavesNothingOpen) {
  ScratchDirectory scratch;
  WaveFile file;
  EXPECT_EQ(file.open("nothing.wav", nullptr, WAVE_READ), E_FAIL);
  EXPECT_EQ(file.format(), nullptr);
  std::uint8_t byte;
  std::uint32_t got = 7;
  EXPECT_EQ(file.read(&byte, 1, &got), CO_E_NOTINITIALIZED);
  EXPECT_EQ(file.reset(), CO_E_NOTINITIALIZED);
}

TEST(WaveFile, RejectsBadArgumentsAndWriting) {
  ScratchDirectory scratch;
  WaveFile file;
  EXPECT_EQ(file.open(nullptr, nullptr, WAVE_READ), E_INVALIDARG);
  EXPECT_EQ(file.open("kettei.wav", nullptr, 2), E_FAIL);
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  std::uint32_t got = 0;
  std::uint8_t byte;
  EXPECT_EQ(file.read(nullptr, 1, &got), E_INVALIDARG);
  EXPECT_EQ(file.read(&byte, 1, nullptr), E_INVALIDARG);
}

TEST(WaveFile, AnythingButRiffWaveFails) {
  const std::string good_body = Chunk("fmt ", Format(1, 1, 8000, 8)) + Chunk("data", "ab");
  const std::string cases[] = {
      "",
      "RIFF",
      "RIFX" + Little(4 + static_cast<std::uint32_t>(good_body.size()), 4) + "WAVE" + good_body,
      "RIFF" + Little(4 + static_cast<std::uint32_t>(good_body.size()), 4) + "AVI " + good_body,
      RiffWave({Chunk("data", "ab")}),                            // no "fmt "
      RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8))}),           // no "data"
      RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8).substr(0, 14)), Chunk("data", "ab")}),
      "RIFF" + Little(100, 4) + "WAVEfmt " + Little(16, 4) + "\x01",  // cut inside "fmt "
  };
  ScratchDirectory scratch;
  for (const std::string& bytes : cases) {
    WaveFile file;
    EXPECT_EQ(OpenBytes(scratch, file, bytes), E_FAIL) << testing::PrintToString(bytes);
  }
}

TEST(WaveFile, PcmFormatIsTheSixteenBytesWithNoExtra) {
  ScratchDirectory scratch;
  WaveFile file;
  ASSERT_EQ(OpenBytes(scratch, file, RiffWave({Chunk("fmt ", Format(1, 2, 44100, 16)), Chunk("data", "abcd")})), S_OK);
  const WaveFormat& format = *file.format();
  EXPECT_EQ(format.format_tag, 1);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samples_per_second, 44100u);
  EXPECT_EQ(format.average_bytes_per_second, 176400u);
  EXPECT_EQ(format.block_align, 4);
  EXPECT_EQ(format.bits_per_sample, 16);
  EXPECT_TRUE(format.extra.empty());
  EXPECT_EQ(file.size(), 4u);
}

TEST(WaveFile, NonPcmFormatReadsItsExtraCountEvenPastASixteenByteChunk) {
  ScratchDirectory scratch;
  {  // the count comes from the next chunk's identifier: "\x02\x00" then "xy" as extra bytes
    WaveFile file;
    ASSERT_EQ(OpenBytes(scratch, file,
                        RiffWave({Chunk("fmt ", Format(3, 1, 8000, 32)), Chunk(std::string("\x02\x00xy", 4), ""),
                                  Chunk("data", "abcd")})),
              S_OK);
    EXPECT_EQ(file.format()->extra, (std::vector<std::uint8_t>{'x', 'y'}));
    EXPECT_EQ(ReadAll(file), "abcd");
  }
  {  // an extra count inside the chunk
    WaveFile file;
    ASSERT_EQ(OpenBytes(scratch, file,
                        RiffWave({Chunk("fmt ", Format(2, 1, 8000, 4) + Little(3, 2) + "pqr"), Chunk("data", "z")})),
              S_OK);
    EXPECT_EQ(file.format()->extra, (std::vector<std::uint8_t>{'p', 'q', 'r'}));
  }
  {  // a count that runs past the end of the file
    WaveFile file;
    EXPECT_EQ(OpenBytes(scratch, file, RiffWave({Chunk("fmt ", Format(3, 1, 8000, 32) + Little(500, 2))})), E_FAIL);
  }
}

TEST(WaveFile, FindsDataBeforeFormatAndSkipsOtherChunksWithTheirPadBytes) {
  ScratchDirectory scratch;
  WaveFile file;
  ASSERT_EQ(OpenBytes(scratch, file,
                      RiffWave({Chunk("LIST", "odd"), Chunk("data", "hello"), Chunk("junk", "x"),
                                Chunk("fmt ", Format(1, 1, 8000, 8))})),
            S_OK);
  EXPECT_EQ(file.format()->samples_per_second, 8000u);
  EXPECT_EQ(file.size(), 5u);
  EXPECT_EQ(ReadAll(file), "hello");
}

TEST(WaveFile, ReadsGiveTheDataOnceUntilReset) {
  ScratchDirectory scratch;
  WaveFile file;
  ASSERT_EQ(OpenBytes(scratch, file, RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", "abcdef")})), S_OK);
  std::uint8_t buffer[4];
  std::uint32_t got = 0;
  ASSERT_EQ(file.read(buffer, 4, &got), S_OK);
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(ReadAll(file), "ef");
  EXPECT_EQ(ReadAll(file), "");  // past the data: 0 bytes and success
  ASSERT_EQ(file.reset(), S_OK);
  EXPECT_EQ(ReadAll(file), "abcdef");
}

TEST(WaveFile, DataRunningPastTheEndFailsToRead) {
  ScratchDirectory scratch;
  WaveFile file;
  const std::string bytes = RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8)), "data" + Little(1000, 4) + "short"});
  ASSERT_EQ(OpenBytes(scratch, file, bytes), S_OK);
  EXPECT_EQ(file.size(), 1000u);
  std::vector<std::uint8_t> buffer(1000);
  std::uint32_t got = 99;
  EXPECT_EQ(file.read(buffer.data(), 1000, &got), E_FAIL);
  EXPECT_EQ(got, 0u);
}

TEST(WaveFile, FallsBackToTheBuiltInEffectUnlessTheWorkingDirectoryHasOne) {
  ScratchDirectory scratch;
  {
    WaveFile file;
    ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
    EXPECT_EQ(file.format()->samples_per_second, 22050u);
    EXPECT_GT(file.size(), 1000u);
  }
  scratch.write("kettei.wav", Pcm16Wave(2, 11025, {1, 2, 3, 4}));
  WaveFile file;
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.format()->samples_per_second, 11025u);
  EXPECT_EQ(file.size(), 8u);
}
