// Which language a player gets: the option, then the variable, then the locale. (The game's
// screens in English are recorded runs: english.run.)
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/text/language_choice.hpp"

namespace {

std::map<std::string, std::string> environment;
const char* Variable(const char* name) { return environment.count(name) ? environment[name].c_str() : nullptr; }

}  // namespace

TEST(LanguageChoice, OptionThenVariableThenTheLocaleInItsOrder) {
  const struct {
    const char* option;
    const char* variable;
    std::map<std::string, std::string> locale;
    const char* expected;
  } cases[] = {
      {"", "", {}, "ja"},
      {"", "", {{"LANG", "C"}}, "ja"},
      {"", "", {{"LANG", "POSIX"}}, "ja"},
      {"", "", {{"LANG", "C.UTF-8"}}, "ja"},
      {"", "", {{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANG", "en_GB.UTF-8"}}, "en"},
      {"", "", {{"LANG", "de_DE.UTF-8"}}, "en"},
      {"", "", {{"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LC_MESSAGES", "en_GB.UTF-8"}, {"LC_ALL", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "de:ja:en"}, {"LANG", "en_GB.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "fr:en_US:ja"}, {"LANG", "ja_JP.UTF-8"}}, "en"},
      {"en", "", {{"LANG", "ja_JP.UTF-8"}}, "en"},
      {"ja", "en", {{"LANG", "en_GB.UTF-8"}}, "ja"},
      {"", "en", {{"LANG", "C"}}, "en"},
      {"", "klingon", {{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "es-ES:ja-JP:en-US"}}, "ja"},  // as Windows and browsers write them
  };
  for (const auto& c : cases) {
    environment = c.locale;
    EXPECT_EQ(ChooseLanguage(c.option, c.variable, PosixLanguagePreferences(Variable)), c.expected)
        << "--lang '" << c.option << "', DOMRAK_LANG '" << c.variable << "', LANG '" << c.locale.count("LANG") << "'";
  }
}
