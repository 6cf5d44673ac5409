// The sound of the web page: effect voices mixed here for the page's audio output, and music
// through stream players whose events the page's synthesiser plays.
#pragma once

#include <array>
#include <cstddef>

#include "sound/audio/audio_output.hpp"
#include "sound/audio/source_mix.hpp"
#include "sound/midi/midi_player_set.hpp"
#include "sound/sound_system.hpp"
#include "sound/wave/wave_voices.hpp"
#include "sound/web/web_midi_stream.hpp"

// The effects' side of the page's output: the page pulls blocks of mixed frames while a
// voice sounds, and nothing at all while none does.
class WebEffectOutput final : public AudioOutput {
 public:
  static constexpr int kSampleRate = 48000;
  static constexpr std::size_t kBlockFrames = 512;

  int sample_rate() const override { return kSampleRate; }
  void add_source(AudioSource* source) override { mix_.add(source); }
  void remove_source(AudioSource* source) override { mix_.remove(source); }
  // The next block of interleaved stereo frames.
  const float* mix_block();

 private:
  SourceMix mix_;
  std::array<float, kBlockFrames * 2> block_{};
};

class WebSound final : public SoundSystem {
 public:
  WebSound();
  ~WebSound() override;
  WebSound(const WebSound&) = delete;
  WebSound& operator=(const WebSound&) = delete;

  WaveVoice prepare_wave(const char* name) override { return voices_.prepare_wave(name); }
  bool play_wave(WaveVoice voice) override;
  void release_all_waves() override { voices_.release_all_waves(); }
  MusicPlayer* load_music(const char* name) override { return players_.load_music(name); }
  bool play_music(MusicPlayer* player, bool loop) override { return players_.play_music(player, loop); }
  bool stop_music(MusicPlayer* player) override { return players_.stop_music(player); }

  // The page's audio side calls in through these.
  const float* mix_effects() { return output_.mix_block(); }
  bool effects_sounding() { return voices_.voice_count() > 0; }
  void music_buffer_played(std::uint32_t stream, std::uint32_t token) { streams_.buffer_played(stream, token); }
  static WebSound* current();

 private:
  WebEffectOutput output_;  // declared first: it outlives the voices playing into it
  WaveVoices voices_{output_};
  WebMidiStreamService streams_{WebEffectOutput::kSampleRate};
  MidiPlayerSet players_{streams_};
};
