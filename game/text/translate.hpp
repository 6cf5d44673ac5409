// The game's texts in the player's language. Japanese is the source: every text is written in
// the code in Japanese and looked up in the chosen language's catalogue when it is shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Marks a text kept in a table for translation when it is shown (through Tr): the catalogue
// tools find it by this mark.
constexpr const char* Translatable(const char* japanese) { return japanese; }

// The language of the source texts.
inline constexpr std::string_view kSourceLanguage = "ja";

// The text in the current language: its translation, or the text itself in Japanese and
// wherever the catalogue has none. The result lives as long as the program.
const char* Tr(const char* japanese);

// Every language the game can show: Japanese, then one per built-in catalogue.
std::vector<std::string> KnownLanguages();

// Shows the texts in `language` from now on; false (nothing changes) when it is not known.
bool UseLanguage(std::string_view language);
std::string_view CurrentLanguage();

// A language asked for while a screen is showing (the browser page's switch): it takes over
// when the next screen starts, so that no screen mixes two languages.
void RequestLanguage(std::string_view language);
void ApplyRequestedLanguage();
