// MIDI stream records played at their samples: by the synthesiser's stream service (pausing,
// resets, hand-backs) and by the web page's synthesiser schedule.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "sound/web/stream_schedule.hpp"
#include "tests/support/recording_synth.hpp"

namespace {
constexpr int kRate = 48000;
constexpr std::uint32_t kOn60 = 0x90 | 60 << 8 | 100 << 16, kOff60 = 0x80 | 60 << 8;
constexpr std::uint32_t Tempo(std::uint32_t value) { return 0x01000000 | value; }

void Put(MidiStreamBuffer& buffer, std::uint32_t delta, std::uint32_t event) {
  MidiStreamRecord{delta, 0, event}.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
}

// One stream of the service on a recording synthesiser, mixed offline, noting the buffers it hands
// back.
struct StreamTest : testing::Test {
  RecordingSynth synth;
  SynthStreamService service{synth, kRate, SynthStreamService::Mixing::Offline};
  OfflineAudio output{kRate};

  StreamTest() { output.add_source(&service); }

  // Renders in chunks, letting hand-backs finish between them as a device's pace would.
  void Render(std::size_t frames, std::size_t chunk = 1000) {
    for (std::size_t done = 0; done < frames; done += chunk) {
      output.render(std::min(chunk, frames - done));
      service.settle();
    }
  }

  std::mutex returnedMutex;
  std::vector<MidiStreamBuffer*> returned;
  std::atomic<bool> returnedOnGameThread{false};
  const std::thread::id gameThread = std::this_thread::get_id();
  std::unique_ptr<MidiStream> stream = service.open([this](MidiStreamBuffer* buffer) {
    if (std::this_thread::get_id() == gameThread) returnedOnGameThread = true;
    std::lock_guard lock(returnedMutex);
    returned.push_back(buffer);
  });
};

TEST_F(StreamTest, RecordsPlayOnTheirSamplesFromRestartUntilStopAndTheWebScheduleAgrees) {
  ASSERT_TRUE(stream->set_time_division(96));
  EXPECT_FALSE(stream->set_time_division(0));
  constexpr std::uint32_t kOn62 = 0x90 | 62 << 8 | 90 << 16;
  MidiStreamBuffer first, second, dropped;
  Put(first, 0, kOn60);
  Put(first, 96, kOff60);              // a quarter at 120 a minute: 0.5 s
  Put(first, 0, Tempo(250000));        // twice as fast from here
  Put(first, 0, Tempo(0));             // unusable: the tempo stays
  Put(first, 48, kOn62);               // an eighth at 240 a minute: 0.125 s
  Put(second, 96, kOn60);              // a quarter, 0.25 s, later
  // The web page's synthesiser schedules them on the same frames, counted from its restart.
  StreamSchedule schedule(kRate);
  ASSERT_TRUE(schedule.set_time_division(96));
  EXPECT_FALSE(schedule.set_time_division(0));
  std::vector<std::uint32_t> events;
  EXPECT_EQ(schedule.schedule(first, events), 30000u);
  EXPECT_EQ(schedule.schedule(second, events), 42000u);
  EXPECT_EQ(schedule.schedule(dropped, events), 42000u);  // still empty
  const std::vector<std::uint32_t> timed = {0, kOn60, 24000, kOff60, 30000, kOn62, 42000, kOn60};
  EXPECT_EQ(events, timed);
  schedule.restart();
  EXPECT_EQ(schedule.schedule(second, events), 12000u);  // at the tempo it had
  ASSERT_TRUE(stream->out(&first));
  ASSERT_TRUE(stream->out(&second));
  Render(4800);  // a new stream waits paused
  EXPECT_TRUE(synth.messages.empty());
  ASSERT_TRUE(stream->restart());
  Render(36000, 700);
  const std::vector<RecordingSynth::Message> expected = {{4800, kOn60}, {4800 + 24000, kOff60}, {4800 + 30000, kOn62}};
  EXPECT_EQ(synth.messages, expected);
  ASSERT_EQ(returned, std::vector<MidiStreamBuffer*>{&first});
  EXPECT_FALSE(returnedOnGameThread);

  ASSERT_TRUE(stream->stop());
  Render(48000);
  EXPECT_EQ(synth.messages, expected);  // paused before the note of `second`
  EXPECT_EQ(synth.silenced, std::vector<std::int64_t>{4800 + 36000});
  ASSERT_TRUE(stream->reset());
  service.settle();
  EXPECT_EQ(returned, (std::vector<MidiStreamBuffer*>{&first, &second}));
  Put(dropped, 0, kOn60);
  ASSERT_TRUE(stream->out(&dropped));  // a closed stream neither plays nor hands back what it held
  stream.reset();
  Render(48000);
  EXPECT_EQ(synth.messages, expected);
  EXPECT_EQ(returned.size(), 2u);
}


}  // namespace
