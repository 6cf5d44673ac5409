// When each record of a MIDI stream is due, in frames of the audio output since the stream began.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/midi/midi_stream.hpp"

// Turns buffers of stream records, in the order they are queued, into (frame, message)
// pairs: the page's synthesiser applies each message at exactly that frame. Tempo records
// change the length of the ticks after them and produce no pair.
class StreamSchedule {
 public:
  explicit StreamSchedule(int sampleRate);

  // Ticks per quarter note; false for 0.
  bool set_time_division(std::uint32_t division);
  // Appends the buffer's short messages to `out` as frame, message, frame, message, ...
  // and gives the frame at which the buffer has been played.
  std::uint32_t schedule(const MidiStreamBuffer& buffer, std::vector<std::uint32_t>& out);
  // Times count again from frame 0, as after a reset of the stream.
  void restart() { last_due_ = 0; }

 private:
  void set_tempo(std::uint32_t microsecondsPerQuarter);

  double sample_rate_;
  std::uint32_t division_ = 96;
  std::uint32_t tempo_ = 500000;  // 120 beats a minute until a tempo record says otherwise
  double frames_per_tick_ = 0;
  double last_due_ = 0;  // when the last record was due
};
