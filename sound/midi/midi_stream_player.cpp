// The double-buffered stream player: turning sequence events into stream records, looping, stopping.
#include "sound/midi/midi_stream_player.hpp"

#include <algorithm>
#include <chrono>

MidiStreamPlayer::~MidiStreamPlayer() {
  stop();
  stream_.reset();
}

void MidiStreamPlayer::restart_sequence() {
  sequence_.rewind();
  current_tick_ = 0;
  record_tick_ = 0;
  pass_records_ = 0;
  tempo_ = kStreamTempo;  // each play opens a new stream
}

bool MidiStreamPlayer::play(bool loop) {
  loop_ = loop;
  stop();
  restart_sequence();
  if (!open_and_prime()) {
    stream_.reset();  // never started: closing it drops whatever was queued
    return false;
  }
  end_state_ = EndState::Running;
  playing_ = true;  // before the stream runs, so the first buffer back is refilled
  if (!stream_->restart()) {
    playing_ = false;
    return false;
  }
  return true;
}

bool MidiStreamPlayer::open_and_prime() {
  if (!stream_) {
    stream_ = service_.open([this](MidiStreamBuffer* buffer) { on_buffer_done(buffer); });
    if (!stream_) return false;
  }
  if (!stream_->set_time_division(sequence_.division())) return false;
  returned_buffers_ = 0;
  buffer_index_ = 0;
  for (std::size_t i = 0; i < buffers_.size(); ++i) {
    MidiStreamBuffer& buffer = buffers_[i];
    buffer.clear();
    Fill fill = fill_buffer(i == 0, buffer);
    if (fill != Fill::Filled && fill != Fill::Ended) return false;
    // A buffer the stream refuses ends the priming; the piece plays what was queued.
    if (!stream_->out(&buffer) || fill == Fill::Ended) break;
  }
  buffer_index_ = 0;
  return true;
}

MidiStreamPlayer::Fill MidiStreamPlayer::fill_buffer(bool reset, MidiStreamBuffer& buffer) {
  buffer.used = 0;
  if (reset) {
    merge_flags_ = 0;
    pending_event_ = {};
  }
  if (merge_flags_ & kEndOfData) return Fill::Ended;
  if (merge_flags_ & kReadError) return Fill::EarlierError;
  if (merge_flags_ & kPending) {
    merge_flags_ &= ~kPending;
    if (!pending_event_.is_end_of_track() && write_record(pending_event_, buffer) == Write::Full) {
      merge_flags_ |= kPending;
      return Fill::Filled;
    }
  }
  for (std::uint32_t taken = 0;; ++taken) {
    if (taken >= kMaxFillEvents) {
      put_rest(buffer);
      return Fill::Filled;
    }
    switch (sequence_.next_event(pending_event_)) {
      case MidiSequence::Read::EndOfData:
        if (loop_ && pass_holds_time()) {
          wrap_around(buffer);
          continue;
        }
        merge_flags_ |= kEndOfData;
        return Fill::Filled;
      case MidiSequence::Read::Failure:
        merge_flags_ |= kReadError;
        return Fill::ReadError;
      case MidiSequence::Read::Event:
        break;
    }
    if (pending_event_.is_end_of_track()) continue;
    if (write_record(pending_event_, buffer) == Write::Full) {
      merge_flags_ |= kPending;
      return Fill::Filled;
    }
  }
}

bool MidiStreamPlayer::pass_holds_time() const {
  // A pass without records, or with all of them at tick 0, would make the stream hand buffers
  // back as fast as they come: such a piece plays its pass once and ends.
  return current_tick_ >= std::max(1u, sequence_.division() / kShortestPassPerQuarter) && pass_records_ != 0;
}

void MidiStreamPlayer::wrap_around(MidiStreamBuffer& buffer) {
  // The next pass follows the last event of this one without a seam: ticks count on across the
  // wrap, for the buffer's time budget and for the next record's delta.
  buffer.start_tick -= current_tick_;
  record_tick_ -= current_tick_;
  sequence_.rewind();
  current_tick_ = 0;
  pass_records_ = 0;
}

