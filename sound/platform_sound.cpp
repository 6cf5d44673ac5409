// Placeholder until the audio back ends are built: the game is silent.
#include "sound/platform_sound.hpp"

std::unique_ptr<SoundSystem> CreatePlatformSound() { return nullptr; }
