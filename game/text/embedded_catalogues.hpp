// The text catalogues built into the program: one per language beside Japanese, the source.
#pragma once

#include <cstddef>
#include <vector>

struct EmbeddedCatalogue {
  const char* language;  // as its file is named: "en" for en.po
  const char* text;      // the .po file as it stands
  std::size_t size;
};

const std::vector<EmbeddedCatalogue>& EmbeddedCatalogues();
