// The languages the player's system asks for, in their order of preference.
#include "app/system_language.hpp"

#include <cstdlib>

#include "game/text/language_choice.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

std::vector<std::string> SystemLanguagePreferences() {
#if defined(_WIN32)
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID display = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(display, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return {};
  std::string locale;  // a locale name such as "en-US" is plain ASCII
  for (const wchar_t* c = name; *c; ++c) locale += static_cast<char>(*c);
  return {locale};
#elif defined(__EMSCRIPTEN__)
  return {};
#else
  return PosixLanguagePreferences([](const char* name) -> const char* { return std::getenv(name); });
#endif
}
