// Which language a player gets: the option, then the variable, then the locale, by the cases of
// language_choice.txt. (The game's screens in English are recorded runs: english.run.)
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>

#include "game/text/language_choice.hpp"

namespace {

std::map<std::string, std::string> environment;
const char* Variable(const char* name) { return environment.count(name) ? environment[name].c_str() : nullptr; }

}  // namespace

TEST(LanguageChoice, OptionThenVariableThenTheLocaleInItsOrder) {
  std::ifstream cases(DOMRAK_TEST_DATA_DIR "/flow/language_choice.txt");
  int read = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string option, variable, setting, expected;
    words >> std::quoted(option) >> std::quoted(variable);
    environment.clear();
    while (words >> setting && setting != "->")
      environment[setting.substr(0, setting.find('='))] = setting.substr(setting.find('=') + 1);
    words >> expected;
    EXPECT_EQ(ChooseLanguage(option, variable, PosixLanguagePreferences(Variable)), expected)
        << "--lang, DOMRAK_LANG and the locale: " << line;
    ++read;
  }
  EXPECT_EQ(read, 16) << "cases read from language_choice.txt";
}
