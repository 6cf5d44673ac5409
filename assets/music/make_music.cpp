// Writes the game's nine pieces as Standard MIDI Files into the directory given (sound/assets).
#include <cstdio>
#include <fstream>
#include <string>

#include "assets/music/compose.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  for (const Piece& piece : GamePieces()) {
    std::vector<std::uint8_t> bytes = Compose(piece);
    std::string path = std::string(argv[1]) + "/" + piece.file;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
