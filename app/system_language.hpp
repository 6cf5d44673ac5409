// The languages the player's system asks for, in their order of preference.
#pragma once

#include <string>
#include <vector>

// POSIX: the locale variables (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG). Windows: the user's
// display language. The browser: none, since its page passes the visitor's choice as --lang.
std::vector<std::string> SystemLanguagePreferences();
