// The program: answers its options, or picks this platform's console and sound and runs the game.
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/command_line.hpp"
#include "app/system_language.hpp"
#include "console/game_console.hpp"
#include "console/platform.hpp"
#include "game/flow/game_loop.hpp"
#include "game/text/language_choice.hpp"
#include "game/text/translate.hpp"
#include "sound/deferred_sound.hpp"
#include "sound/platform_sound.hpp"

int main(int argc, char* argv[]) {
  // Before anything touches the terminal or the sound device.
  std::string option;
  if (const auto status = AnswerCommandLine(argc, argv, std::cout, std::cerr, option)) return *status;
  const char* variable = std::getenv("DOMRAK_LANG");
  UseLanguage(ChooseLanguage(option, variable ? variable : "", SystemLanguagePreferences()));
  const auto backend = CreatePlatformBackend();
  // The title is drawn while the audio device and the SoundFont are still being opened.
  DeferredSound sound(CreatePlatformSound);
  console.attach(backend.get());
  console.attach_sound(&sound);
  RunGame();
  console.release_all_waves();
  console.attach_sound(nullptr);
  console.attach(nullptr);
  return 0;
}
