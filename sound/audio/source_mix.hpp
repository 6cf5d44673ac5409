// The sources an audio device mixes, kept so that the audio thread never waits for the game thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/audio_source.hpp"

// A fixed set of source slots. The game thread adds and removes sources; the audio thread
// mixes whatever the slots hold. No lock: the slots are atomic pointers, and removal waits
// (on the game thread) until every mixing pass that could still see the source has ended.
class SourceMix {
 public:
  static constexpr std::size_t kSlots = 16;

  // Game thread. A source beyond the slot count is not heard.
  void add(AudioSource* source);
  // Game thread. Once this returns, no mixing pass touches the source any more.
  void remove(AudioSource* source);

  // Audio thread: `frames` stereo frames of every source, each sample clamped to -1..1.
  void mix(float* out, std::size_t frames);

 private:
  std::array<std::atomic<AudioSource*>, kSlots> slots_{};
  std::atomic<std::uint64_t> passes_started_{0};
  std::atomic<std::uint64_t> passes_finished_{0};
};
