// The game's audio device through SDL2: one stereo float stream, its sources mixed in the callback.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/audio/audio_output.hpp"
#include "sound/audio/source_mix.hpp"

class SdlAudioOutput final : public AudioOutput {
 public:
  // Opens the default output device (PipeWire, PulseAudio, ALSA ... as SDL finds them) and
  // starts it; null when there is no audio. Nothing is printed either way.
  static std::unique_ptr<SdlAudioOutput> Open();
  ~SdlAudioOutput() override;
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  int sample_rate() const override { return rate_; }
  void add_source(AudioSource* source) override { mix_.add(source); }
  void remove_source(AudioSource* source) override { mix_.remove(source); }

  // Frames the device takes in one callback: the latency the mix adds.
  int buffer_frames() const { return buffer_frames_; }

 private:
  SdlAudioOutput() = default;
  static void Callback(void* self, std::uint8_t* stream, int bytes);

  std::uint32_t device_ = 0;
  int rate_ = 0;
  int buffer_frames_ = 0;
  SourceMix mix_;
};
