// The program's own resources: its built-in sound effects ("WAVE") and music ("MIDI"), found by name.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

struct EmbeddedResource {
  const char* name;  // the file name it stands in for, e.g. "kettei.wav"
  const char* type;  // "WAVE" or "MIDI"
  const unsigned char* data;
  std::size_t size;
};

// Every resource built into the program.
const std::vector<EmbeddedResource>& EmbeddedResources();

// The bytes of the resource called `name` of the given type; nothing when there is none.
// Names compare without regard to case, as resource names do.
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name,
                                                                     std::string_view type);
