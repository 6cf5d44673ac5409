// Writing hand-built files where the loader reads them by name.
#include "tests/sound/midi_test_files.hpp"

#include <fstream>

std::string WriteTestFile(const std::string& name, const Bytes& bytes) {
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return name;
}