void MidiStreamPlayer::put_record(MidiStreamBuffer& buffer, std::uint8_t kind, std::uint32_t parameter,
                                  std::uint32_t time) {
  // Time since the last written record, so dropped or waiting events lose none of it.
  MidiStreamRecord record{time - record_tick_, 0, std::uint32_t{kind} << 24 | parameter};
  record.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
  record_tick_ = time;
  ++pass_records_;
}

void MidiStreamPlayer::put_rest(MidiStreamBuffer& buffer) {
  if (buffer.capacity - buffer.used < MidiStreamRecord::kSize) return;  // full of music: no rest needed
  const std::uint64_t ticks = std::uint64_t{sequence_.division()} * kRestMicroseconds / tempo_;
  // Later records keep counting from the last one written, so all of them move by the rest.
  MidiStreamRecord rest{static_cast<std::uint32_t>(std::max<std::uint64_t>(ticks, 1)), 0,
                        std::uint32_t{MidiStreamRecord::kNothing} << 24};
  rest.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
}

MidiStreamPlayer::Write MidiStreamPlayer::write_record(MidiEvent& event, MidiStreamBuffer& buffer) {
  if (buffer.used == 0) buffer.start_tick = current_tick_;
  if (current_tick_ - buffer.start_tick > tick_budget_) {
    if (buffer.over_budget) {
      buffer.over_budget = false;
      return Write::Full;
    }
    buffer.over_budget = true;
  }
  current_tick_ = event.time;
  bool hasRoom = buffer.capacity - buffer.used >= MidiStreamRecord::kSize;
  if (event.status < 0xF0) {
    if (!hasRoom) return Write::Full;
    put_record(buffer, MidiStreamRecord::kShortMessage,
               std::uint32_t{event.status} | std::uint32_t{event.data1} << 8 | std::uint32_t{event.data2} << 16,
               event.time);
    return Write::Written;
  }
  std::uint32_t tempo = event.data.size() >= 3
                            ? std::uint32_t{event.data[0]} << 16 | std::uint32_t{event.data[1]} << 8 | event.data[2]
                            : 0;
  // System-exclusive, other meta events and unusable tempos are not sent.
  if (!event.is_tempo() || tempo == 0) {
    event.data = {};
    return Write::Dropped;
  }
  if (!hasRoom) return Write::Full;  // keeps its data for the next buffer
  tempo_ = std::max(tempo, kMinTempo);
  put_record(buffer, MidiStreamRecord::kTempo, tempo_, event.time);
  tick_budget_ = sequence_.division() * 60000u / tempo_;
  event.data = {};
  return Write::Written;
}

void MidiStreamPlayer::finish() {
  {
    std::lock_guard lock(finished_mutex_);
    end_state_ = EndState::Finished;
  }
  finished_.notify_all();
}

void MidiStreamPlayer::on_buffer_done(MidiStreamBuffer*) {
  if (end_state_ == EndState::Finished) return;
  std::int32_t returned = ++returned_buffers_;
  EndState state = end_state_;
  if (state == EndState::Ending || state == EndState::Stopping) {
    if (returned >= 2) finish();
    return;
  }
  if (!playing_) return;
  MidiStreamBuffer& next = buffers_[buffer_index_];  // buffers come back in queue order
  next.clear();
  Fill fill = fill_buffer(false, next);
  if (fill == Fill::Ended) {
    end_state_ = EndState::Ending;
    if (returned >= 2) finish();
    return;
  }
  if (fill != Fill::Filled || !stream_->out(&next)) return;  // the music runs dry
  buffer_index_ = (buffer_index_ + 1) % 2;
  --returned_buffers_;
}

bool MidiStreamPlayer::stop() {
  if (stream_ || playing_) {
    playing_ = false;
    EndState running = EndState::Running;
    end_state_.compare_exchange_strong(running, EndState::Stopping);
    if (stream_ && (!stream_->stop() || !stream_->reset())) return false;
    // Both may be home already, when the music ran dry after a read error.
    if (returned_buffers_ >= 2) finish();
    std::unique_lock lock(finished_mutex_);
    if (!finished_.wait_for(lock, stop_wait_, [this] { return end_state_ == EndState::Finished; }))
      end_state_ = EndState::Finished;
  }
  if (end_state_ == EndState::Finished) release_stream();
  return true;
}

void MidiStreamPlayer::release_stream() {
  end_state_ = EndState::Running;
  stream_.reset();
}
