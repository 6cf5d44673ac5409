// WaveFile: chunk search, the format record, reads and the built-in fallback, on files made here.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "sound/wave/wave_file.hpp"
#include "tests/sound/wave_bytes.hpp"

using namespace wave_bytes;

namespace {
struct WaveFileTest : testing::Test {
  ScratchDirectory scratch;
  WaveFile file;

  WaveStatus Open(const std::string& bytes) {
    scratch.write("test.wav", bytes);
    return file.open("test.wav", nullptr, WAVE_READ);
  }
  // Reads up to `wanted` bytes of data; "!" and the count delivered when the read fails.
  std::string Read(std::uint32_t wanted = 100) {
    std::string data(wanted, '\0');
    std::uint32_t got = 99;
    if (file.read(reinterpret_cast<std::uint8_t*>(data.data()), wanted, &got) != S_OK) return "!" + std::to_string(got);
    return data.substr(0, got);
  }
};
}  // namespace

TEST_F(WaveFileTest, BadArgumentsAndUnopenedFilesGiveTheirStatus) {
  EXPECT_EQ(file.open("nothing.wav", nullptr, WAVE_READ), E_FAIL);
  EXPECT_EQ(file.format(), nullptr);
  std::uint8_t byte;
  std::uint32_t got = 0;
  EXPECT_EQ(file.read(&byte, 1, &got), CO_E_NOTINITIALIZED);
  EXPECT_EQ(file.reset(), CO_E_NOTINITIALIZED);
  EXPECT_EQ(file.open(nullptr, nullptr, WAVE_READ), E_INVALIDARG);
  EXPECT_EQ(file.open("kettei.wav", nullptr, 2), E_FAIL);  // writing
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.read(nullptr, 1, &got), E_INVALIDARG);
  EXPECT_EQ(file.read(&byte, 1, nullptr), E_INVALIDARG);
}

TEST_F(WaveFileTest, AnythingButAWholeRiffWaveFails) {
  const std::string body = Chunk("fmt ", Format(1, 1, 8000, 8)) + Chunk("data", "ab");
  const std::string size = Little(4 + static_cast<std::uint32_t>(body.size()), 4);
  const std::string cases[] = {
      "",
      "RIFF",
      "RIFX" + size + "WAVE" + body,
      "RIFF" + size + "AVI " + body,
      RiffWave({Chunk("data", "ab")}),                                               // no "fmt "
      RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8))}),                              // no "data"
      RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8).substr(0, 14)), Chunk("data", "ab")}),
      "RIFF" + Little(100, 4) + "WAVEfmt " + Little(16, 4) + "\x01",                 // cut inside "fmt "
      RiffWave({Chunk("fmt ", Format(3, 1, 8000, 32) + Little(500, 2))}),            // extra bytes past the end
  };
  for (const std::string& bytes : cases) EXPECT_EQ(Open(bytes), E_FAIL) << testing::PrintToString(bytes);
}

TEST_F(WaveFileTest, ReadsTheFormatRecordWithItsExtraBytes) {
  const struct {
    std::string fmt_and_next;
    std::uint16_t tag;
    std::vector<std::uint8_t> extra;
  } cases[] = {
      {Chunk("fmt ", Format(1, 2, 44100, 16)), 1, {}},
      {Chunk("fmt ", Format(2, 2, 44100, 16) + Little(3, 2) + "pqr"), 2, {'p', 'q', 'r'}},
      // past a 16-byte chunk the count comes from the next chunk's identifier: 2, then "xy"
      {Chunk("fmt ", Format(3, 2, 44100, 16)) + Chunk(std::string("\x02\x00xy", 4), ""), 3, {'x', 'y'}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Open(RiffWave({c.fmt_and_next, Chunk("data", "abcd")})), S_OK) << c.tag;
    const WaveFormat& format = *file.format();
    EXPECT_EQ(format.format_tag, c.tag);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samples_per_second, 44100u);
    EXPECT_EQ(format.average_bytes_per_second, 176400u);
    EXPECT_EQ(format.block_align, 4);
    EXPECT_EQ(format.bits_per_sample, 16);
    EXPECT_EQ(format.extra, c.extra) << c.tag;
    EXPECT_EQ(Read(), "abcd") << c.tag;
  }
}

