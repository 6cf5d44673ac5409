// WaveFile on files made here (chunk search, the format record, reads, limits and the built-in
// fallback), and turning WAVE samples of every supported kind into floats.
#include <gtest/gtest.h>

#include <bit>

#include "sound/wave/wave_file.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
struct WaveFileTest : testing::Test {
  ScratchDirectory scratch;
  WaveFile file;

  WaveStatus Open(const Bytes& bytes, const char* name = "test.wav", std::uint64_t size = 0) {
    scratch.write(name, bytes, size);
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

TEST_F(WaveFileTest, FindsChunksInAnyOrderReadsTheDataOnceUntilResetAndRefusesAnythingButAWholeRiffWave) {
  EXPECT_EQ(file.open(nullptr, nullptr, WAVE_READ), E_INVALIDARG);
  EXPECT_EQ(file.reset(), CO_E_NOTINITIALIZED);
  const Bytes data = Chunk("data", Text("abcd")), pcm = Chunk("fmt ", Format(1, 1, 8000, 8));
  const struct {
    Bytes body;
    std::uint16_t tag;
    std::string extra;
  } cases[] = {
      {Join({Chunk("LIST", Text("odd")), data, Chunk("junk", Text("x")), Chunk("fmt ", Format(1, 2, 44100, 16))}), 1,
       ""},
      {Join({Chunk("fmt ", Join({Format(2, 2, 44100, 16), Le(3, 2), Text("pqr")})), data}), 2, "pqr"},
      // past a 16-byte chunk the count comes from the next chunk's identifier: 2, then "xy"
      {Join({Chunk("fmt ", Format(3, 2, 44100, 16)), Chunk(std::string_view("\2\0xy", 4), {}), data}), 3, "xy"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Open(Riff("WAVE", {c.body})), S_OK) << c.tag;
    EXPECT_EQ(file.format()->block_align, 4);
    EXPECT_EQ(std::string(file.format()->extra.begin(), file.format()->extra.end()), c.extra) << c.tag;
    EXPECT_EQ(Read(3), "abc");
    EXPECT_EQ(Read(), "d");
    EXPECT_EQ(Read(), "");  // past the data: 0 bytes and success
    ASSERT_EQ(file.reset(), S_OK);
    EXPECT_EQ(Read(), "abcd");
  }
  ASSERT_EQ(Open(Riff("WAVE", {pcm, Text("data"), Le(1000, 4), Text("short")})), S_OK);
  EXPECT_EQ(file.size(), 1000u);
  EXPECT_EQ(Read(1000), "!0");
  const Bytes refused[] = {
      Riff("WAVX", {pcm, data}),
      Riff("WAVE", {data}),
      Riff("WAVE", {pcm}),
      Riff("WAVE", {Chunk("fmt ", Bytes(14, 1)), data}),
      Riff("WAVE", {Chunk("fmt ", Join({Format(3, 1, 8000, 32), Le(500, 2)}))}),  // extra bytes past the end
  };
  for (const Bytes& bytes : refused) EXPECT_EQ(Open(bytes), E_FAIL) << testing::PrintToString(bytes);
}

TEST_F(WaveFileTest, AMissingHostileOrOversizedEffectFileGivesWayToTheBuiltInOne) {
  ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK);
  const std::uint32_t builtIn = file.size();
  // A header whose data chunk claims `dataSize` bytes, with `there` of them there.
  const auto claiming = [](std::uint32_t dataSize, std::size_t there = 0) {
    return Join({Text("RIFF"), Le(dataSize + 36, 4), Text("WAVE"), Chunk("fmt ", Format(1, 2, 44100, 16)), Text("data"),
                 Le(dataSize, 4), Bytes(there, 1)});
  };
  std::vector<Bytes> emptyChunks(RiffFile::kMaxSkippedChunks + 1, Chunk("junk", {}));
  const struct {
    Bytes file;
    std::uint64_t size;
    std::uint32_t expected;
  } cases[] = {
      {Pcm16Wave(2, 11025, {1, 2, 3, 4}), 0, 8},
      {claiming(0xFFFFFF00u), 4ull << 30, builtIn},
      {claiming(4, 4), kMaxEffectFileBytes, 4},  // the file's size, padded, at its limit
      {claiming(4, 4), kMaxEffectFileBytes + 1, builtIn},
      {Riff("WAVE", {Join(emptyChunks), Chunk("fmt ", Format(1, 1, 8000, 8)), Chunk("data", Text("ab"))}), 0, builtIn},
      {claiming(60 * 176400, 4), 0, 60 * 176400},  // a minute is still taken
      {claiming(60 * 176400 + 4, 4), 0, builtIn},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Open(c.file, "kasoru.wav", c.size), S_OK) << c.size;
    EXPECT_EQ(file.size(), c.expected) << c.size;
  }
  std::filesystem::remove("kasoru.wav");
  scratch.make_fifo("kasoru.wav");
  ASSERT_EQ(file.open("kasoru.wav", nullptr, WAVE_READ), S_OK) << "the game hung on a FIFO";
  EXPECT_EQ(file.size(), builtIn);
  EXPECT_EQ(file.open("nothing.wav", nullptr, WAVE_READ), E_FAIL);
}

