// Finding the format and data chunks of a WAVE file and handing out its data.
#include "sound/wave/wave_file.hpp"

#include <algorithm>
#include <array>

#include "sound/files/sound_file.hpp"
#include "sound/resources/embedded_resources.hpp"

namespace {
// The built-in sound of that name, as type "WAVE" or else "WAV"; empty when there is none.
std::vector<std::uint8_t> CopyOfResource(const char* name) {
  auto resource = FindEmbeddedResource(name, "WAVE");
  if (!resource) resource = FindEmbeddedResource(name, "WAV");
  if (!resource) return {};
  return std::vector<std::uint8_t>(resource->begin(), resource->end());
}

// More data than kMaxEffectSeconds of sound in this format.
bool TooLong(const WaveFormat& format, std::uint32_t dataSize) {
  if (format.block_align == 0) return false;  // unplayable anyway
  const std::uint64_t frames = dataSize / format.block_align;
  return frames > std::uint64_t{kMaxEffectSeconds} * format.samples_per_second;
}
}  // namespace

WaveFile::~WaveFile() { close(); }

WaveStatus WaveFile::open(const char* name, const WaveFormat*, std::uint32_t mode) {
  mode_ = mode;
  if (!name) return E_INVALIDARG;
  if (mode_ != WAVE_READ) return E_FAIL;
  close();
  format_.reset();

  if (auto bytes = ReadSoundFile(name, kMaxEffectFileBytes)) {
    if (open_bytes(std::move(*bytes)) == S_OK) return S_OK;
  }
  std::vector<std::uint8_t> resource = CopyOfResource(name);
  if (resource.empty()) return E_FAIL;
  return open_bytes(std::move(resource));
}

WaveStatus WaveFile::open_bytes(std::vector<std::uint8_t> bytes) {
  bytes_ = std::move(bytes);
  file_ = std::make_unique<RiffFile>(bytes_);
  WaveStatus status = read_format();
  if (status >= 0) status = reset();
  if (status >= 0 && TooLong(*format_, data_chunk_.size)) status = E_FAIL;
  if (status < 0) {
    close();
    format_.reset();
    return status;
  }
  data_size_ = data_chunk_.size;
  return S_OK;
}

WaveStatus WaveFile::read_format() {
  format_.reset();
  riff_chunk_ = RiffChunk{};
  if (!file_->descend(riff_chunk_, nullptr, false) || riff_chunk_.id != FourCc("RIFF") ||
      riff_chunk_.form_type != FourCc("WAVE"))
    return E_FAIL;

  RiffChunk format_chunk;
  format_chunk.id = FourCc("fmt ");
  if (!file_->descend(format_chunk, &riff_chunk_, true) || format_chunk.size < 16) return E_FAIL;
  std::array<std::uint8_t, 16> fixed;
  if (file_->read(fixed.data(), fixed.size()) != fixed.size()) return E_FAIL;
  auto format = std::make_unique<WaveFormat>(WaveFormat::FromBytes(fixed));

  if (format->format_tag != WAVE_FORMAT_PCM) {
    // Any other encoding carries a count of extra bytes, read even past a 16-byte chunk.
    std::array<std::uint8_t, 2> count;
    if (file_->read(count.data(), count.size()) != count.size()) return E_FAIL;
    format->extra.resize(count[0] | count[1] << 8);
    if (file_->read(format->extra.data(), format->extra.size()) != format->extra.size()) return E_FAIL;
  }
  file_->ascend(format_chunk);
  format_ = std::move(format);
  return S_OK;
}

WaveStatus WaveFile::reset() {
  if (!file_) return CO_E_NOTINITIALIZED;
  file_->seek(riff_chunk_.data_offset + 4);
  data_chunk_ = RiffChunk{};
  data_chunk_.id = FourCc("data");
  return file_->descend(data_chunk_, &riff_chunk_, true) ? S_OK : E_FAIL;
}

WaveStatus WaveFile::read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t* got) {
  if (!file_) return CO_E_NOTINITIALIZED;
  if (!buffer || !got) return E_INVALIDARG;
  *got = 0;
  const std::uint32_t wanted = std::min(n, data_chunk_.size);
  data_chunk_.size -= wanted;
  if (file_->read(buffer, wanted) != wanted) return E_FAIL;
  *got = wanted;
  return S_OK;
}

WaveStatus WaveFile::close() {
  file_.reset();
  bytes_ = {};
  return S_OK;
}

std::vector<std::uint8_t> ReadAllData(WaveFile& file) {
  constexpr std::uint32_t kPiece = 1 << 16;
  std::vector<std::uint8_t> data;
  while (data.size() < file.size()) {
    const std::size_t at = data.size();
    const std::uint32_t wanted = std::min<std::uint32_t>(kPiece, file.size() - static_cast<std::uint32_t>(at));
    data.resize(at + wanted);
    std::uint32_t got = 0;
    if (file.read(data.data() + at, wanted, &got) < 0) return {};
  }
  return data;
}
