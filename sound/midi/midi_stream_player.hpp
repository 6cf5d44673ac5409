// A piece of music played through a MIDI stream: two buffers refilled from the sequence as they come back.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "sound/midi/midi_sequence.hpp"
#include "sound/midi/midi_stream.hpp"
#include "sound/sound_system.hpp"

class MidiStreamPlayer final : public MusicPlayer {
 public:
  enum class EndState : std::int32_t { Running = 0, Stopping = 100, Finished = 200, Ending = 300 };
  enum class Fill : std::int32_t { Filled = 0, ReadError = -101, EarlierError = -102, Ended = -103 };
  enum class Write : std::int32_t { Written = 0, Full = -104, Dropped = -105 };

  // How long stop() waits for the buffers out playing to come back, unless told otherwise.
  static constexpr std::chrono::milliseconds kStopWait{2000};

  explicit MidiStreamPlayer(MidiStreamService& service, std::chrono::milliseconds stop_wait = kStopWait)
      : service_(service), stop_wait_(stop_wait) {}
  ~MidiStreamPlayer() override;

  MidiSequence& sequence() { return sequence_; }

  // Starts the piece from its beginning (restarting it if it plays); false when it cannot start.
  bool play(bool loop);
  // Stops and waits (at most stop_wait) for both buffers to come back, then releases the stream.
  bool stop();

  bool open_and_prime();
  Fill fill_buffer(bool reset, MidiStreamBuffer& buffer);
  Write write_record(MidiEvent& event, MidiStreamBuffer& buffer);
  // The stream hands a played buffer back: refill and queue it, or count it home.
  void on_buffer_done(MidiStreamBuffer* buffer);

  bool playing() const { return playing_; }
  EndState end_state() const { return end_state_; }
  bool stream_open() const { return stream_ != nullptr; }
  std::uint32_t tick_budget() const { return tick_budget_; }

  // The fastest tempo played, in microseconds per quarter note (1000 beats a minute): a faster
  // one is sent as this. No music is that fast, and a piece set to a tempo of 1 would have the
  // synthesiser start its notes by the thousand every second.
  static constexpr std::uint32_t kMinTempo = 60000;
  // What a stream plays at until a tempo record says otherwise (120 beats a minute).
  static constexpr std::uint32_t kStreamTempo = 500000;
  // The events one refill may take from the sequence: far more than any music needs for one
  // buffer's time, yet read in well under a millisecond, so a file that packs millions of events
  // into no time cannot hold up the thread that refills (in the browser, the game's own).
  static constexpr std::uint32_t kMaxFillEvents = 4096;
  // A refill cut short by that limit ends in a rest this long, so the stream holds on to the
  // buffer for a while instead of handing it straight back for the next stretch of such a file.
  static constexpr std::uint32_t kRestMicroseconds = 10000;
  // A looping pass shorter than this part of a quarter note (a sixty-fourth note, 3.75 ms at
  // the fastest tempo) plays once and ends: so short a loop would restart hundreds of times a
  // second, however large the division makes the count of its ticks.
  static constexpr std::uint32_t kShortestPassPerQuarter = 16;

 private:
  // kEndOfData: the piece ended and does not loop on; kReadError: the file cannot be read on;
  // kPending: pending_event waits for the next buffer.
  enum MergeFlag : std::uint32_t { kEndOfData = 1, kReadError = 2, kPending = 4 };

  void restart_sequence();
  bool pass_holds_time() const;
  void wrap_around(MidiStreamBuffer& buffer);
  void release_stream();
  void put_record(MidiStreamBuffer& buffer, std::uint8_t kind, std::uint32_t parameter, std::uint32_t time);
  void put_rest(MidiStreamBuffer& buffer);
  void finish();

  MidiStreamService& service_;
  const std::chrono::milliseconds stop_wait_;
  MidiSequence sequence_;
  std::unique_ptr<MidiStream> stream_;
  std::array<MidiStreamBuffer, 2> buffers_;

  // Shared with the stream's hand-back thread.
  std::atomic<bool> playing_{false};
  std::atomic<EndState> end_state_{EndState::Running};
  std::atomic<std::int32_t> returned_buffers_{0};
  std::mutex finished_mutex_;
  std::condition_variable finished_;

  // Touched by the game thread only while no buffer is out, by the hand-back thread otherwise.
  bool loop_ = false;
  std::uint32_t current_tick_ = 0;
  std::uint32_t record_tick_ = 0;   // time of the last written record: the next delta counts from it
  std::uint32_t pass_records_ = 0;  // records written since the piece last started over
  std::uint32_t tick_budget_ = 0;
  std::uint32_t tempo_ = kStreamTempo;  // microseconds per quarter note the stream now plays at
  std::uint32_t buffer_index_ = 0;
  std::uint32_t merge_flags_ = 0;
  MidiEvent pending_event_;
};
