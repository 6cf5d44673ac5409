// The built-in sound set as a table of byte arrays, for builds without resources of their own.
#pragma once

#include <cstddef>
#include <vector>

struct EmbeddedResource {
  const char* name;  // the file name it stands in for, e.g. "kettei.wav"
  const char* type;  // "WAVE" or "MIDI"
  const unsigned char* data;
  std::size_t size;
};

// Every resource built into the program.
const std::vector<EmbeddedResource>& EmbeddedResources();
