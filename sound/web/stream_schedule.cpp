// Record times of a MIDI stream in output frames, with the tempo changes along the way.
#include "sound/web/stream_schedule.hpp"

#include <algorithm>
#include <cmath>

StreamSchedule::StreamSchedule(int sampleRate) : sample_rate_(sampleRate) { set_tempo(tempo_); }

bool StreamSchedule::set_time_division(std::uint32_t division) {
  if (division == 0) return false;
  division_ = division;
  set_tempo(tempo_);
  return true;
}

void StreamSchedule::set_tempo(std::uint32_t microsecondsPerQuarter) {
  tempo_ = microsecondsPerQuarter;
  frames_per_tick_ = tempo_ * sample_rate_ / (1e6 * division_);
}

std::uint32_t StreamSchedule::schedule(const MidiStreamBuffer& buffer, std::vector<std::uint32_t>& out) {
  const std::uint32_t recorded = std::min(buffer.used, buffer.capacity);
  for (std::uint32_t offset = 0; offset + MidiStreamRecord::kSize <= recorded; offset += MidiStreamRecord::kSize) {
    const MidiStreamRecord record = MidiStreamRecord::read_from(buffer.data.data() + offset);
    last_due_ += record.delta * frames_per_tick_;
    if (record.kind() == MidiStreamRecord::kShortMessage) {
      out.push_back(static_cast<std::uint32_t>(std::llround(last_due_)));
      out.push_back(record.parameter());
    } else if (record.kind() == MidiStreamRecord::kTempo && record.parameter() != 0) {
      set_tempo(record.parameter());
    }
  }
  return static_cast<std::uint32_t>(std::llround(last_due_));
}
