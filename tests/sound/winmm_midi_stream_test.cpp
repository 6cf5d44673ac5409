// The midiStream service on the MIDI mapper, and handing its played buffers to the player off the platform's thread.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/midi/midi_stream_player.hpp"
#include "sound/winmm/midi_hand_back.hpp"
#include "sound/winmm/winmm_midi_stream.hpp"
#include "tests/sound/midi_test_files.hpp"

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

// Opened once by one thread, waited for by another; a wait gives up after a generous bound so
// that a fault fails the test instead of hanging it.
class Gate {
 public:
  Gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Gate() { CloseHandle(event_); }
  void open() { SetEvent(event_); }
  bool wait(DWORD bound_ms = 10000) { return WaitForSingleObject(event_, bound_ms) == WAIT_OBJECT_0; }

 private:
  HANDLE event_;
};

bool Accept() { return true; }

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

TEST(MidiHandBack, HandsBuffersBackInQueueOrderOnAThreadOfItsOwn) {
  Gate playerMayGo;
  HandBacks backs;
  std::atomic<bool> onCallersThread{false};
  const auto caller = std::this_thread::get_id();
  MidiHandBack handBack([&](MidiStreamBuffer* buffer) {
    onCallersThread = onCallersThread || std::this_thread::get_id() == caller;
    playerMayGo.wait();
    backs.callback()(buffer);
  });
  MidiStreamBuffer first, second, refused;
  ASSERT_TRUE(handBack.out(&first, Accept));
  ASSERT_TRUE(handBack.out(&second, Accept));
  EXPECT_FALSE(handBack.out(&refused, [] { return false; }));
  // The platform's callback returns at once, also while the player is still busy refilling.
  handBack.returned();
  handBack.returned();
  playerMayGo.open();
  EXPECT_EQ(backs.await(2), (std::vector<MidiStreamBuffer*>{&first, &second}));
  EXPECT_FALSE(onCallersThread);
}

TEST(MidiHandBack, DestructionWaitsForTheHandBackUnderWay) {
  Gate entered, playerMayGo;
  std::atomic<bool> handBackDone{false};
  auto handBack = std::make_unique<MidiHandBack>([&](MidiStreamBuffer*) {
    entered.open();
    playerMayGo.wait();
    handBackDone = true;
  });
  MidiStreamBuffer buffer;
  ASSERT_TRUE(handBack->out(&buffer, Accept));
  handBack->returned();
  ASSERT_TRUE(entered.wait());
  bool doneWhenDestroyed = false;
  std::thread destroyer([&] {
    handBack.reset();
    doneWhenDestroyed = handBackDone;
  });
  Sleep(50);  // gives a destructor that does not wait the time to return
  playerMayGo.open();
  destroyer.join();
  EXPECT_TRUE(doneWhenDestroyed);
}

namespace {
// A stream service whose streams play nothing: a buffer comes back when the test plays it or a
// reset hands every queued one back, through MidiHandBack as the platform's callback does. A
// refill's queueing can be held until the player stops and then until the reset is done (or
// 100 ms, as a reset that waits for the refill cannot be done first): the worst moment.
class HeldStreams final : public MidiStreamService {
 public:
  std::unique_ptr<MidiStream> open(DoneCallback done) override { return std::make_unique<Stream>(*this, std::move(done)); }

  // The platform has played the oldest queued buffer.
  void play_one() {
    std::lock_guard lock(mutex);
    if (queue.empty() || stream == nullptr) return;
    queue.pop_front();
    stream->hand_back.returned();
  }

  std::atomic<bool> hold_refills{false};
  Gate refill_in_flight, stop_called, reset_done;
  std::mutex mutex;
  std::deque<MidiStreamBuffer*> queue;

 private:
  struct Stream final : MidiStream {
    Stream(HeldStreams& service, DoneCallback done) : service(service), hand_back(std::move(done)) {
      std::lock_guard lock(service.mutex);
      service.stream = this;
    }
    ~Stream() override {
      hand_back.close();
      std::lock_guard lock(service.mutex);
      service.stream = nullptr;
    }
    bool set_time_division(std::uint32_t) override { return true; }
    bool restart() override { return true; }
    bool stop() override {
      service.stop_called.open();
      return true;
    }
    bool out(MidiStreamBuffer* buffer) override {
      return hand_back.out(buffer, [&] {
        if (service.hold_refills) {
          service.refill_in_flight.open();
          service.stop_called.wait();
          service.reset_done.wait(100);
        }
        std::lock_guard lock(service.mutex);
        service.queue.push_back(buffer);
        return true;
      });
    }
    bool reset() override {
      return hand_back.reset([&] {
        std::lock_guard lock(service.mutex);
        for (; !service.queue.empty(); service.queue.pop_front()) hand_back.returned();
        service.reset_done.open();
        return true;
      });
    }
    HeldStreams& service;
    MidiHandBack hand_back;
  };
  Stream* stream = nullptr;  // guarded by mutex
};
}  // namespace

TEST(MidiHandBack, StopWaitsForARefillInFlightAndGetsItsBufferBack) {
  Bytes track = TempoEvent(500000);
  for (int i = 0; i < 200; ++i) track.insert(track.end(), {static_cast<std::uint8_t>(i ? 30 : 0), 0x90, 60, 100});
  const Bytes file = Smf(480, {Join({track, kEndOfTrack})});
  HeldStreams streams;
  MidiStreamPlayer player(streams);
  ASSERT_TRUE(player.sequence().parse_image(file));
  ASSERT_TRUE(player.play(true));
  streams.hold_refills = true;
  streams.play_one();
  ASSERT_TRUE(streams.refill_in_flight.wait());
  // The refill queues its buffer just as the stream is stopped: the reset must wait for it, so
  // that this buffer comes back too and stop does not sit out its whole wait.
  const auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(player.stop());
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_TRUE(streams.queue.empty()) << "a buffer was queued after the reset and never came back";
  EXPECT_LT(took, std::chrono::milliseconds(MidiStreamPlayer::kStopWaitMs));
  EXPECT_FALSE(player.stream_open());
}
