// Turning WAVE samples of every supported kind into floats, and refusing what cannot play.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "sound/wave/wave_format.hpp"
#include "tests/sound/wave_bytes.hpp"

using wave_bytes::Little;
using namespace std::string_literals;

namespace {
WaveFormat MakeFormat(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits, std::uint32_t rate = 8000) {
  return {tag, channels, rate, 0, static_cast<std::uint16_t>(channels * bits / 8), bits, {}};
}

// WAVE_FORMAT_EXTENSIBLE naming the plain encoding `tag` by its GUID.
WaveFormat Extensible(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits) {
  WaveFormat format = MakeFormat(WAVE_FORMAT_EXTENSIBLE, channels, bits);
  const std::string extra =
      Little(0, 2) + Little(0, 4) + Little(tag, 4) + "\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71"s;
  format.extra.assign(extra.begin(), extra.end());
  return format;
}

std::string Raw32(float value) { return Little(std::bit_cast<std::uint32_t>(value), 4); }

std::optional<DecodedSound> Decode(const WaveFormat& format, const std::string& data) {
  return DecodeWave(format, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
}
}  // namespace

TEST(DecodeWave, ConvertsEverySampleKindToFloatsAndRefusesWhatCannotPlay) {
  const struct { const char* what; WaveFormat format; std::string data; std::vector<float> expected; } cases[] = {
      {"8-bit unsigned", MakeFormat(1, 1, 8), "\x00\x80\xC0\xFF"s, {-1.0f, 0.0f, 0.5f, 127 / 128.0f}},
      {"16-bit", MakeFormat(1, 1, 16), Little(0x8000, 2) + Little(0, 2) + Little(0x4000, 2), {-1.0f, 0.0f, 0.5f}},
      {"24-bit", MakeFormat(1, 1, 24), Little(0x800000, 3) + Little(0xC00000, 3), {-1.0f, -0.5f}},
      {"32-bit", MakeFormat(1, 1, 32), Little(0x80000000u, 4) + Little(0x40000000, 4), {-1.0f, 0.5f}},
      {"32-bit float", MakeFormat(3, 1, 32), Raw32(-0.25f) + Raw32(0.75f), {-0.25f, 0.75f}},
      {"64-bit float", MakeFormat(3, 1, 64),
       Little(std::bit_cast<std::uint64_t>(0.125), 8) + Little(std::bit_cast<std::uint64_t>(-0.5), 8), {0.125f, -0.5f}},
      {"float out of range or not a number", MakeFormat(3, 1, 32), Raw32(3.0f) + Raw32(-3.0f) + Little(0x7FC00000, 4),
       {1.0f, -1.0f, 0.0f}},
      {"stereo, partial last frame dropped", MakeFormat(1, 2, 16), Little(0x4000, 2) + Little(0xC000, 2) + "\x01",
       {0.5f, -0.5f}},
      {"four channels keep the first two", MakeFormat(1, 4, 8), "\xC0\x40\x80\x80\x40\xC0\x80\x80",
       {0.5f, -0.5f, -0.5f, 0.5f}},
      {"extensible float", Extensible(WAVE_FORMAT_IEEE_FLOAT, 2, 32), Raw32(0.5f) + Raw32(-0.5f), {0.5f, -0.5f}},
      {"extensible PCM", Extensible(WAVE_FORMAT_PCM, 1, 16), Little(0x4000, 2), {0.5f}},
  };
  for (const auto& c : cases) {
    const auto sound = Decode(c.format, c.data);
    ASSERT_TRUE(sound) << c.what;
    EXPECT_EQ(sound->channels, std::min<int>(c.format.channels, 2)) << c.what;
    ASSERT_EQ(sound->samples.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_NEAR(sound->samples[i], c.expected[i], 1e-6) << c.what << " sample " << i;
  }
  // Formats that cannot play are refused.
  WaveFormat narrow_block = MakeFormat(1, 2, 16);
  narrow_block.block_align = 2;
  WaveFormat unknown_guid = Extensible(WAVE_FORMAT_PCM, 1, 16);
  unknown_guid.extra[20] = 0;
  const WaveFormat refused[] = {
      MakeFormat(2, 1, 4),                          // ADPCM
      MakeFormat(1, 1, 12),                         // no such PCM width
      MakeFormat(3, 1, 16),                         // no such float width
      MakeFormat(1, 0, 16),                         // no channels
      MakeFormat(1, 1, 16, 0),                      // no rate
      MakeFormat(1, 1, 16, 100000000),              // absurd rate
      narrow_block,
      MakeFormat(1, 65535, 16),                     // its block alignment cannot hold the channels
      MakeFormat(WAVE_FORMAT_EXTENSIBLE, 1, 16),    // extensible without its extra bytes
      unknown_guid,
  };
  for (const WaveFormat& format : refused) EXPECT_FALSE(Decode(format, std::string(64, '\x10')));
}
