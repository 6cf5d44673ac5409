// The synthesiser's stream service: records at their samples, pausing, resets and hand-backs.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "tests/sound/midi_test_files.hpp"
#include "tests/sound/nominal_timing.hpp"
#include "tests/sound/recording_synth.hpp"

namespace {
constexpr int kRate = 48000;

void Put(MidiStreamBuffer& buffer, std::uint32_t delta, std::uint32_t event) {
  MidiStreamRecord{delta, 0, event}.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
}

struct StreamTest : ::testing::Test {
  RecordingSynth synth;
  SynthStreamService service{synth, kRate, SynthStreamService::Mixing::Offline};
  OfflineAudio output{kRate};
  std::mutex returnedMutex;
  std::vector<MidiStreamBuffer*> returned;
  std::atomic<bool> returnedOnGameThread{false};
  std::unique_ptr<MidiStream> stream = service.open([this](MidiStreamBuffer* buffer) {
    if (std::this_thread::get_id() == gameThread) returnedOnGameThread = true;
    std::lock_guard lock(returnedMutex);
    returned.push_back(buffer);
  });
  std::thread::id gameThread = std::this_thread::get_id();

  StreamTest() { output.add_source(&service); }

  void Render(std::size_t frames, std::size_t chunk = 1000) {
    for (std::size_t done = 0; done < frames; done += chunk) {
      output.render(std::min(chunk, frames - done));
      service.settle();
    }
  }
};

TEST_F(StreamTest, AppliesEachRecordAtItsSampleAtTheTempoInForce) {
  ASSERT_TRUE(stream->set_time_division(96));
  MidiStreamBuffer buffer;
  Put(buffer, 0, 0x90 | 60 << 8 | 100 << 16);
  Put(buffer, 96, 0x80 | 60 << 8);            // a quarter at 120 a minute: 0.5 s
  Put(buffer, 0, 0x01000000 | 250000);        // twice as fast from here
  Put(buffer, 48, 0x90 | 62 << 8 | 90 << 16);  // an eighth at 240 a minute: 0.125 s
  ASSERT_TRUE(stream->out(&buffer));

  Render(4800);  // a new stream waits paused
  EXPECT_TRUE(synth.messages.empty());
  ASSERT_TRUE(stream->restart());
  Render(48000, 700);
  const std::vector<RecordingSynth::Message> expected = {
      {4800, 0x90 | 60 << 8 | 100 << 16}, {4800 + 24000, 0x80 | 60 << 8}, {4800 + 30000, 0x90 | 62 << 8 | 90 << 16}};
  EXPECT_EQ(synth.messages, expected);
  ASSERT_EQ(returned, std::vector<MidiStreamBuffer*>{&buffer});
  EXPECT_FALSE(returnedOnGameThread);
}

TEST_F(StreamTest, StopPausesAndSilencesAndResetHandsEveryBufferBackInOrder) {
  ASSERT_TRUE(stream->set_time_division(96));
  MidiStreamBuffer first, second;
  Put(first, 0, 0x90 | 60 << 8 | 100 << 16);
  Put(first, 96, 0x80 | 60 << 8);
  Put(second, 96, 0x90 | 64 << 8 | 100 << 16);
  ASSERT_TRUE(stream->out(&first));
  ASSERT_TRUE(stream->out(&second));
  ASSERT_TRUE(stream->restart());
  Render(12000);
  ASSERT_TRUE(stream->stop());
  Render(48000);
  EXPECT_EQ(synth.messages.size(), 1u);  // paused: the note-off at 0.5 s has not come
  EXPECT_EQ(synth.silenced, std::vector<std::int64_t>{12000});

  ASSERT_TRUE(stream->restart());
  Render(12000);
  ASSERT_EQ(synth.messages.size(), 2u);
  EXPECT_EQ(synth.messages[1].frame, 12000 + 48000 + 12000);

  ASSERT_TRUE(stream->reset());
  service.settle();
  EXPECT_EQ(returned, (std::vector<MidiStreamBuffer*>{&first, &second}));
  Render(1000);
  EXPECT_EQ(synth.silenced.size(), 2u);
}

TEST_F(StreamTest, ClosingAStreamDropsWhatItHolds) {
  ASSERT_TRUE(stream->set_time_division(96));
  EXPECT_FALSE(stream->set_time_division(0));
  MidiStreamBuffer buffer;
  Put(buffer, 10, 0x90 | 60 << 8 | 100 << 16);
  ASSERT_TRUE(stream->out(&buffer));
  ASSERT_TRUE(stream->restart());
  stream.reset();
  Render(48000);
  EXPECT_TRUE(synth.messages.empty());
  EXPECT_TRUE(returned.empty());
}

// A piece played through the player and the stream, rendered offline.
struct PlayedPieceTest : ::testing::Test {
  RecordingSynth synth;
  SynthStreamService service{synth, kRate, SynthStreamService::Mixing::Offline};
  OfflineAudio output{kRate};
  MidiStreamPlayer player{service};

  PlayedPieceTest() { output.add_source(&service); }
  ~PlayedPieceTest() override { player.stop(); }

  void Render(double seconds) {
    for (std::size_t done = 0; done < seconds * kRate; done += 480) {
      output.render(480);
      service.settle();
    }
  }
};

TEST_F(PlayedPieceTest, EveryNoteOfALoopingPieceSoundsOnTime) {
  ASSERT_TRUE(player.sequence().load("buttle1.mid"));
  NominalTiming timing = NominalTimingOf(player.sequence());
  ASSERT_GT(timing.pass_seconds, 4.0);
  ASSERT_TRUE(player.play(true));
  Render(2 * timing.pass_seconds + 0.5);
  auto notes = synth.note_ons();
  std::size_t perPass = timing.note_on_seconds.size();
  ASSERT_GE(notes.size(), 2 * perPass);
  for (std::size_t i = 0; i < 2 * perPass; ++i) {
    double nominal = timing.note_on_seconds[i % perPass] + (i / perPass) * timing.pass_seconds;
    EXPECT_NEAR(static_cast<double>(notes[i].frame), nominal * kRate, 2) << "note " << i;
  }
}

TEST_F(PlayedPieceTest, ALoopingPieceWithoutTimePlaysOnceInsteadOfSpinning) {
  Bytes silent = Smf(96, {Join({TempoEvent(500000), {0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0, 0x60, 0xFF, 0x2F, 0x00}})});
  ASSERT_TRUE(player.sequence().parse_image(silent));
  ASSERT_TRUE(player.play(true));
  Render(1.0);
  EXPECT_EQ(synth.note_ons().size(), 1u);
  EXPECT_EQ(player.end_state(), MidiStreamPlayer::EndState::Finished);
  EXPECT_TRUE(player.stop());
  EXPECT_FALSE(player.stream_open());
}

TEST_F(PlayedPieceTest, StopWhileTheAudioThreadRunsNeverHangs) {
  ASSERT_TRUE(player.sequence().load("buttle4.mid"));
  std::atomic<bool> running{true};
  std::thread audio([&] {
    while (running) output.render(256);  // as fast as it goes: refills race with every stop
  });
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(player.play(true));
    auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.stop());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(MidiStreamPlayer::kStopWaitMs));
    EXPECT_FALSE(player.stream_open());
  }
  running = false;
  audio.join();
}
}  // namespace
