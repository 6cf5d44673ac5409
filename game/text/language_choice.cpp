// Which language the game speaks: the player's choice, else the settings of their system.
#include "game/text/language_choice.hpp"

#include <algorithm>
#include <cctype>

#include "game/text/translate.hpp"

namespace {

// "en_GB.UTF-8", "en-GB" and "EN" all name "en"; "C.UTF-8" names "c".
std::string LanguageOf(std::string_view locale) {
  std::string language(locale.substr(0, locale.find_first_of("_-.@")));
  for (char& c : language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return language;
}

bool Known(std::string_view language) {
  const auto known = KnownLanguages();
  return std::find(known.begin(), known.end(), language) != known.end();
}

}  // namespace

std::string ChooseLanguage(std::string_view option, std::string_view variable,
                           const std::vector<std::string>& preferences) {
  for (std::string_view chosen : {option, variable})
    if (Known(LanguageOf(chosen))) return LanguageOf(chosen);
  bool anyNamed = false;
  for (const std::string& preference : preferences) {
    const std::string language = LanguageOf(preference);
    if (language.empty()) continue;
    if (language == "c" || language == "posix") return std::string(kSourceLanguage);
    if (Known(language)) return language;
    anyNamed = true;
  }
  return anyNamed ? "en" : std::string(kSourceLanguage);
}

std::vector<std::string> PosixLanguagePreferences(const char* (*get)(const char*)) {
  std::vector<std::string> preferences;
  if (const char* list = get("LANGUAGE")) {
    std::string_view rest = list;
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      preferences.emplace_back(rest.substr(0, colon));
      rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* locale = get(name);
    if (locale && *locale) {
      preferences.emplace_back(locale);
      break;
    }
  }
  return preferences;
}
