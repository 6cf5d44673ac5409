// The buffers a MIDI stream hands back, taken to the player on a thread of the stream's own.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "sound/midi/midi_stream.hpp"

// The platform's MIDI callback may call no multimedia function (midiStreamOut there can
// deadlock), and it should neither wait nor allocate. So it only counts a buffer back and wakes
// this thread, which takes the buffers in the order they were queued and hands each to the
// player; the player refills and queues it again from here.
class MidiHandBack {
 public:
  explicit MidiHandBack(MidiStreamService::DoneCallback done);
  ~MidiHandBack();
  MidiHandBack(const MidiHandBack&) = delete;
  MidiHandBack& operator=(const MidiHandBack&) = delete;

  // Queues `buffer` with the platform through `send`, which may hand it back before it
  // returns; false when `send` refuses it.
  bool out(MidiStreamBuffer* buffer, const std::function<bool()>& send);
  // The oldest queued buffer is back. All the platform's callback does: no lock, no allocation.
  void returned();
  // Runs the platform's reset, which hands back every queued buffer, once no hand-back is under
  // way: a refill in progress queues its buffer first, so that one comes back too.
  bool reset(const std::function<bool()>& platform_reset);
  // Waits for the hand-back under way, if any, and ends the thread: nothing is handed to the
  // player after this, so the player may go. Buffers may still be counted back.
  void close();

 private:
  void run();
  MidiStreamBuffer* take_oldest();

  MidiStreamService::DoneCallback done_;
  HANDLE wake_;
  std::atomic<std::uint32_t> returns_{0};
  std::atomic<bool> closing_{false};
  std::mutex handing_back_;  // held while the player takes buffers back
  std::mutex queue_mutex_;
  std::deque<MidiStreamBuffer*> queued_;
  std::thread thread_;  // last: it starts once everything above is ready
};
