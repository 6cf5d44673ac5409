// The sound system that the program plays through, chosen when it starts.
#pragma once

#include <memory>

#include "sound/sound_system.hpp"

// The platform's audio; null when the program has no sound on this platform.
std::unique_ptr<SoundSystem> CreatePlatformSound();
