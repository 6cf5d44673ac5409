// The game's texts in the player's language, looked up in the built-in catalogues.
#include "game/text/translate.hpp"

#include <map>

#include "game/text/embedded_catalogues.hpp"
#include "game/text/po_catalogue.hpp"

namespace {

using Catalogue = std::map<std::string, std::string, std::less<>>;

std::string currentLanguage{kSourceLanguage};
const Catalogue* currentCatalogue = nullptr;  // none for Japanese
std::string requestedLanguage;

// Each catalogue is read once, the first time its language is chosen, and kept.
const Catalogue* CatalogueFor(std::string_view language) {
  static std::map<std::string, Catalogue, std::less<>> read;
  if (const auto found = read.find(language); found != read.end()) return &found->second;
  for (const EmbeddedCatalogue& c : EmbeddedCatalogues()) {
    if (language != c.language) continue;
    return &read.emplace(c.language, ReadPoCatalogue({c.text, c.size})).first->second;
  }
  return nullptr;
}

}  // namespace

const char* Tr(const char* japanese) {
  if (!currentCatalogue) return japanese;
  const auto found = currentCatalogue->find(std::string_view(japanese));
  return found == currentCatalogue->end() ? japanese : found->second.c_str();
}

std::vector<std::string> KnownLanguages() {
  std::vector<std::string> languages{std::string(kSourceLanguage)};
  for (const EmbeddedCatalogue& c : EmbeddedCatalogues()) languages.emplace_back(c.language);
  return languages;
}

bool UseLanguage(std::string_view language) {
  if (language == kSourceLanguage) {
    currentCatalogue = nullptr;
  } else {
    const Catalogue* catalogue = CatalogueFor(language);
    if (!catalogue) return false;
    currentCatalogue = catalogue;
  }
  currentLanguage = language;
  return true;
}

std::string_view CurrentLanguage() { return currentLanguage; }

void RequestLanguage(std::string_view language) { requestedLanguage = language; }

void ApplyRequestedLanguage() {
  if (requestedLanguage.empty()) return;
  UseLanguage(requestedLanguage);
  requestedLanguage.clear();
}
