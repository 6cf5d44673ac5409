// The game-facing sound calls: fire-and-forget wave effects and looping or one-shot music.
#pragma once

#include <cstdint>

// A loaded piece of music, as load_music hands it out. The game only passes it back.
class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
};

// A voice is the handle of one prepared effect; 0 stands for no voice.
using WaveVoice = std::uint32_t;

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;

  // Loads a whole effect by file name (the working directory first, then the program's own
  // set) and readies it for playing; 0 on any failure.
  virtual WaveVoice prepare_wave(const char* name) = 0;
  // Starts a prepared voice from its beginning; false for 0 or an unknown voice.
  virtual bool play_wave(WaveVoice voice) = 0;
  virtual void release_all_waves() = 0;

  // Loads a Standard MIDI File by name; null when it cannot be loaded.
  virtual MusicPlayer* load_music(const char* name) = 0;
  // False for null, for a player this system did not hand out, or when starting fails.
  virtual bool play_music(MusicPlayer* player, bool loop) = 0;
  // False for null or an unknown player; stopping a player that does not play gives true.
  virtual bool stop_music(MusicPlayer* player) = 0;
};
