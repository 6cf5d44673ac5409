// Hand-built Standard MIDI Files for the music tests: raw track bytes wrapped in chunks.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void AppendTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// `count` bytes of `value`, most significant first unless `little`.
inline void AppendNumber(Bytes& out, std::uint32_t value, int count, bool little = false) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> 8 * (little ? i : count - 1 - i)));
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A whole format 1 file: header of length 6 and one "MTrk" chunk per track.
inline Bytes Smf(std::uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes out;
  AppendTag(out, "MThd");
  AppendNumber(out, 6, 4);
  AppendNumber(out, 1, 2);
  AppendNumber(out, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendNumber(out, division, 2);
  for (const Bytes& track : tracks) {
    AppendTag(out, "MTrk");
    AppendNumber(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
  }
  return out;
}

// The file in the "data" chunk of a RIFF file of the given form type.
inline Bytes Riff(const Bytes& smf, const char* form = "RMID") {
  Bytes out;
  AppendTag(out, "RIFF");
  AppendNumber(out, static_cast<std::uint32_t>(4 + 8 + smf.size()), 4, true);
  AppendTag(out, form);
  AppendTag(out, "data");
  AppendNumber(out, static_cast<std::uint32_t>(smf.size()), 4, true);
  return Join({out, smf});
}

// A tempo event at delta 0.
inline Bytes TempoEvent(std::uint32_t microsecondsPerQuarter) {
  Bytes event = {0x00, 0xFF, 0x51, 0x03};
  AppendNumber(event, microsecondsPerQuarter, 3);
  return event;
}

// An end of track right after the previous event.
inline const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};
