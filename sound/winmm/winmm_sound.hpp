// The sound of Windows: effects on wave-out devices and music on the MIDI mapper's streams.
#pragma once

#include "sound/midi/midi_player_set.hpp"
#include "sound/sound_system.hpp"
#include "sound/winmm/winmm_midi_stream.hpp"
#include "sound/winmm/winmm_wave_voices.hpp"

class WinmmSound final : public SoundSystem {
 public:
  WaveVoice prepare_wave(const char* name) override { return voices_.prepare_wave(name); }
  bool play_wave(WaveVoice voice) override { return voices_.play_wave(voice); }
  void release_all_waves() override { voices_.release_all_waves(); }

  MusicPlayer* load_music(const char* name) override { return players_.load_music(name); }
  bool play_music(MusicPlayer* player, bool loop) override { return players_.play_music(player, loop); }
  bool stop_music(MusicPlayer* player) override { return players_.stop_music(player); }

  std::size_t voice_count() const { return voices_.voice_count(); }

 private:
  WinmmWaveVoices voices_;
  WinmmMidiStreamService streams_;
  MidiPlayerSet players_{streams_};  // declared last: its players stop and close their streams first
};
