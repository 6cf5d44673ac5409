// A stream service for player tests: it keeps what the player queues and hands buffers back on demand.
#pragma once

#include <deque>
#include <vector>

#include "sound/midi/midi_stream.hpp"

class FakeStreamService final : public MidiStreamService {
 public:
  std::unique_ptr<MidiStream> open(DoneCallback done) override;

  // Hands the oldest queued buffer back through the callback, on the calling thread.
  bool hand_back();
  // Hands buffers back until `count` have come back or nothing is queued.
  void hand_back(int count) {
    for (int i = 0; i < count && hand_back(); ++i) {}
  }
  // Every record queued so far, buffer after buffer.
  std::vector<MidiStreamRecord> all_records() const;

  bool refuse_open = false;
  int opened = 0;
  int open_streams = 0;
  int restarted = 0;
  int handed_back = 0;
  std::uint32_t division = 0;
  std::vector<std::vector<MidiStreamRecord>> sent;  // each queued buffer's records
  std::deque<MidiStreamBuffer*> queued;
  DoneCallback done;
};
