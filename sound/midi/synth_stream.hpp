// One open stream of the synthesiser's service: its queue, its clock and its hand-back thread.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <thread>

#include "sound/midi/midi_stream.hpp"
#include "sound/midi/synth_engine.hpp"

class SynthStreamService;

// A few buffers in first-in first-out order, without allocating (the audio thread uses it).
class StreamBufferQueue {
 public:
  static constexpr std::size_t kCapacity = 8;
  bool empty() const { return count_ == 0; }
  std::size_t size() const { return count_; }
  MidiStreamBuffer* front() const { return slots_[head_]; }
  void push(MidiStreamBuffer* buffer) { slots_[(head_ + count_++) % kCapacity] = buffer; }
  MidiStreamBuffer* pop() {
    MidiStreamBuffer* buffer = slots_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return buffer;
  }

 private:
  std::array<MidiStreamBuffer*, kCapacity> slots_{};
  std::size_t head_ = 0;
  std::size_t count_ = 0;
};

// Everything but the constructor, the destructor and the MidiStream calls runs on the audio
// thread with the service's lock held.
class SynthStream final : public MidiStream {
 public:
  SynthStream(SynthStreamService& service, MidiStreamService::DoneCallback done);
  ~SynthStream() override;

  bool set_time_division(std::uint32_t division) override;
  bool out(MidiStreamBuffer* buffer) override;
  bool restart() override;
  bool stop() override;
  bool reset() override;

  // Applies every record due by now, handing back the buffers it finishes.
  void apply_due(SynthEngine& engine);
  // Frames until the next record is due (at least 1); `limit` when none is.
  std::size_t frames_until_due(std::size_t limit);
  void advance(std::size_t frames);
  // A hand-back is waiting or in progress.
  bool busy() const { return delivering_ || !returned_.empty(); }

 private:
  void deliver_returned_buffers();
  void set_tempo(std::uint32_t microsecondsPerQuarter);

  SynthStreamService& service_;
  MidiStreamService::DoneCallback done_callback_;
  StreamBufferQueue queued_;
  StreamBufferQueue returned_;
  std::uint32_t offset_ = 0;  // the next record in the front queued buffer
  bool paused_ = true;
  bool delivering_ = false;
  bool closing_ = false;
  std::uint32_t division_ = 96;
  std::uint32_t tempo_ = 500000;  // 120 beats a minute until a tempo record says otherwise
  double frames_per_tick_ = 0;
  std::int64_t clock_ = 0;  // frames played since the stream opened
  double last_due_ = 0;     // when the last record was due, in frames
  double head_due_ = -1;    // when the next record is due; negative when not yet known
  std::condition_variable work_;
  std::thread deliverer_;
};
