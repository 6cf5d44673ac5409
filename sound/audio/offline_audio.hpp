// An audio output without a device: the mix is rendered on demand into a buffer, for tests and tools.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "sound/audio/audio_output.hpp"

class OfflineAudio final : public AudioOutput {
 public:
  explicit OfflineAudio(int sampleRate = 48000) : rate_(sampleRate) {}

  int sample_rate() const override { return rate_; }
  void add_source(AudioSource* source) override { sources_.push_back(source); }
  void remove_source(AudioSource* source) override {
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
  }

  // Mixes the next `frames` stereo frames of every source, as the device would hear them.
  std::vector<float> render(std::size_t frames) {
    std::vector<float> out(frames * 2, 0.0f);
    for (AudioSource* source : sources_) source->mix_into(out.data(), frames);
    return out;
  }

 private:
  int rate_;
  std::vector<AudioSource*> sources_;
};
