// The wave format record of a WAVE file, and turning its samples into the mixer's float frames.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
inline constexpr std::uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;
inline constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// The format record: the first 16 bytes of the "fmt " chunk, then the extra bytes (none for PCM).
struct WaveFormat {
  std::uint16_t format_tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samples_per_second = 0;
  std::uint32_t average_bytes_per_second = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0;
  std::vector<std::uint8_t> extra;  // its size is the record's extra-byte count

  // The record from the 16 bytes as they stand in the file, with no extra bytes.
  static WaveFormat FromBytes(std::span<const std::uint8_t, 16> bytes);
};

// A sound ready to mix: one or two channels of float samples, interleaved, at its own rate.
struct DecodedSound {
  int channels = 1;
  std::uint32_t rate = 0;
  std::vector<float> samples;

  std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

// The data's frames as floats in -1..1; a partial last frame is dropped and channels past the
// second are left out. Nothing for a format no output takes: an unknown encoding or sample
// size, no channels, a block alignment too small for its channels, a rate out of range.
std::optional<DecodedSound> DecodeWave(const WaveFormat& format, std::span<const std::uint8_t> data);
