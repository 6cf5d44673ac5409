// Turning WAVE samples of every supported kind into floats, and refusing what cannot play.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sound/wave/wave_format.hpp"
#include "tests/sound/wave_bytes.hpp"

using wave_bytes::Little;

namespace {
WaveFormat MakeFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  WaveFormat format;
  format.format_tag = tag;
  format.channels = channels;
  format.samples_per_second = rate;
  format.bits_per_sample = bits;
  format.block_align = static_cast<std::uint16_t>(channels * bits / 8);
  return format;
}

// The extra bytes of WAVE_FORMAT_EXTENSIBLE naming the plain encoding `tag`.
std::vector<std::uint8_t> ExtensibleExtra(std::uint16_t tag) {
  const std::string extra = Little(0, 2) + Little(0, 4) + Little(tag, 4) +
                            std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
  return {extra.begin(), extra.end()};
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string FloatBytes(float value) {
  std::uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  return Little(raw, 4);
}

std::string DoubleBytes(double value) {
  std::uint64_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  return Little(static_cast<std::uint32_t>(raw), 4) + Little(static_cast<std::uint32_t>(raw >> 32), 4);
}
}  // namespace

TEST(DecodeWave, ConvertsEverySampleKindToFloats) {
  struct Case {
    const char* what;
    WaveFormat format;
    std::string data;
    std::vector<float> expected;
  } cases[] = {
      {"8-bit unsigned", MakeFormat(1, 1, 8000, 8), std::string("\x00\x80\xC0", 3), {-1.0f, 0.0f, 0.5f}},
      {"16-bit", MakeFormat(1, 1, 8000, 16), Little(0x8000, 2) + Little(0, 2) + Little(0x4000, 2), {-1.0f, 0.0f, 0.5f}},
      {"24-bit", MakeFormat(1, 1, 8000, 24), Little(0x800000, 3) + Little(0xC00000, 3) + Little(0x400000, 3),
       {-1.0f, -0.5f, 0.5f}},
      {"32-bit", MakeFormat(1, 1, 8000, 32), Little(0x80000000u, 4) + Little(0x40000000, 4), {-1.0f, 0.5f}},
      {"32-bit float", MakeFormat(3, 1, 8000, 32), FloatBytes(-0.25f) + FloatBytes(0.75f), {-0.25f, 0.75f}},
      {"64-bit float", MakeFormat(3, 1, 8000, 64), DoubleBytes(0.125) + DoubleBytes(-0.5), {0.125f, -0.5f}},
      {"float out of range or not a number", MakeFormat(3, 1, 8000, 32),
       FloatBytes(3.0f) + FloatBytes(-3.0f) + Little(0x7FC00000, 4), {1.0f, -1.0f, 0.0f}},
      {"stereo stays interleaved", MakeFormat(1, 2, 8000, 16), Little(0x4000, 2) + Little(0xC000, 2), {0.5f, -0.5f}},
      {"partial last frame dropped", MakeFormat(1, 2, 8000, 16), Little(0x4000, 2) + Little(0xC000, 2) + "\x01",
       {0.5f, -0.5f}},
  };
  for (const Case& c : cases) {
    const auto sound = DecodeWave(c.format, Bytes(c.data));
    ASSERT_TRUE(sound) << c.what;
    EXPECT_EQ(sound->rate, 8000u) << c.what;
    ASSERT_EQ(sound->samples.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_NEAR(sound->samples[i], c.expected[i], 1e-6) << c.what << " sample " << i;
  }
}

TEST(DecodeWave, ExtensibleFormatsPlayByTheirSubformat) {
  WaveFormat floats = MakeFormat(WAVE_FORMAT_EXTENSIBLE, 2, 48000, 32);
  floats.extra = ExtensibleExtra(WAVE_FORMAT_IEEE_FLOAT);
  const auto sound = DecodeWave(floats, Bytes(FloatBytes(0.5f) + FloatBytes(-0.5f)));
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->channels, 2);
  EXPECT_EQ(sound->samples, (std::vector<float>{0.5f, -0.5f}));

  WaveFormat pcm = MakeFormat(WAVE_FORMAT_EXTENSIBLE, 1, 48000, 16);
  pcm.extra = ExtensibleExtra(WAVE_FORMAT_PCM);
  ASSERT_TRUE(DecodeWave(pcm, Bytes(Little(0x4000, 2))));

  WaveFormat unknown = pcm;
  unknown.extra[20] = 0;  // not the known GUID
  EXPECT_FALSE(DecodeWave(unknown, Bytes(Little(0x4000, 2))));
}

TEST(DecodeWave, MoreThanTwoChannelsKeepTheFirstTwo) {
  const auto sound = DecodeWave(MakeFormat(1, 4, 8000, 8), Bytes("\xC0\x40\x80\x80\x40\xC0\x80\x80"));
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->channels, 2);
  EXPECT_EQ(sound->samples, (std::vector<float>{0.5f, -0.5f, -0.5f, 0.5f}));
}

TEST(DecodeWave, RefusesFormatsThatCannotPlay) {
  WaveFormat narrow_block = MakeFormat(1, 2, 8000, 16);
  narrow_block.block_align = 2;
  WaveFormat absurd_channels = MakeFormat(1, 65535, 8000, 16);
  const WaveFormat cases[] = {
      MakeFormat(2, 1, 8000, 4),         // ADPCM
      MakeFormat(1, 1, 8000, 12),        // no such PCM width
      MakeFormat(3, 1, 8000, 16),        // no such float width
      MakeFormat(1, 0, 8000, 16),        // no channels
      MakeFormat(1, 1, 0, 16),           // no rate
      MakeFormat(1, 1, 100000000, 16),   // absurd rate
      narrow_block,
      absurd_channels,                   // its block alignment cannot hold the channels
      MakeFormat(WAVE_FORMAT_EXTENSIBLE, 1, 8000, 16),  // extensible without its extra bytes
  };
  for (const WaveFormat& format : cases)
    EXPECT_FALSE(DecodeWave(format, Bytes(std::string(64, '\x10'))))
        << format.format_tag << " " << format.channels << " " << format.samples_per_second << " "
        << format.bits_per_sample << " " << format.block_align;
}
