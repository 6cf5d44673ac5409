// The stream player against a fake stream: records written, budgets, looping, ending and stopping.
#include <gtest/gtest.h>

#include <chrono>

#include "sound/midi/midi_stream_player.hpp"
#include "tests/sound/fake_midi_stream.hpp"
#include "tests/sound/midi_test_files.hpp"

namespace {
using State = MidiStreamPlayer::EndState;
constexpr std::uint32_t kTempo120 = 0x07A120;  // 500000 microseconds per quarter note

struct Record {
  std::uint32_t delta;
  std::uint32_t event;
  bool operator==(const Record&) const = default;
};
constexpr std::uint32_t Note(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) {
  return status | key << 8 | velocity << 16;
}
constexpr std::uint32_t Tempo(std::uint32_t value) { return 0x01000000 | value; }

std::vector<Record> Records(const std::vector<MidiStreamRecord>& records) {
  std::vector<Record> out;
  for (const MidiStreamRecord& r : records) {
    EXPECT_EQ(r.stream_id, 0u);
    out.push_back({r.delta, r.event});
  }
  return out;
}

// A note on key 60 every `step` ticks, `count` of them, after a tempo event; then end of track.
Bytes EvenNotes(int count, std::uint8_t step, std::uint32_t tempo = kTempo120) {
  Bytes track = TempoEvent(tempo);
  for (int i = 0; i < count; ++i) track.insert(track.end(), {static_cast<std::uint8_t>(i ? step : 0), 0x90, 60, 100});
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  return Smf(480, {track});
}

struct PlayerTest : ::testing::Test {
  FakeStreamService streams;
  Bytes file;
  MidiStreamPlayer player{streams};

