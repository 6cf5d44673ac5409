// Reading the format record and converting 8/16/24/32-bit PCM and 32/64-bit float samples.
#include "sound/wave/wave_format.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768000;

enum class Encoding { Integer, Float };

std::uint32_t Read16(const std::uint8_t* bytes) { return bytes[0] | bytes[1] << 8; }
std::uint32_t Read32(const std::uint8_t* bytes) {
  return Read16(bytes) | static_cast<std::uint32_t>(Read16(bytes + 2)) << 16;
}

// WAVE_FORMAT_EXTENSIBLE names its encoding by a GUID: the plain format tag, then this tail.
constexpr std::array<std::uint8_t, 12> kSubformatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38};
constexpr std::array<std::uint8_t, 2> kSubformatEnd = {0x9B, 0x71};

std::optional<std::uint16_t> EffectiveTag(const WaveFormat& format) {
  if (format.format_tag != WAVE_FORMAT_EXTENSIBLE) return format.format_tag;
  // Extra bytes: valid bits (2), channel mask (4), subformat GUID (16).
  if (format.extra.size() < 22) return std::nullopt;
  const std::uint8_t* guid = format.extra.data() + 6;
  if (!std::equal(kSubformatTail.begin(), kSubformatTail.end(), guid + 2) ||
      !std::equal(kSubformatEnd.begin(), kSubformatEnd.end(), guid + 14))
    return std::nullopt;
  return static_cast<std::uint16_t>(Read16(guid));
}

std::optional<Encoding> EncodingOf(const WaveFormat& format) {
  const auto tag = EffectiveTag(format);
  const unsigned bits = format.bits_per_sample;
  if (tag == WAVE_FORMAT_PCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) return Encoding::Integer;
  if (tag == WAVE_FORMAT_IEEE_FLOAT && (bits == 32 || bits == 64)) return Encoding::Float;
  return std::nullopt;
}

// A float sample kept in -1..1; one that is not a number is silence.
float LimitedFloat(double value) {
  return std::isfinite(value) ? static_cast<float>(std::clamp(value, -1.0, 1.0)) : 0.0f;
}

// One sample: 8-bit PCM is unsigned, wider PCM is signed, float is limited to -1..1.
float SampleAt(const std::uint8_t* bytes, unsigned bits, Encoding encoding) {
  if (encoding == Encoding::Float) {
    if (bits == 32) {
      const std::uint32_t raw = Read32(bytes);
      float value;
      std::memcpy(&value, &raw, sizeof value);
      return LimitedFloat(value);
    }
    const std::uint64_t raw = Read32(bytes) | static_cast<std::uint64_t>(Read32(bytes + 4)) << 32;
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return LimitedFloat(value);
  }
  if (bits == 8) return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
  std::uint32_t raw = 0;
  for (unsigned byte = 0; byte < bits / 8; ++byte) raw |= static_cast<std::uint32_t>(bytes[byte]) << (8 * byte);
  const auto value = static_cast<std::int32_t>(raw << (32 - bits));  // sign in the top bit
  return static_cast<float>(static_cast<double>(value) / 2147483648.0);
}
}  // namespace

WaveFormat WaveFormat::FromBytes(std::span<const std::uint8_t, 16> bytes) {
  WaveFormat format;
  format.format_tag = static_cast<std::uint16_t>(Read16(&bytes[0]));
  format.channels = static_cast<std::uint16_t>(Read16(&bytes[2]));
  format.samples_per_second = Read32(&bytes[4]);
  format.average_bytes_per_second = Read32(&bytes[8]);
  format.block_align = static_cast<std::uint16_t>(Read16(&bytes[12]));
  format.bits_per_sample = static_cast<std::uint16_t>(Read16(&bytes[14]));
  return format;
}

std::optional<DecodedSound> DecodeWave(const WaveFormat& format, std::span<const std::uint8_t> data) {
  const auto encoding = EncodingOf(format);
  const unsigned sample_bytes = format.bits_per_sample / 8u;
  if (!encoding || format.channels == 0 || format.block_align < static_cast<unsigned>(format.channels) * sample_bytes ||
      format.samples_per_second < kLowestRate || format.samples_per_second > kHighestRate)
    return std::nullopt;

  DecodedSound sound;
  sound.channels = std::min<int>(format.channels, 2);
  sound.rate = format.samples_per_second;
  const std::size_t frames = data.size() / format.block_align;
  sound.samples.reserve(frames * static_cast<std::size_t>(sound.channels));
  for (std::size_t frame = 0; frame < frames; ++frame) {
    const std::uint8_t* first = data.data() + frame * format.block_align;
    for (int channel = 0; channel < sound.channels; ++channel)
      sound.samples.push_back(SampleAt(first + channel * sample_bytes, format.bits_per_sample, *encoding));
  }
  return sound;
}
