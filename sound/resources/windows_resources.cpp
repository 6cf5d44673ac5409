// Looking up the program's built-in resources in its own module, where the resource compiler put them.
#include <windows.h>

#include <string>

#include "sound/resources/embedded_resources.hpp"

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name, std::string_view type) {
  const std::string name_text(name);
  const std::string type_text(type);
  // FindResourceA folds both names to upper case, as the resource compiler stored them.
  HRSRC found = FindResourceA(nullptr, name_text.c_str(), type_text.c_str());
  if (found == nullptr) return std::nullopt;
  const DWORD size = SizeofResource(nullptr, found);
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (size == 0 || loaded == nullptr) return std::nullopt;
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return std::nullopt;
  return std::span<const unsigned char>(static_cast<const unsigned char*>(bytes), size);
}
