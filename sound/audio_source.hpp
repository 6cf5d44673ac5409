// Something that the audio output mixes into the device stream (effect voices, the synthesiser).
#pragma once

#include <cstddef>

class AudioSource {
 public:
  virtual ~AudioSource() = default;

  // Adds `frames` stereo frames (interleaved left/right floats at the output's sample rate)
  // into `out`. Called on the audio thread: must not block, lock what the game thread holds,
  // or allocate.
  virtual void mix_into(float* out, std::size_t frames) = 0;
};
