// The sound of a platform without an audio back end yet: none, so the game is silent.
#include "sound/platform_sound.hpp"

std::unique_ptr<SoundSystem> CreatePlatformSound() { return nullptr; }
