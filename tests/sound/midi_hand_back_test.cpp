// Handing a MIDI stream's played buffers back to the player off the platform's thread, in order; and on a stop.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "sound/winmm/midi_hand_back.hpp"

namespace {
// Opened once by one thread, waited for by another; a wait gives up after a generous bound so
// that a fault fails the test instead of hanging it.
class Gate {
 public:
  Gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Gate() { CloseHandle(event_); }
  void open() { SetEvent(event_); }
  bool wait(DWORD bound_ms = 60000) { return WaitForSingleObject(event_, bound_ms) == WAIT_OBJECT_0; }

 private:
  HANDLE event_;
};

bool Accept() { return true; }

}  // namespace

TEST(MidiHandBack, HandsBuffersBackInQueueOrderOnAThreadOfItsOwn) {
  Gate playerMayGo, twoBack;
  std::vector<MidiStreamBuffer*> back;  // written by the hand-back thread only
  std::atomic<bool> onCallersThread{false};
  const auto caller = std::this_thread::get_id();
  MidiHandBack handBack([&](MidiStreamBuffer* buffer) {
    onCallersThread = onCallersThread || std::this_thread::get_id() == caller;
    playerMayGo.wait();
    back.push_back(buffer);
    if (back.size() == 2) twoBack.open();
  });
  MidiStreamBuffer first, second, refused;
  ASSERT_TRUE(handBack.out(&first, Accept));
  ASSERT_TRUE(handBack.out(&second, Accept));
  EXPECT_FALSE(handBack.out(&refused, [] { return false; }));
  // The platform's callback returns at once, also while the player is still busy refilling.
  handBack.returned();
  handBack.returned();
  playerMayGo.open();
  ASSERT_TRUE(twoBack.wait());
  EXPECT_EQ(back, (std::vector<MidiStreamBuffer*>{&first, &second}));
  EXPECT_FALSE(onCallersThread);
}

// The player refills and queues a buffer on the hand-back thread: a reset (of a stop) must let
// that buffer be queued first, or it would come back never; destruction must not free what the
// hand-back still uses.
TEST(MidiHandBack, ResetAndDestructionWaitForTheHandBackUnderWay) {
  for (const bool destroy : {false, true}) {
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
    bool doneFirst = false;
    std::thread other([&] {
      if (destroy) {
        handBack.reset();
        doneFirst = handBackDone;
      } else {
        handBack->reset([&] {
          doneFirst = handBackDone;
          return true;
        });
      }
    });
    Sleep(50);  // gives a reset or destructor that does not wait the time to go ahead
    playerMayGo.open();
    other.join();
    EXPECT_TRUE(doneFirst) << (destroy ? "destruction" : "reset");
  }
}
