// Mixing the device's sources, and adding and removing them while the device plays.
#include "sound/audio/source_mix.hpp"

#include <algorithm>
#include <thread>

void SourceMix::add(AudioSource* source) {
  for (auto& slot : slots_) {
    AudioSource* empty = nullptr;
    if (slot.compare_exchange_strong(empty, source)) return;
  }
}

void SourceMix::remove(AudioSource* source) {
  for (auto& slot : slots_) {
    AudioSource* expected = source;
    slot.compare_exchange_strong(expected, nullptr);
  }
  // A pass that starts from now on cannot see the source; wait out those already running.
  const std::uint64_t started = passes_started_.load();
  while (passes_finished_.load() < started) std::this_thread::yield();
}

void SourceMix::mix(float* out, std::size_t frames) {
  passes_started_.fetch_add(1);
  std::fill(out, out + frames * 2, 0.0f);
  for (auto& slot : slots_)
    if (AudioSource* source = slot.load()) source->mix_into(out, frames);
  passes_finished_.fetch_add(1);
  for (float* sample = out; sample != out + frames * 2; ++sample) *sample = std::clamp(*sample, -1.0f, 1.0f);
}
