// The midiStream service on the MIDI mapper: buffers queued, played in order and handed back.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "sound/winmm/winmm_midi_stream.hpp"

namespace {
// Collects the buffers the stream hands back, on the platform's thread.
class HandBacks {
 public:
  MidiStreamService::DoneCallback callback() {
    return [this](MidiStreamBuffer* buffer) {
      std::lock_guard lock(mutex_);
      buffers_.push_back(buffer);
      changed_.notify_all();
    };
  }
  // The buffers back once `count` have come, or whatever came within a generous bound.
  std::vector<MidiStreamBuffer*> await(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return buffers_.size() >= count; });
    return buffers_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<MidiStreamBuffer*> buffers_;
};

void Put(MidiStreamBuffer& buffer, std::uint32_t delta, std::uint32_t message) {
  MidiStreamRecord{delta, 0, message}.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
}
}  // namespace

TEST(WinmmMidiStream, OpensOnlyWhereThereIsAnOutputDevice) {
  WinmmMidiStreamService service;
  HandBacks backs;
  auto stream = service.open(backs.callback());
  if (midiOutGetNumDevs() == 0) {
    EXPECT_EQ(stream, nullptr);
    return;
  }
  ASSERT_NE(stream, nullptr);
  EXPECT_FALSE(stream->set_time_division(0));
  EXPECT_TRUE(stream->set_time_division(480));
}

TEST(WinmmMidiStream, PlaysBuffersInOrderAndResetHandsBackTheRest) {
  WinmmMidiStreamService service;
  HandBacks backs;
  auto stream = service.open(backs.callback());
  if (stream == nullptr) GTEST_SKIP() << "no MIDI output device here (wine without one)";
  ASSERT_TRUE(stream->set_time_division(480));

  MidiStreamBuffer notes, empty;
  Put(notes, 0, 0x00403C90);   // note on, middle C
  Put(notes, 24, 0x00003C80);  // note off a twentieth of a beat later
  ASSERT_TRUE(stream->out(&notes));
  ASSERT_TRUE(stream->out(&empty));
  ASSERT_TRUE(stream->restart());
  EXPECT_EQ(backs.await(2), (std::vector<MidiStreamBuffer*>{&notes, &empty}));

  // A buffer far in the future comes back at once on a reset.
  MidiStreamBuffer late;
  Put(late, 480 * 600, 0x00403C90);
  ASSERT_TRUE(stream->out(&late));
  EXPECT_TRUE(stream->stop());
  EXPECT_TRUE(stream->reset());
  EXPECT_EQ(backs.await(3), (std::vector<MidiStreamBuffer*>{&notes, &empty, &late}));
}

TEST(WinmmMidiStream, RefusesNoBufferAndOverfullOnes) {
  WinmmMidiStreamService service;
  HandBacks backs;
  auto stream = service.open(backs.callback());
  if (stream == nullptr) GTEST_SKIP() << "no MIDI output device here (wine without one)";
  MidiStreamBuffer overfull;
  overfull.used = overfull.capacity + MidiStreamRecord::kSize;
  EXPECT_FALSE(stream->out(nullptr));
  EXPECT_FALSE(stream->out(&overfull));
}
