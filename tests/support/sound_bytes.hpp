// Sound files built byte by byte for the sound tests and benchmarks, and a scratch working
// directory to put them in.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Join(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// `count` bytes of `value`, most significant first unless `little`.
inline Bytes Number(std::uint64_t value, int count, bool little = false) {
  Bytes out;
  for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> 8 * (little ? i : count - 1 - i)));
  return out;
}
inline Bytes Le(std::uint64_t value, int count) { return Number(value, count, true); }

// A RIFF chunk: identifier, 32-bit size, body, and the pad byte after an odd body.
inline Bytes Chunk(std::string_view id, const Bytes& body) {
  Bytes chunk = Join({Text(id), Le(body.size(), 4), body});
  if (body.size() % 2) chunk.push_back(0);
  return chunk;
}

// "RIFF" of form type `form` around the given chunks.
inline Bytes Riff(std::string_view form, const std::vector<Bytes>& chunks) {
  const Bytes body = Join({Text(form), Join(chunks)});
  return Join({Text("RIFF"), Le(body.size(), 4), body});
}

// The 16 bytes of a "fmt " chunk; block alignment and byte rate follow from the rest.
inline Bytes Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const std::uint32_t block = channels * bits / 8;
  return Join({Le(tag, 2), Le(channels, 2), Le(rate, 4), Le(rate * block, 4), Le(block, 2), Le(bits, 2)});
}

// A whole 16-bit PCM WAVE file of the given interleaved samples.
inline Bytes Pcm16Wave(std::uint16_t channels, std::uint32_t rate, const std::vector<std::int16_t>& samples) {
  Bytes data;
  for (const std::int16_t sample : samples) data.insert(data.end(), {std::uint8_t(sample), std::uint8_t(sample >> 8)});
  return Riff("WAVE", {Chunk("fmt ", Format(1, channels, rate, 16)), Chunk("data", data)});
}

// A whole format 1 Standard MIDI File: header of length 6 and one "MTrk" chunk per track.
inline Bytes Smf(std::uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes file = Join({Text("MThd"), Number(6, 4), Number(1, 2), Number(tracks.size(), 2), Number(division, 2)});
  for (const Bytes& track : tracks) file = Join({file, Text("MTrk"), Number(track.size(), 4), track});
  return file;
}

// A tempo event at delta 0, and an end of track right after the previous event.
inline Bytes TempoEvent(std::uint32_t microsecondsPerQuarter) {
  return Join({{0x00, 0xFF, 0x51, 0x03}, Number(microsecondsPerQuarter, 3)});
}
inline const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

// 256 tracks of `perTrack` system-exclusive messages at tick 0, the first opening with a tempo of
// 1 and closing with a note `noteDelta` (a variable-length quantity) later, at 32768 ticks a
// quarter: as slow to read as a file within the loader's limits can be.
inline Bytes FloodedSmf(int perTrack, const Bytes& noteDelta) {
  Bytes sysex;
  for (int i = 0; i < perTrack; ++i) sysex.insert(sysex.end(), {0x00, 0xF0, 0x00});
  std::vector<Bytes> tracks(256, Join({sysex, kEndOfTrack}));
  tracks[0] = Join({TempoEvent(1), sysex, noteDelta, {0x90, 60, 100}, kEndOfTrack});
  return Smf(32768, tracks);
}

// A fresh empty directory, the working directory for the test's life.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // `bytes`, then a hole up to `size` bytes if given: a file that claims more than it holds on disk.
  void write(const char* name, const Bytes& bytes, std::uint64_t size = 0) const {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (size) std::filesystem::resize_file(name, size);
  }
  // A FIFO nobody writes to, where a player's working directory should hold a sound file.
  void make_fifo([[maybe_unused]] const char* name) const {
#ifndef _WIN32  // Windows has none: the name stays missing there
    mkfifo(name, 0600);
#endif
  }

 private:
  std::filesystem::path previous_ = std::filesystem::current_path();
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("domrak-sound-" + std::to_string(std::random_device{}()));
};
