// The sound system that the program plays through, chosen when it starts. Each platform defines
// it in its own file: posix_platform_sound.cpp (which loads sound_module.cpp's module),
// winmm/winmm_platform_sound.cpp and web/web_sound.cpp.
#pragma once

#include <memory>

#include "sound/sound_system.hpp"

// The platform's audio; null when the program has no sound on this platform.
std::unique_ptr<SoundSystem> CreatePlatformSound();
