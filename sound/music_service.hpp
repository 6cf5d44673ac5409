// The music half of the sound system: pieces loaded by name, played looping or once, stopped.
#pragma once

#include "sound/sound_system.hpp"

class MusicService {
 public:
  virtual ~MusicService() = default;
  virtual MusicPlayer* load_music(const char* name) = 0;
  virtual bool play_music(MusicPlayer* player, bool loop) = 0;
  virtual bool stop_music(MusicPlayer* player) = 0;
};
