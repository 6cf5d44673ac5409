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

  WaveStatus Open(const std::string& bytes, const char* name = "test.wav") {
    scratch.write(name, bytes);
    return file.open(name, nullptr, WAVE_READ);
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

TEST_F(WaveFileTest, BadArgumentsUnopenedFilesAndAnythingButAWholeRiffWaveGiveTheirStatus) {
  EXPECT_EQ(file.open("nothing.wav", nullptr, WAVE_READ), E_FAIL);
  EXPECT_EQ(file.format(), nullptr);
  EXPECT_EQ(Read(1), "!99");  // not opened: the count is left alone
  EXPECT_EQ(file.reset(), CO_E_NOTINITIALIZED);
  EXPECT_EQ(file.open(nullptr, nullptr, WAVE_READ), E_INVALIDARG);
  ASSERT_EQ(file.open("kettei.wav", nullptr, WAVE_READ), S_OK);
  std::uint32_t got = 0;
  EXPECT_EQ(file.read(nullptr, 1, &got), E_INVALIDARG);
  const std::string body = Chunk("fmt ", Format(1, 1, 8000, 8)) + Chunk("data", "ab");
  const std::string size = Little(4 + static_cast<std::uint32_t>(body.size()), 4);
  const std::string cases[] = {
      "",
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

TEST_F(WaveFileTest, FindsChunksInAnyOrderReadsTheDataOnceUntilResetAndFallsBackToBuiltIns) {
  const std::string data = Chunk("data", "abcd");
  const struct { std::string body; std::uint16_t tag; std::vector<std::uint8_t> extra; } cases[] = {
      {Chunk("LIST", "odd") + data + Chunk("junk", "x") + Chunk("fmt ", Format(1, 2, 44100, 16)), 1,
       {}},
      {Chunk("fmt ", Format(2, 2, 44100, 16) + Little(3, 2) + "pqr") + data, 2, {'p', 'q', 'r'}},
      // past a 16-byte chunk the count comes from the next chunk's identifier: 2, then "xy"
      {Chunk("fmt ", Format(3, 2, 44100, 16)) + Chunk(Little(2, 2) + "xy", "") + data, 3,
       {'x', 'y'}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Open(RiffWave({c.body})), S_OK) << c.tag;
    EXPECT_EQ(file.format()->format_tag, c.tag);
    EXPECT_EQ(file.format()->block_align, 4);
    EXPECT_EQ(file.format()->extra, c.extra) << c.tag;
    EXPECT_EQ(file.size(), 4u);
    EXPECT_EQ(Read(3), "abc");
    EXPECT_EQ(Read(), "d");
    EXPECT_EQ(Read(), "");  // past the data: 0 bytes and success
    ASSERT_EQ(file.reset(), S_OK);
    EXPECT_EQ(Read(), "abcd");
  }
  ASSERT_EQ(Open(RiffWave({Chunk("fmt ", Format(1, 1, 8000, 8)), "data" + Little(1000, 4) + "short"})), S_OK);
  EXPECT_EQ(file.size(), 1000u);
  EXPECT_EQ(Read(1000), "!0");

  // A missing, hostile or oversized effect file gives way to the built-in one.
  ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK);
  const std::uint32_t builtInSize = file.size();
  ASSERT_EQ(Open(Pcm16Wave(2, 11025, {1, 2, 3, 4}), "kasoru.wav"), S_OK);
  EXPECT_EQ(file.size(), 8u);
  // A header whose data chunk claims `dataSize` bytes, with none of them there.
  const auto claiming = [](std::uint32_t dataSize) {
    return "RIFF" + Little(dataSize + 36, 4) + "WAVE" + Chunk("fmt ", Format(1, 2, 44100, 16)) + "data" +
           Little(dataSize, 4);
  };
  std::string emptyChunks;
  for (int i = 0; i < 100000; ++i) emptyChunks += Chunk("junk", "");
  const std::string manyChunks = RiffWave({emptyChunks, Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", "ab")});
  using Hostile = ScratchDirectory::Hostile;
  const std::function<void()> hostile[] = {
      [&] { scratch.make("kasoru.wav", Hostile::Directory); },
      [&] { scratch.make("kasoru.wav", Hostile::Fifo); },  // nobody writes to it
      [&] { scratch.make("kasoru.wav", Hostile::EndlessDevice); },
      [&] { scratch.write_sparse("kasoru.wav", claiming(0xFFFFFF00u), 4ull << 30); },
      [&] { scratch.write("kasoru.wav", manyChunks); },
      [&] { scratch.write("kasoru.wav", claiming(61 * 176400) + "abcd"); },  // longer than a minute
  };
  for (std::size_t i = 0; i < std::size(hostile); ++i) {
    std::filesystem::remove_all("kasoru.wav");
    hostile[i]();
    ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK) << i;
    EXPECT_EQ(file.size(), builtInSize) << i;
  }
  ASSERT_EQ(Open(claiming(60 * 176400), "kasoru.wav"), S_OK);  // a minute is still taken
  EXPECT_EQ(file.size(), 60u * 176400);
}
