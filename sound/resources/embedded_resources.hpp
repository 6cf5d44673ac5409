// The program's own resources: its built-in sound effects ("WAVE") and music ("MIDI"), found by name.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// The bytes of the resource called `name` of the given type; nothing when there is none. Names
// compare without regard to case, as resource names do. The bytes live as long as the program.
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name, std::string_view type);
