// Building WAVE files byte by byte for the sound tests, and a scratch working directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace wave_bytes {
std::string Little(std::uint64_t value, int count);
// A chunk: identifier, 32-bit size, body, and the pad byte after an odd body.
std::string Chunk(std::string_view id, std::string_view body);
// The 16 bytes of a "fmt " chunk; block alignment and byte rate follow from the rest.
std::string Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
// "RIFF" form "WAVE" around the given chunks.
std::string RiffWave(std::initializer_list<std::string> chunks);
// A whole 16-bit PCM file of the given interleaved samples.
std::string Pcm16Wave(std::uint16_t channels, std::uint32_t rate, const std::vector<std::int16_t>& samples);
}  // namespace wave_bytes

// Makes a fresh empty directory the working directory for the test's life.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  void write(const std::string& name, std::string_view bytes) const;
  void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  // What a player's working directory may hold under a sound's name instead of a sound file.
  enum class Hostile { Directory, Fifo, EndlessDevice };
  void make(const std::string& name, Hostile what) const;
  // `bytes`, then a hole up to `size` bytes: a file that claims far more than it holds on disk.
  void write_sparse(const std::string& name, std::string_view bytes, std::uint64_t size) const;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
