// Hand-built Standard MIDI Files for the music tests: raw track bytes wrapped in chunks.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void AppendBig(Bytes& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void AppendTag(Bytes& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// A whole file: header of length 6 and one "MTrk" chunk per track.
inline Bytes Smf(std::uint16_t division, std::initializer_list<Bytes> tracks, std::uint16_t format = 1) {
  Bytes out;
  AppendTag(out, "MThd");
  AppendBig(out, 6, 4);
  AppendBig(out, format, 2);
  AppendBig(out, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBig(out, division, 2);
  for (const Bytes& track : tracks) {
    AppendTag(out, "MTrk");
    AppendBig(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
  }
  return out;
}

// The file wrapped in a RIFF file of the given form type, in its "data" chunk.
inline Bytes Riff(const Bytes& smf, const char* form = "RMID") {
  auto little = [](Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  Bytes out;
  AppendTag(out, "RIFF");
  little(out, static_cast<std::uint32_t>(4 + 8 + smf.size()));
  AppendTag(out, form);
  AppendTag(out, "data");
  little(out, static_cast<std::uint32_t>(smf.size()));
  out.insert(out.end(), smf.begin(), smf.end());
  return out;
}

// Track bytes for a tempo event at delta 0 with three data bytes.
inline Bytes TempoEvent(std::uint32_t microsecondsPerQuarter) {
  return {0x00, 0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
          static_cast<std::uint8_t>(microsecondsPerQuarter >> 8), static_cast<std::uint8_t>(microsecondsPerQuarter)};
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// An end of track right after the previous event.
inline const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

// A file written for one test into a directory of the test process's own (tests run in
// parallel), and removed again when the test is done.
class TestFile {
 public:
  TestFile(const std::string& name, const Bytes& bytes);
  ~TestFile();
  TestFile(const TestFile&) = delete;
  TestFile& operator=(const TestFile&) = delete;
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

// Makes the process's own test directory the working directory for as long as it lives.
class InTestDirectory {
 public:
  InTestDirectory();
  ~InTestDirectory();

 private:
  std::string previous_;
};
