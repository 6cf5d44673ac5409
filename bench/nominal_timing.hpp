// When each note of a piece should sound, worked out from its ticks and tempo events alone: the
// music benchmark measures the played notes against it.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "sound/midi/midi_sequence.hpp"

struct NominalTiming {
  std::vector<double> note_on_seconds;  // note-ons with a velocity, in order
  double pass_seconds = 0;              // up to the last event that is not an end of track
};

inline NominalTiming NominalTimingOf(MidiSequence& sequence) {
  NominalTiming timing;
  sequence.rewind();
  double seconds = 0;
  std::uint32_t tick = 0;
  std::uint32_t tempo = 500000;
  MidiEvent event;
  while (sequence.next_event(event) == MidiSequence::Read::Event) {
    if (event.is_end_of_track()) continue;
    seconds += (event.time - tick) * (tempo / 1e6) / sequence.division();
    tick = event.time;
    timing.pass_seconds = seconds;
    if (event.is_tempo() && event.data.size() >= 3)
      tempo = std::uint32_t{event.data[0]} << 16 | std::uint32_t{event.data[1]} << 8 | event.data[2];
    if ((event.status & 0xF0) == 0x90 && event.data2 != 0) timing.note_on_seconds.push_back(seconds);
  }
  sequence.rewind();
  return timing;
}