  void Load(Bytes bytes) {
    file = std::move(bytes);
    ASSERT_TRUE(player.sequence().parse_image(file));
  }
};

TEST_F(PlayerTest, BuffersCloseOneEventAfterTheirTimeBudget) {
  Load(EvenNotes(12, 20));
  ASSERT_TRUE(player.play(false));
  EXPECT_EQ(streams.division, 480u);
  EXPECT_EQ(player.tick_budget(), 57u);  // 480 * 60000 / 0x07A120
  EXPECT_EQ(streams.restarted, 1);
  ASSERT_EQ(streams.sent.size(), 2u);
  const std::uint32_t on = Note(0x90, 60, 100);
  EXPECT_EQ(Records(streams.sent[0]),
            (std::vector<Record>{{0, Tempo(kTempo120)}, {0, on}, {20, on}, {20, on}, {20, on}, {20, on}}));
  EXPECT_EQ(Records(streams.sent[1]), (std::vector<Record>{{20, on}, {20, on}, {20, on}, {20, on}}));
}

TEST_F(PlayerTest, AnEventThatDoesNotFitOpensTheNextBuffer) {
  for (bool tempoLast : {false, true}) {
    FakeStreamService fresh;
    MidiStreamPlayer fullPlayer(fresh);
    Bytes track;
    for (int i = 0; i < 85; ++i) track.insert(track.end(), {0x00, 0x90, 60, 100});
    Bytes last = tempoLast ? TempoEvent(kTempo120) : Bytes{0x00, 0x90, 61, 100};
    track.insert(track.end(), last.begin(), last.end());
    track.insert(track.end(), {0x0A, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
    Bytes bytes = Smf(480, {track});
    ASSERT_TRUE(fullPlayer.sequence().parse_image(bytes));
    ASSERT_TRUE(fullPlayer.play(false));
    ASSERT_EQ(fresh.sent.size(), 2u);
    EXPECT_EQ(fresh.sent[0].size(), 85u);
    std::uint32_t waiting = tempoLast ? Tempo(kTempo120) : Note(0x90, 61, 100);
    EXPECT_EQ(Records(fresh.sent[1]), (std::vector<Record>{{0, waiting}, {10, Note(0x80, 60, 0)}}));
  }
}

TEST_F(PlayerTest, TimeOfDroppedEventsCarriesIntoTheNextRecord) {
  Load(Smf(96, {Join({{0x00, 0x90, 60, 100, 0x60, 0xFF, 0x01, 0x01, 'x', 0x30, 0xF0, 0x01, 0xF7, 0x30, 0x80, 60, 0},
                      kEndOfTrack})}));
  ASSERT_TRUE(player.play(false));
  EXPECT_EQ(Records(streams.all_records()), (std::vector<Record>{{0, Note(0x90, 60, 100)}, {192, Note(0x80, 60, 0)}}));
}

TEST_F(PlayerTest, UnusableTempoEventsAreDroppedAndPlayingGoesOn) {
  Load(Smf(96, {Join({{0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x10, 0x90, 60, 100},
                      kEndOfTrack})}));
  ASSERT_TRUE(player.play(false));
  EXPECT_EQ(Records(streams.all_records()), (std::vector<Record>{{16, Note(0x90, 60, 100)}}));
  EXPECT_EQ(player.tick_budget(), 0u);
}

TEST_F(PlayerTest, AShortOncePieceFinishesByItselfAndStopsAtOnce) {
  Load(EvenNotes(3, 10));
  ASSERT_TRUE(player.play(false));
  ASSERT_EQ(streams.sent.size(), 2u);
  EXPECT_TRUE(streams.sent[1].empty());  // the second buffer goes out empty
  streams.hand_back(1);
  EXPECT_EQ(player.end_state(), State::Ending);
  streams.hand_back(1);
  EXPECT_EQ(player.end_state(), State::Finished);
  EXPECT_TRUE(player.stream_open());
  EXPECT_TRUE(streams.queued.empty());

  auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(player.stop());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_FALSE(player.stream_open());
  EXPECT_EQ(player.end_state(), State::Running);
  EXPECT_FALSE(player.playing());
}

TEST_F(PlayerTest, ALoopingPieceRestartsRightAfterItsLastEvent) {
  // Note on at 10, off at 100, end of track at 400: the pass is 100 ticks long.
  Load(Smf(480, {Join({TempoEvent(kTempo120), {0x0A, 0x90, 60, 100, 0x5A, 0x80, 60, 0, 0x82, 0x2C, 0xFF, 0x2F, 0x00}})}));
  ASSERT_TRUE(player.play(true));
  streams.hand_back(6);
  const std::vector<Record> pass = {{0, Tempo(kTempo120)}, {10, Note(0x90, 60, 100)}, {90, Note(0x80, 60, 0)}};
  auto records = Records(streams.all_records());
  ASSERT_GE(records.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(records[i], pass[i % 3]) << i;
  EXPECT_EQ(player.end_state(), State::Running);
  EXPECT_EQ(streams.queued.size(), 2u);
}

TEST_F(PlayerTest, ALoopingPieceWithoutTimePlaysOutInsteadOfSpinning) {
  const Bytes pieces[] = {
      Smf(96, {{}}),
      Smf(96, {Join({TempoEvent(kTempo120), {0x00, 0xFF, 0x01, 0x01, 'x'}, kEndOfTrack})}),
      Smf(96, {{0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0, 0x83, 0x00, 0xFF, 0x2F, 0x00}}),
      Smf(96, {Join({{0x60, 0xFF, 0x01, 0x01, 'x'}, kEndOfTrack})}),  // time, but nothing to send
  };
  for (const Bytes& piece : pieces) {
    FakeStreamService fresh;
    MidiStreamPlayer silent(fresh);
    ASSERT_TRUE(silent.sequence().parse_image(piece));
    ASSERT_TRUE(silent.play(true));
    fresh.hand_back(100);
    EXPECT_EQ(fresh.handed_back, 2);
    EXPECT_EQ(silent.end_state(), State::Finished);
  }
}

TEST_F(PlayerTest, StoppingALoopingPieceBringsBothBuffersBackAndReleasesTheStream) {
  Load(EvenNotes(200, 30));
  ASSERT_TRUE(player.play(true));
  streams.hand_back(3);
  auto before = std::chrono::steady_clock::now();
  int handedBefore = streams.handed_back;
  EXPECT_TRUE(player.stop());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(MidiStreamPlayer::kStopWaitMs));
  EXPECT_EQ(streams.handed_back - handedBefore, 2);
  EXPECT_EQ(streams.open_streams, 0);
  EXPECT_FALSE(player.playing());
  EXPECT_TRUE(player.stop());  // stopping an idle player does nothing
}

TEST_F(PlayerTest, PlayOnAPlayingPlayerStartsThePieceAgain) {
  Load(EvenNotes(200, 30));
  ASSERT_TRUE(player.play(true));
  auto firstBuffer = Records(streams.sent[0]);
  streams.hand_back(5);
  streams.sent.clear();
  ASSERT_TRUE(player.play(true));
  EXPECT_EQ(streams.opened, 2);
  EXPECT_EQ(streams.open_streams, 1);
  ASSERT_FALSE(streams.sent.empty());
  EXPECT_EQ(Records(streams.sent[0]), firstBuffer);
  EXPECT_TRUE(player.playing());
}

TEST_F(PlayerTest, PlayFailsWhenNoStreamOpensOrTheDivisionIsUnusable) {
  Load(EvenNotes(3, 10));
  streams.refuse_open = true;
  EXPECT_FALSE(player.play(false));
  EXPECT_FALSE(player.playing());

  FakeStreamService fresh;
  MidiStreamPlayer zeroDivision(fresh);
  Bytes bytes = Smf(0, {Join({{0x00, 0x90, 60, 100}, kEndOfTrack})});
  ASSERT_TRUE(zeroDivision.sequence().parse_image(bytes));
  EXPECT_FALSE(zeroDivision.play(false));
  EXPECT_EQ(fresh.open_streams, 0);
  EXPECT_TRUE(zeroDivision.stop());
}

TEST_F(PlayerTest, AReadErrorMidPieceLetsTheMusicRunDry) {
  Bytes track = TempoEvent(kTempo120);
  for (int i = 0; i < 40; ++i) track.insert(track.end(), {0x30, 0x90, 60, 100});
  track.insert(track.end(), {0x30, 0xF4});  // a byte no file may hold
  Load(Smf(480, {track}));
  ASSERT_TRUE(player.play(true));
  streams.hand_back(100);
  EXPECT_TRUE(streams.queued.empty());
  EXPECT_TRUE(player.playing());
  auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(player.stop());  // both buffers are home: no waiting for them
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_FALSE(player.stream_open());
}
}  // namespace
