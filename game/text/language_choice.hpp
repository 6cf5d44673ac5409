// Which language the game speaks: the player's choice, else the settings of their system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first of: `option` (--lang), `variable` (DOMRAK_LANG), then `preferences`, the system's
// languages in the order the player put them (locale names such as "en_GB.UTF-8", "ja-JP" or
// "C"). The first known language among the preferences wins; "C" and "POSIX" stand for the
// original, Japanese. With no preference at all the game stays Japanese; with preferences but
// none it knows, it speaks English, which most players read more easily than Japanese.
// An option or variable naming no known language is passed over.
std::string ChooseLanguage(std::string_view option, std::string_view variable,
                           const std::vector<std::string>& preferences);

// The POSIX locale's languages in the order gettext reads them: LANGUAGE (a list split at
// ':'), then the first set of LC_ALL, LC_MESSAGES and LANG. `get` reads a variable (null
// when unset).
std::vector<std::string> PosixLanguagePreferences(const char* (*get)(const char*));
