// One decoded event of a Standard MIDI File, as the sequence hands it out.
#pragma once

#include <cstdint>
#include <vector>

struct MidiEvent {
  std::uint32_t time = 0;          // absolute time in ticks
  std::uint8_t status = 0;         // 0x80-0xEF channel message, 0xF0/0xF7 system-exclusive, 0xFF meta
  std::uint8_t data1 = 0;          // first data byte; the type of a meta event
  std::uint8_t data2 = 0;          // second data byte of a channel message
  std::uint32_t length = 0;        // channel message: bytes with status; otherwise: data bytes
  std::vector<std::uint8_t> data;  // system-exclusive and meta data

  bool is_end_of_track() const { return status == 0xFF && data1 == 0x2F; }
  bool is_tempo() const { return status == 0xFF && data1 == 0x51; }
};
