// Reading RIFF chunk headers and bytes from a memory block.
#include "sound/wave/riff_file.hpp"

#include <algorithm>
#include <cstdint>

namespace {
std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint64_t ChunkEnd(const RiffChunk& chunk) { return chunk.data_offset + chunk.size + (chunk.size & 1); }
}  // namespace

std::size_t RiffFile::read(std::uint8_t* out, std::size_t n) {
  if (position_ >= memory_.size()) return 0;
  const std::size_t got = std::min<std::size_t>(n, memory_.size() - position_);
  std::copy_n(memory_.begin() + static_cast<std::ptrdiff_t>(position_), got, out);
  position_ += got;
  return got;
}

bool RiffFile::read_header(RiffChunk& chunk) {
  std::uint8_t header[8];
  if (read(header, 8) != 8) return false;
  chunk.id = LittleEndian32(header);
  chunk.size = LittleEndian32(header + 4);
  chunk.data_offset = position_;
  chunk.form_type = 0;
  return true;
}

bool RiffFile::descend(RiffChunk& chunk, const RiffChunk* parent, bool find) {
  const std::uint32_t wanted = chunk.id;
  const std::uint64_t limit = parent ? parent->data_offset + parent->size : UINT64_MAX;
  for (int skipped = 0;; ++skipped) {
    if (skipped > kMaxSkippedChunks || position_ + 8 > limit || !read_header(chunk)) return false;
    if (!find || chunk.id == wanted) break;
    position_ = ChunkEnd(chunk);
  }
  if (chunk.id == FourCc("RIFF") || chunk.id == FourCc("LIST")) {
    std::uint8_t form[4];
    if (read(form, 4) != 4) return false;
    chunk.form_type = LittleEndian32(form);
  }
  return true;
}

void RiffFile::ascend(const RiffChunk& chunk) { position_ = ChunkEnd(chunk); }
