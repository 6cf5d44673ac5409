// The POSIX sound module's entry point, which the program looks up when it loads the module:
// effects and music mixed into one SDL2 audio device.
#include "sound/audio/sdl_audio_output.hpp"
#include "sound/sound_engine.hpp"

// Null when there is no audio here: the game plays silently. The caller owns the result.
extern "C" __attribute__((visibility("default"))) SoundSystem* domrak_create_platform_sound() {
  std::unique_ptr<AudioOutput> output = SdlAudioOutput::Open();
  if (!output) return nullptr;
  return new SoundEngine(std::move(output));
}
