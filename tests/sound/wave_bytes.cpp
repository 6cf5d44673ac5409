// WAVE files built byte by byte, and the scratch working directory.
#include "tests/sound/wave_bytes.hpp"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <random>

namespace wave_bytes {
std::string Little(std::uint64_t value, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  return bytes;
}

std::string Chunk(std::string_view id, std::string_view body) {
  std::string chunk = std::string(id) + Little(static_cast<std::uint32_t>(body.size()), 4) + std::string(body);
  if (body.size() % 2) chunk.push_back('\0');
  return chunk;
}

std::string Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const std::uint32_t block = channels * bits / 8;
  return Little(tag, 2) + Little(channels, 2) + Little(rate, 4) + Little(rate * block, 4) +
         Little(block, 2) + Little(bits, 2);
}

std::string RiffWave(std::initializer_list<std::string> chunks) {
  std::string body = "WAVE";
  for (const std::string& chunk : chunks) body += chunk;
  return "RIFF" + Little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

std::string Pcm16Wave(std::uint16_t channels, std::uint32_t rate, const std::vector<std::int16_t>& samples) {
  std::string data;
  for (std::int16_t sample : samples) data += Little(static_cast<std::uint16_t>(sample), 2);
  return RiffWave({Chunk("fmt ", Format(1, channels, rate, 16)), Chunk("data", data)});
}
}  // namespace wave_bytes

ScratchDirectory::ScratchDirectory() : previous_(std::filesystem::current_path()) {
  path_ = std::filesystem::temp_directory_path() /
          ("domrak-sound-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDirectory::write(const std::string& name, std::string_view bytes) const {
  std::ofstream(path_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ScratchDirectory::make(const std::string& name, Hostile what) const {
  const std::filesystem::path path = path_ / name;
  if (what == Hostile::Directory) std::filesystem::create_directory(path);
#ifndef _WIN32  // Windows has neither: the name stays missing there
  if (what == Hostile::Fifo) mkfifo(path.c_str(), 0600);
  if (what == Hostile::EndlessDevice) std::filesystem::create_symlink("/dev/zero", path);
#endif
}

void ScratchDirectory::write_sparse(const std::string& name, std::string_view bytes, std::uint64_t size) const {
  write(name, bytes);
  std::filesystem::resize_file(path_ / name, size);
}
