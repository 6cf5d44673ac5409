// Handing a MIDI stream's played buffers to the player from a thread of its own, never from the platform's callback.
#include "sound/winmm/midi_hand_back.hpp"

MidiHandBack::MidiHandBack(MidiStreamService::DoneCallback done)
    : done_(std::move(done)), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), thread_([this] { run(); }) {}

MidiHandBack::~MidiHandBack() {
  close();
  CloseHandle(wake_);
}

bool MidiHandBack::out(MidiStreamBuffer* buffer, const std::function<bool()>& send) {
  {
    std::lock_guard lock(queue_mutex_);
    queued_.push_back(buffer);
  }
  if (send()) return true;
  std::lock_guard lock(queue_mutex_);
  queued_.pop_back();  // the newest: a refused buffer never comes back
  return false;
}

void MidiHandBack::returned() {
  ++returns_;
  SetEvent(wake_);
}

bool MidiHandBack::reset(const std::function<bool()>& platform_reset) {
  std::lock_guard hold(handing_back_);
  return platform_reset();
}

void MidiHandBack::close() {
  if (!thread_.joinable()) return;
  closing_ = true;
  SetEvent(wake_);
  thread_.join();
}

MidiStreamBuffer* MidiHandBack::take_oldest() {
  std::lock_guard lock(queue_mutex_);
  if (queued_.empty()) return nullptr;
  MidiStreamBuffer* buffer = queued_.front();
  queued_.pop_front();
  return buffer;
}

void MidiHandBack::run() {
  for (;;) {
    WaitForSingleObject(wake_, INFINITE);
    std::lock_guard hold(handing_back_);
    if (closing_) return;
    for (std::uint32_t count = returns_.exchange(0); count > 0; --count)
      if (MidiStreamBuffer* buffer = take_oldest()) done_(buffer);
  }
}
