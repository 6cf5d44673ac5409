// Hand-built Standard MIDI Files for the music tests: raw track bytes wrapped in chunks.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Join(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline Bytes Tag(const char* tag) { return Bytes(tag, tag + 4); }

// `count` bytes of `value`, most significant first unless `little`.
inline Bytes Number(std::size_t value, int count, bool little = false) {
  Bytes out;
  for (int i = 0; i < count; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> 8 * (little ? i : count - 1 - i)));
  return out;
}

// A whole format 1 file: header of length 6 and one "MTrk" chunk per track.
inline Bytes Smf(std::uint16_t division, const std::vector<Bytes>& tracks) {
  std::vector<Bytes> parts = {Tag("MThd"), Number(6, 4), Number(1, 2), Number(tracks.size(), 2),
                              Number(division, 2)};
  for (const Bytes& track : tracks)
    parts.insert(parts.end(), {Tag("MTrk"), Number(track.size(), 4), track});
  return Join(parts);
}

// The file in the "data" chunk of a RIFF file of the given form type.
inline Bytes Riff(const Bytes& smf, const char* form = "RMID") {
  return Join({Tag("RIFF"), Number(12 + smf.size(), 4, true), Tag(form), Tag("data"),
               Number(smf.size(), 4, true), smf});
}

// A tempo event at delta 0.
inline Bytes TempoEvent(std::uint32_t microsecondsPerQuarter) {
  return Join({{0x00, 0xFF, 0x51, 0x03}, Number(microsecondsPerQuarter, 3)});
}

// An end of track right after the previous event.
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
