// The sound system the game plays through: effect voices and, when there is one, the music service.
#pragma once

#include <memory>

#include "sound/audio/audio_output.hpp"
#include "sound/music_service.hpp"
#include "sound/sound_system.hpp"
#include "sound/wave/wave_voices.hpp"

class SoundEngine final : public SoundSystem {
 public:
  // Plays into `output`, which must outlive the engine. Without `music` every music call fails.
  SoundEngine(AudioOutput& output, std::unique_ptr<MusicService> music);
  // Owns `output` and plays the MIDI music through it.
  explicit SoundEngine(std::unique_ptr<AudioOutput> output);
  ~SoundEngine() override;

  WaveVoice prepare_wave(const char* name) override { return voices_.prepare_wave(name); }
  bool play_wave(WaveVoice voice) override { return voices_.play_wave(voice); }
  void release_all_waves() override { voices_.release_all_waves(); }

  MusicPlayer* load_music(const char* name) override;
  bool play_music(MusicPlayer* player, bool loop) override;
  bool stop_music(MusicPlayer* player) override;

 private:
  std::unique_ptr<AudioOutput> owned_output_;  // declared first: it outlives everything playing into it
  WaveVoices voices_;
  std::unique_ptr<MusicService> music_;
};
