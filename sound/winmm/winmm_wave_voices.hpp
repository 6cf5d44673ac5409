// The effect voices on Windows: one wave-out device per effect, its whole sound in one block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "sound/sound_system.hpp"
#include "sound/wave/effect_cache.hpp"

struct WaveOutCalls;

// A voice is the value of its device handle. Devices run without callbacks; a voice that has
// been played and whose block the device reports done is released when the next one is prepared,
// and one whose block the device refuses at once, so the open devices and the memory held stay
// flat however many effects the game plays. Each effect is read once per name and kept; its
// voices share its samples.
class WinmmWaveVoices {
 public:
  // Voices held at most. A device that stops playing never reports its block done; beyond this
  // many voices, effects are refused rather than each keeping a device open until exit.
  static constexpr std::size_t kMaxVoices = 256;

  WinmmWaveVoices();
  explicit WinmmWaveVoices(const WaveOutCalls& calls);
  ~WinmmWaveVoices();
  WinmmWaveVoices(const WinmmWaveVoices&) = delete;
  WinmmWaveVoices& operator=(const WinmmWaveVoices&) = delete;

  // Opens a device for the effect `name`, loaded whole the first time; 0 on any failure.
  WaveVoice prepare_wave(const char* name);
  // Starts the voice from its beginning; false for 0, an unknown voice or a refused write.
  bool play_wave(WaveVoice voice);
  // Resets, unprepares, closes and frees every voice, in ascending handle order, and forgets
  // the loaded effects.
  void release_all_waves();

  // Voices still held: prepared, playing, or played and not yet released.
  std::size_t voice_count() const { return voices_.size(); }

 private:
  struct Voice;
  // An effect as the devices take it: its format record and its samples.
  struct Effect;
  // The effect's format record and all of its data that the file holds.
  static std::shared_ptr<const Effect> load_effect(const char* name);
  void release_finished();

  const WaveOutCalls& calls_;
  EffectCache<Effect> effects_;
  // Keyed as the handle values compare as signed 32-bit numbers.
  std::map<std::int32_t, std::unique_ptr<Voice>> voices_;
};
