// The platform sound of POSIX systems: the sound module loaded from beside the program, with
// SDL2, FluidSynth and everything under them, when the sound is brought up.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "sound/platform_sound.hpp"

namespace {
// The module's file, in the directory of the program's own.
std::string ModulePath() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self);
  if (length <= 0 || length == static_cast<ssize_t>(sizeof self)) return DOMRAK_SOUND_MODULE;
  const std::string program(self, static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/') + 1) + DOMRAK_SOUND_MODULE;
}
}  // namespace

std::unique_ptr<SoundSystem> CreatePlatformSound() {
  // The module is never unloaded: the sound it makes is its code.
  void* module = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;  // no module: the game plays silently
  using Create = SoundSystem* (*)();
  const auto create = reinterpret_cast<Create>(dlsym(module, "domrak_create_platform_sound"));
  return std::unique_ptr<SoundSystem>(create != nullptr ? create() : nullptr);
}
