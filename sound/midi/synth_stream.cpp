// A synthesiser stream: records applied at their sample, buffers handed back from a thread of their own.
#include "sound/midi/synth_stream.hpp"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "sound/background_thread.hpp"
#include "sound/midi/synth_stream_service.hpp"

SynthStream::SynthStream(SynthStreamService& service, MidiStreamService::DoneCallback done)
    : service_(service), done_callback_(std::move(done)) {
  set_tempo(tempo_);
  deliverer_ = StartBackgroundThread([this] { deliver_returned_buffers(); });
}

SynthStream::~SynthStream() {
  {
    std::lock_guard lock(service_.mutex_);
    closing_ = true;
    service_.silence_requested_ = true;
    std::erase(service_.streams_, this);
  }
  work_.notify_all();
  deliverer_.join();  // a hand-back in progress finishes first; the rest are dropped
}

void SynthStream::set_tempo(std::uint32_t microsecondsPerQuarter) {
  tempo_ = microsecondsPerQuarter;
  frames_per_tick_ = tempo_ * service_.sample_rate_ / (1e6 * division_);
}

bool SynthStream::set_time_division(std::uint32_t division) {
  if (division == 0) return false;
  std::lock_guard lock(service_.mutex_);
  division_ = division;
  set_tempo(tempo_);
  return true;
}

bool SynthStream::out(MidiStreamBuffer* buffer) {
  std::lock_guard lock(service_.mutex_);
  if (buffer == nullptr || queued_.size() + returned_.size() >= StreamBufferQueue::kCapacity) return false;
  queued_.push(buffer);
  return true;
}

bool SynthStream::restart() {
  std::lock_guard lock(service_.mutex_);
  paused_ = false;
  return true;
}

bool SynthStream::stop() {
  std::lock_guard lock(service_.mutex_);
  paused_ = true;
  service_.silence_requested_ = true;
  return true;
}

bool SynthStream::reset() {
  std::unique_lock lock(service_.mutex_);
  service_.delivered_.wait(lock, [this] { return !delivering_; });
  service_.silence_requested_ = true;
  while (!queued_.empty()) returned_.push(queued_.pop());
  offset_ = 0;
  head_due_ = -1;
  last_due_ = static_cast<double>(clock_);
  work_.notify_one();
  return true;
}

void SynthStream::deliver_returned_buffers() {
  std::unique_lock lock(service_.mutex_);
  for (;;) {
    work_.wait(lock, [this] { return closing_ || !returned_.empty(); });
    if (closing_) return;
    MidiStreamBuffer* buffer = returned_.pop();
    delivering_ = true;
    lock.unlock();
    done_callback_(buffer);
    lock.lock();
    delivering_ = false;
    service_.delivered_.notify_all();
  }
}

void SynthStream::apply_due(SynthEngine& engine) {
  if (paused_) return;
  while (!queued_.empty()) {
    MidiStreamBuffer* buffer = queued_.front();
    std::uint32_t recorded = std::min(buffer->used, buffer->capacity);
    if (offset_ + MidiStreamRecord::kSize > recorded) {
      returned_.push(queued_.pop());
      offset_ = 0;
      work_.notify_one();
      continue;
    }
    MidiStreamRecord record = MidiStreamRecord::read_from(buffer->data.data() + offset_);
    if (head_due_ < 0) head_due_ = last_due_ + record.delta * frames_per_tick_;
    if (std::llround(head_due_) > clock_) return;
    if (record.kind() == MidiStreamRecord::kShortMessage)
      engine.short_message(record.parameter());
    else if (record.kind() == MidiStreamRecord::kTempo && record.parameter() != 0)
      set_tempo(record.parameter());
    last_due_ = head_due_;
    head_due_ = -1;
    offset_ += MidiStreamRecord::kSize;
  }
}

std::size_t SynthStream::frames_until_due(std::size_t limit) {
  if (paused_ || head_due_ < 0) return limit;
  std::int64_t wait = std::llround(head_due_) - clock_;
  return static_cast<std::size_t>(std::clamp<std::int64_t>(wait, 1, static_cast<std::int64_t>(limit)));
}

void SynthStream::advance(std::size_t frames) {
  if (!paused_) clock_ += static_cast<std::int64_t>(frames);
}
