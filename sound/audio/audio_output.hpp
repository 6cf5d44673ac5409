// The one audio stream the game plays into: effects and music are sources mixed into it.
#pragma once

#include "sound/audio_source.hpp"

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Frames per second of the stereo float stream that sources fill.
  virtual int sample_rate() const = 0;
  // Adds a source to the mix. It stays until removed.
  virtual void add_source(AudioSource* source) = 0;
  // Takes a source out of the mix; once this returns the audio thread no longer touches it.
  virtual void remove_source(AudioSource* source) = 0;
};