namespace {
WaveFormat MakeFormat(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits, std::uint32_t rate = 8000) {
  return {tag, channels, rate, 0, static_cast<std::uint16_t>(channels * bits / 8), bits, {}};
}
// WAVE_FORMAT_EXTENSIBLE naming the plain encoding `tag` by its GUID.
WaveFormat Extensible(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits) {
  WaveFormat format = MakeFormat(WAVE_FORMAT_EXTENSIBLE, channels, bits);
  format.extra = Join({Le(0, 6), Le(tag, 4), {0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}});
  return format;
}
Bytes Float32(float value) { return Le(std::bit_cast<std::uint32_t>(value), 4); }
}  // namespace

TEST(DecodeWave, ConvertsEverySampleKindToFloatsAndRefusesWhatCannotPlay) {
  const struct {
    WaveFormat format;
    Bytes data;
    std::vector<float> expected;
  } cases[] = {
      {MakeFormat(1, 1, 8), {0x00, 0x80, 0xC0, 0xFF}, {-1.0f, 0.0f, 0.5f, 127 / 128.0f}},
      {MakeFormat(1, 1, 16), Join({Le(0x8000, 2), Le(0x4000, 2)}), {-1.0f, 0.5f}},
      {MakeFormat(1, 1, 24), Join({Le(0x800000, 3), Le(0xC00000, 3)}), {-1.0f, -0.5f}},
      {MakeFormat(3, 1, 32), Join({Float32(3.0f), Float32(-0.25f), Le(0x7FC00000, 4)}), {1.0f, -0.25f, 0.0f}},
      {MakeFormat(1, 2, 16), Join({Le(0x4000, 2), Le(0xC000, 2), {1}}), {0.5f, -0.5f}},  // partial frame dropped
      {MakeFormat(1, 4, 8), {0xC0, 0x40, 0x80, 0x80, 0x40, 0xC0, 0x80, 0x80}, {0.5f, -0.5f, -0.5f, 0.5f}},
      {Extensible(WAVE_FORMAT_IEEE_FLOAT, 2, 32), Join({Float32(0.5f), Float32(-0.5f)}), {0.5f, -0.5f}},
  };
  for (const auto& c : cases) {
    const auto sound = DecodeWave(c.format, c.data);
    ASSERT_TRUE(sound) << c.format.bits_per_sample;
    EXPECT_EQ(sound->samples, c.expected) << c.format.bits_per_sample << " bits, " << c.format.channels << " channels";
  }
  WaveFormat narrowBlock = MakeFormat(1, 2, 16), unknownGuid = Extensible(WAVE_FORMAT_PCM, 1, 16);
  narrowBlock.block_align = 2;
  unknownGuid.extra[20] = 0;
  for (const WaveFormat& format :
       {MakeFormat(2, 1, 4), MakeFormat(1, 1, 12), MakeFormat(1, 0, 16), MakeFormat(1, 1, 16, 100000000), narrowBlock,
        MakeFormat(1, 65535, 16), MakeFormat(WAVE_FORMAT_EXTENSIBLE, 1, 16), unknownGuid})
    EXPECT_FALSE(DecodeWave(format, Bytes(64, 0x10))) << format.format_tag << " " << format.bits_per_sample;
}
