// WaveFile: reads a RIFF/WAVE sound by name, from the working directory or the program's own set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/wave/riff_file.hpp"
#include "sound/wave/wave_format.hpp"

// Status codes: 0 or more is success.
using WaveStatus = std::int32_t;
inline constexpr WaveStatus S_OK = 0;
inline constexpr WaveStatus E_INVALIDARG = static_cast<WaveStatus>(0x80070057u);
inline constexpr WaveStatus E_FAIL = static_cast<WaveStatus>(0x80004005u);
inline constexpr WaveStatus CO_E_NOTINITIALIZED = static_cast<WaveStatus>(0x800401F0u);

inline constexpr std::uint32_t WAVE_READ = 1;

// An effect file in the working directory is taken only within these limits; past them, as
// when it is missing or not a WAVE file, the built-in effect of that name is read instead.
inline constexpr std::size_t kMaxEffectFileBytes = 16 * 1024 * 1024;
inline constexpr std::uint32_t kMaxEffectSeconds = 60;

class WaveFile {
 public:
  WaveFile() = default;
  virtual ~WaveFile();
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  // Opens `name` for reading (mode WAVE_READ; `format_in` is then unused): the file in the
  // working directory, else the built-in resource of that name of type "WAVE" or "WAV". On
  // success the format is known and reading starts at the first data byte. Writing is not
  // supported: any other mode fails. The file is read whole into memory before it is looked at.
  WaveStatus open(const char* name, const WaveFormat* format_in, std::uint32_t mode);
  // Size of the data chunk, as its header states it.
  std::uint32_t size() const { return data_size_; }
  // Copies up to n data bytes into `buffer`; `got` is the count, 0 when the file runs short.
  WaveStatus read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t* got);
  // Back to the first data byte.
  WaveStatus reset();
  WaveStatus close();
  // The format record; null until an open succeeded.
  const WaveFormat* format() const { return format_.get(); }

 private:
  // Takes `bytes` as the file: format, data chunk and the effect limits.
  WaveStatus open_bytes(std::vector<std::uint8_t> bytes);
  WaveStatus read_format();

  std::unique_ptr<WaveFormat> format_;
  std::unique_ptr<RiffFile> file_;
  RiffChunk data_chunk_;
  RiffChunk riff_chunk_;
  std::uint32_t data_size_ = 0;
  std::uint32_t mode_ = 0;
  std::vector<std::uint8_t> bytes_;  // the whole file, or a copy of the built-in resource
};

// The whole data chunk, read in pieces so that a size stated past the end of the file costs no
// more memory than the file holds. A read that fails delivers nothing at all.
std::vector<std::uint8_t> ReadAllData(WaveFile& file);
