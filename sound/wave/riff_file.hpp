// A RIFF file in memory: chunks are entered, searched for by name and left.
#pragma once

#include <cstdint>
#include <span>

// Four characters as a chunk identifier, the way they stand in the file.
constexpr std::uint32_t FourCc(const char (&text)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

// One chunk as found: identifier, size, form type ("RIFF" and "LIST" only), where its data starts.
struct RiffChunk {
  std::uint32_t id = 0;
  std::uint32_t size = 0;
  std::uint32_t form_type = 0;
  std::uint64_t data_offset = 0;
  std::uint32_t flags = 0;
};

class RiffFile {
 public:
  // A search gives up after this many chunks that are not the one it looks for: no sound file
  // needs more, and a file of nothing but empty chunks is not worth the time.
  static constexpr int kMaxSkippedChunks = 1024;

  // Bytes in memory, read in place: they must outlive the RiffFile.
  explicit RiffFile(std::span<const std::uint8_t> bytes) : memory_(bytes) {}

  // Copies up to n bytes from the read position on; gives the count copied.
  std::size_t read(std::uint8_t* out, std::size_t n);
  void seek(std::uint64_t position) { position_ = position; }

  // Reads the chunk header at the read position into `chunk` and moves to the chunk's data
  // (past the form type for "RIFF" and "LIST"). With `find`, chunks other than `chunk.id`
  // are skipped, within `parent` when one is given. False when no such chunk is there, or not
  // within kMaxSkippedChunks.
  bool descend(RiffChunk& chunk, const RiffChunk* parent, bool find);
  // Moves to the byte after `chunk` and its pad byte.
  void ascend(const RiffChunk& chunk);

 private:
  bool read_header(RiffChunk& chunk);

  std::span<const std::uint8_t> memory_;
  std::uint64_t position_ = 0;
};
