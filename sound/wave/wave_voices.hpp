// The effect voices: prepared from WAVE files by name, played once each, several at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "sound/audio/audio_output.hpp"
#include "sound/sound_system.hpp"
#include "sound/wave/effect_cache.hpp"
#include "sound/wave/spsc_ring.hpp"
#include "sound/wave/wave_format.hpp"

// The game thread prepares and starts voices; the output's audio thread mixes them. Starts go
// to the audio thread through one lock-free ring and word of every ended play comes back
// through another, so the audio thread never waits for the game thread (only release_all_waves
// waits, on the game thread, for a running mix to end). A voice whose last play has ended is
// released and its number is never handed out again; the samples stay with the effect, which
// is loaded once per name and kept until release_all_waves.
class WaveVoices final : public AudioSource {
 public:
  // Voices that may be started and not yet reported ended; a start beyond this fails.
  static constexpr std::size_t kMaxPlays = 256;

  explicit WaveVoices(AudioOutput& output);
  ~WaveVoices() override;
  WaveVoices(const WaveVoices&) = delete;
  WaveVoices& operator=(const WaveVoices&) = delete;

  // A voice of the effect `name`, loaded whole and converted the first time; 0 on any failure.
  WaveVoice prepare_wave(const char* name);
  // Starts the voice from its beginning (again, if it is playing); false for 0, an unknown
  // or released voice, or when the output has fallen too far behind (then a voice that has never
  // played is released).
  bool play_wave(WaveVoice voice);
  // Stops and frees every voice and every loaded effect.
  void release_all_waves();

  // Voices still held: prepared ones, and played ones not yet known to have ended.
  std::size_t voice_count();

  // Audio thread.
  void mix_into(float* out, std::size_t frames) override;

 private:
  struct Voice {
    WaveVoice id = 0;
    std::shared_ptr<const DecodedSound> sound;
    double step = 1.0;             // source frames per output frame
    std::uint32_t last_start = 0;  // game thread: number of the latest play
  };
  // One play of a voice, as it travels between the threads.
  struct Play {
    Voice* voice = nullptr;
    std::uint32_t start = 0;
  };
  struct Sounding {
    Play play;
    double position = 0.0;  // in source frames
  };

  void collect_ended();
  void take_starts();
  // Mixes one sounding play; false once it has run out.
  static bool mix_one(Sounding& sounding, float* out, std::size_t frames);

  AudioOutput& output_;
  EffectCache<DecodedSound> effects_;
  std::map<WaveVoice, std::unique_ptr<Voice>> voices_;
  WaveVoice last_voice_ = 0;
  std::size_t plays_out_ = 0;  // started and not yet reported ended
  SpscRing<Play, kMaxPlays> starts_;
  SpscRing<Play, kMaxPlays> ended_;

  // Audio thread only.
  std::array<Sounding, kMaxPlays> sounding_{};
  std::size_t sounding_count_ = 0;
};