TEST_F(WaveFileTest, FindsChunksInAnyOrderAndReadsTheDataOnceUntilReset) {
  ASSERT_EQ(Open(RiffWave({Chunk("LIST", "odd"), Chunk("data", "hello!"), Chunk("junk", "x"),
                           Chunk("fmt ", Format(1, 1, 8000, 8))})),
            S_OK);
  EXPECT_EQ(file.format()->samples_per_second, 8000u);
  EXPECT_EQ(file.size(), 6u);
  EXPECT_EQ(Read(4), "hell");
  EXPECT_EQ(Read(), "o!");
  EXPECT_EQ(Read(), "");  // past the data: 0 bytes and success
  ASSERT_EQ(file.reset(), S_OK);
  EXPECT_EQ(Read(), "hello!");
}

TEST_F(WaveFileTest, DataRunningPastTheEndFailsToRead) {
  ASSERT_EQ(Open(RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8)), "data" + Little(1000, 4) + "short"})), S_OK);
  EXPECT_EQ(file.size(), 1000u);
  EXPECT_EQ(Read(1000), "!0");
}

TEST_F(WaveFileTest, FallsBackToTheBuiltInEffectUnlessTheWorkingDirectoryHasOne) {
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.format()->samples_per_second, 22050u);
  EXPECT_GT(file.size(), 1000u);
  scratch.write("kettei.wav", Pcm16Wave(2, 11025, {1, 2, 3, 4}));
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.format()->samples_per_second, 11025u);
  EXPECT_EQ(file.size(), 8u);
}

TEST_F(WaveFileTest, AHostileOrOversizedEffectFileGivesWayToTheBuiltInOne) {
  ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK);
  const std::uint32_t builtInSize = file.size();
  // A header whose data chunk claims `dataSize` bytes, with none of them there.
  const auto claiming = [](std::uint32_t dataSize) {
    return "RIFF" + Little(dataSize + 36, 4) + "WAVE" + Chunk("fmt ", Format(1, 2, 44100, 16)) + "data" +
           Little(dataSize, 4);
  };
  std::string emptyChunks;
  for (int i = 0; i < 100000; ++i) emptyChunks += Chunk("junk", "");
  using Hostile = ScratchDirectory::Hostile;
  const struct {
    const char* what;
    std::function<void()> make;
  } cases[] = {
      {"a directory", [&] { scratch.make("kasoru.wav", Hostile::Directory); }},
      {"a FIFO nobody writes", [&] { scratch.make("kasoru.wav", Hostile::Fifo); }},
      {"a link to /dev/zero", [&] { scratch.make("kasoru.wav", Hostile::EndlessDevice); }},
      {"4 GB, sparse", [&] { scratch.write_sparse("kasoru.wav", claiming(0xFFFFFF00u), 4ull << 30); }},
      {"200 MB, sparse", [&] { scratch.write_sparse("kasoru.wav", claiming(200u << 20), 200u << 20); }},
      {"empty chunks by the 100,000",
       [&] { scratch.write("kasoru.wav", RiffWave({emptyChunks, Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", "ab")})); }},
      {"61 s of data claimed", [&] { scratch.write("kasoru.wav", claiming(61 * 176400) + "abcd"); }},
  };
  for (const auto& c : cases) {
    c.make();
    ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK) << c.what;
    EXPECT_EQ(file.size(), builtInSize) << c.what;
    std::filesystem::remove_all("kasoru.wav");
  }
  scratch.write("kasoru.wav", claiming(60 * 176400));  // a minute is still taken
  ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK);
  EXPECT_EQ(file.size(), 60u * 176400);
}
