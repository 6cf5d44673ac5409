// Handing a MIDI stream's played buffers back to the player off the platform's thread, in
// order; and waiting for a hand-back under way on a reset and on destruction.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "sound/winmm/midi_hand_back.hpp"

namespace {
// Opened by one thread, waited for by another; a wait gives up after a minute, so that a fault
// fails the test instead of hanging it.
struct Gate {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Gate() { CloseHandle(event); }
  void open() { SetEvent(event); }
  bool wait() { return WaitForSingleObject(event, 60000) == WAIT_OBJECT_0; }
};
bool Accept() { return true; }
}  // namespace

TEST(MidiHandBack, HandsBuffersBackInQueueOrderOnAThreadOfItsOwn) {
  Gate playerMayGo, twoBack;
  std::vector<MidiStreamBuffer*> back;  // written by the hand-back thread only
  const auto caller = std::this_thread::get_id();
  MidiHandBack handBack([&](MidiStreamBuffer* buffer) {
    playerMayGo.wait();
    back.push_back(std::this_thread::get_id() == caller ? nullptr : buffer);
    if (back.size() == 2) twoBack.open();
  });
  MidiStreamBuffer first, second, refused;
  ASSERT_TRUE(handBack.out(&first, Accept));
  ASSERT_TRUE(handBack.out(&second, Accept));
  EXPECT_FALSE(handBack.out(&refused, [] { return false; }));
  handBack.returned();  // the platform's callback returns at once, also while the player is busy
  handBack.returned();
  playerMayGo.open();
  ASSERT_TRUE(twoBack.wait());
  EXPECT_EQ(back, (std::vector<MidiStreamBuffer*>{&first, &second}));
}

// The player refills and queues a buffer on the hand-back thread: a reset (of a stop) must let
// that buffer be queued first, or it would come back never; destruction must not free what the
// hand-back still uses.
TEST(MidiHandBack, ResetAndDestructionWaitForTheHandBackUnderWay) {
  for (const bool destroy : {false, true}) {
    Gate entered, playerMayGo;
    std::atomic<bool> handBackDone{false}, doneFirst{false};
    auto handBack = std::make_unique<MidiHandBack>([&](MidiStreamBuffer*) {
      entered.open();
      playerMayGo.wait();
      handBackDone = true;
    });
    MidiStreamBuffer buffer;
    ASSERT_TRUE(handBack->out(&buffer, Accept));
    handBack->returned();
    ASSERT_TRUE(entered.wait());
    std::thread other([&] {
      if (destroy) handBack.reset();
      doneFirst = destroy ? handBackDone.load() : handBack->reset([&] { return handBackDone.load(); });
    });
    Sleep(50);  // gives a reset or destructor that does not wait the time to go ahead
    playerMayGo.open();
    other.join();
    EXPECT_TRUE(doneFirst) << (destroy ? "destruction" : "reset") << " went ahead of the hand-back";
  }
}
