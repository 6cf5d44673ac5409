// Fuzz input as a sound file in the working directory that claims more than it holds.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Writes data[1..] to a file of the program's own and gives its name; empty when that fails.
// data[0] picks how far past the written bytes the file is extended with a hole (read as
// zeros, costing nothing on disk): not at all, a little, past `limit`, or to 4 GB. Together
// with the sizes that the fuzzed headers state, every size the readers see may lie. The seeds
// in tests/fuzz/seeds begin with that byte.
inline std::string WriteLyingFile(const std::uint8_t* data, std::size_t size, const char* suffix,
                                  std::uint64_t limit) {
  static const std::string path = "/tmp/domrak-fuzz-" + std::to_string(getpid()) + suffix;
  if (size == 0) return {};
  const std::uint64_t claims[] = {0, 1, 4096, 1 << 20, limit + 1, 4ull << 30};
  const std::uint64_t written = size - 1;
  const std::uint64_t claimed = written + claims[data[0] % (sizeof claims / sizeof claims[0])];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return {};
  const bool ok = std::fwrite(data + 1, 1, written, file) == written && std::fflush(file) == 0 &&
                  ftruncate(fileno(file), static_cast<off_t>(claimed)) == 0;
  std::fclose(file);
  return ok ? path : std::string();
}
