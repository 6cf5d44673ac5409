// The sound system the program plays through on Windows.
#include "sound/winmm/winmm_sound.hpp"

#include "sound/platform_sound.hpp"

// Always a sound system: without devices its calls fail quietly and the game plays silently.
std::unique_ptr<SoundSystem> CreatePlatformSound() { return std::make_unique<WinmmSound>(); }
