// The languages the player's system asks for, in their order of preference.
#include "app/system_language.hpp"

#include <cstdlib>

#include "game/text/language_choice.hpp"

#ifdef _WIN32
#include <windows.h>
#endif
#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include <string_view>

#include "game/text/translate.hpp"

// The page's language, as a two-letter code: at start (before the first screen) and from its
// language switch; the game takes it over when its next screen starts.
extern "C" EMSCRIPTEN_KEEPALIVE void domrak_request_language(int first, int second) {
  const char code[2] = {static_cast<char>(first), static_cast<char>(second)};
  RequestLanguage(std::string_view(code, 2));
}
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
