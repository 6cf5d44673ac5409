// The MIDI stream service the player talks to: buffers of 12-byte timed records, played in order.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

// One stream buffer: 1024 bytes of records plus the player's bookkeeping.
struct MidiStreamBuffer {
  static constexpr std::uint32_t kCapacity = 1024;
  std::array<std::uint8_t, kCapacity> data{};
  std::uint32_t capacity = kCapacity;
  std::uint32_t used = 0;  // bytes of records, handed to the stream as the bytes recorded
  std::uint32_t start_tick = 0;
  bool over_budget = false;

  void clear() {
    used = 0;
    start_tick = 0;
    over_budget = false;
  }
};

// A record: delta time in ticks, stream id (always 0), and the event word whose high byte is
// the record's kind and whose low 24 bits are its parameter.
struct MidiStreamRecord {
  static constexpr std::uint32_t kSize = 12;
  static constexpr std::uint8_t kShortMessage = 0x00;  // status | data1 << 8 | data2 << 16
  static constexpr std::uint8_t kTempo = 0x01;         // microseconds per quarter note
  static constexpr std::uint8_t kNothing = 0x02;       // only its delta time: a rest

  std::uint32_t delta = 0;
  std::uint32_t stream_id = 0;
  std::uint32_t event = 0;

  std::uint8_t kind() const { return static_cast<std::uint8_t>(event >> 24); }
  std::uint32_t parameter() const { return event & 0xFFFFFF; }

  void write_to(std::uint8_t* at) const {
    std::uint32_t words[3] = {delta, stream_id, event};
    std::memcpy(at, words, kSize);
  }
  static MidiStreamRecord read_from(const std::uint8_t* at) {
    std::uint32_t words[3];
    std::memcpy(words, at, kSize);
    return {words[0], words[1], words[2]};
  }
};

// An open stream. Destroying it closes it: once the destructor returns no callback runs.
class MidiStream {
 public:
  virtual ~MidiStream() = default;
  // Ticks per quarter note for the records' delta times; false for 0.
  virtual bool set_time_division(std::uint32_t division) = 0;
  // Queues a buffer behind those already queued; false when the stream cannot take it.
  virtual bool out(MidiStreamBuffer* buffer) = 0;
  // Starts or resumes playing; a new stream waits paused.
  virtual bool restart() = 0;
  // Pauses and silences every sounding note.
  virtual bool stop() = 0;
  // Silences every note and hands back every queued buffer, after any hand-back in progress.
  virtual bool reset() = 0;
};

class MidiStreamService {
 public:
  // Called with each buffer handed back, in queue order, on a thread of the stream's own.
  using DoneCallback = std::function<void(MidiStreamBuffer*)>;

  virtual ~MidiStreamService() = default;
  // A new paused stream; null when none can be opened.
  virtual std::unique_ptr<MidiStream> open(DoneCallback done) = 0;
};
