// The sound of POSIX systems: effects and music mixed into one SDL2 audio device.
#include "sound/platform_sound.hpp"

#include "sound/audio/sdl_audio_output.hpp"
#include "sound/sound_engine.hpp"

std::unique_ptr<SoundSystem> CreatePlatformSound() {
  std::unique_ptr<AudioOutput> output = SdlAudioOutput::Open();
  if (!output) return nullptr;  // no audio here: the game plays silently
  return std::make_unique<SoundEngine>(std::move(output));
}
