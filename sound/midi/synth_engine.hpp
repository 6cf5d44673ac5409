// A General MIDI synthesiser as the stream service drives it: messages in, stereo samples out.
#pragma once

#include <cstddef>
#include <cstdint>

class SynthEngine {
 public:
  virtual ~SynthEngine() = default;
  // A channel message: status in bits 0-7, first data byte in 8-15, second in 16-23.
  virtual void short_message(std::uint32_t message) = 0;
  // Releases every sounding note and resets the controllers on all channels.
  virtual void silence() = 0;
  // Adds the next `frames` interleaved stereo frames into `out`.
  virtual void render(float* out, std::size_t frames) = 0;
};
