// Looking up the program's built-in resources by name and type.
#include "sound/resources/embedded_resources.hpp"
#include "sound/resources/resource_table.hpp"

#include <algorithm>
#include <cctype>

namespace {
bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name, std::string_view type) {
  for (const EmbeddedResource& resource : EmbeddedResources())
    if (SameIgnoringCase(resource.name, name) && SameIgnoringCase(resource.type, type))
      return std::span<const unsigned char>(resource.data, resource.size);
  return std::nullopt;
}
