// The stream player against a fake stream: records written, budgets, looping, ending and stopping.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>

#include "sound/midi/midi_stream_player.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/midi_test_files.hpp"

namespace {
using State = MidiStreamPlayer::EndState;
using Record = FakeStreamService::Record;
constexpr std::uint32_t kTempo120 = 500000;  // microseconds per quarter note
constexpr std::uint32_t kOn = 0x90 | 60 << 8 | 100 << 16, kOff = 0x80 | 60 << 8;
constexpr std::uint32_t Tempo(std::uint32_t value) { return 0x01000000 | value; }
const Record kTempoRecord = {0, Tempo(kTempo120)};

// `count` notes on key 60 `step` ticks apart after a tempo event, then `tail` and end of track.
Bytes EvenNotes(int count, std::uint8_t step, const Bytes& tail = {}) {
  Bytes track = TempoEvent(kTempo120);
  for (int i = 0; i < count; ++i) track.insert(track.end(), {static_cast<std::uint8_t>(i ? step : 0), 0x90, 60, 100});
  return Smf(480, {Join({track, tail, kEndOfTrack})});
}

// A player of `file` on a fake stream of its own, playing it (looping or not) if `loop` is given.
struct Rig {
  Rig(Bytes bytes, std::optional<bool> loop, std::chrono::milliseconds stop_wait = MidiStreamPlayer::kStopWait)
      : file(std::move(bytes)), player(streams, stop_wait) {
    EXPECT_TRUE(player.sequence().parse_image(file));
    EXPECT_TRUE(!loop || player.play(*loop));
  }
  Bytes file;
  FakeStreamService streams;
  MidiStreamPlayer player;
};

TEST(MidiStreamPlayer, BuffersCloseAfterTheirBudgetOrWhenFullAndDroppedEventsKeepTheirTime) {
  // 480 ticks a quarter at 120 a minute make a budget of 57 ticks: a buffer takes events until one
  // lies past it, and one event more. A full buffer holds 85 records, whatever comes next.
  const std::uint32_t kOn61 = 0x90 | 61 << 8 | 100 << 16;
  const Bytes kOff10 = {0x0A, 0x80, 60, 0};
  struct Case { Bytes file; std::uint8_t step; std::size_t first; std::vector<Record> second; };
  const Case cases[] = {
      {EvenNotes(12, 19), 19, 7, std::vector<Record>(5, {19, kOn})},
      {EvenNotes(12, 29), 29, 5, std::vector<Record>(3, {29, kOn})},
      {EvenNotes(84, 0, Join({TempoEvent(kTempo120), kOff10})), 0, 85, {kTempoRecord, {10, kOff}}},
      {EvenNotes(84, 0, Join({{0x00, 0x90, 61, 100}, kOff10})), 0, 85, {{0, kOn61}, {10, kOff}}},
  };
  for (const auto& c : cases) {
    Rig rig(c.file, false);
    std::vector<Record> first = {kTempoRecord, {0, kOn}};
    first.resize(c.first, {c.step, kOn});
    EXPECT_EQ(rig.streams.sent, (std::vector<std::vector<Record>>{first, c.second})) << c.first;
  }
  // Dropped events carry their time, and tempos stay within their floor.
  const struct { Bytes track; std::vector<Record> records; } dropping[] = {
      // a text event, a system-exclusive message
      {{0x00, 0x90, 60, 100, 0x60, 0xFF, 0x01, 0x01, 'x', 0x30, 0xF0, 0x01, 0xF7, 0x30, 0x80, 60, 0},
       {{0, kOn}, {192, kOff}}},
      // a zero tempo, a tempo too short
      {{0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x10, 0x90, 60, 100}, {{16, kOn}}},
      {Join({TempoEvent(1), {0x00, 0x90, 60, 100}}), {{0, Tempo(MidiStreamPlayer::kMinTempo)}, {0, kOn}}},
  };
  for (const auto& c : dropping) {
    Rig rig(Smf(96, {Join({c.track, kEndOfTrack})}), false);
    EXPECT_EQ(rig.streams.all_records, c.records);
  }
}

TEST(MidiStreamPlayer, PiecesLoopRightAfterTheirLastEventUnlessTimelessAndPlayOnceToTheirEnd) {
  // Note on at 10, off at 30, end of track at 400: the pass is 30 ticks long, a sixty-fourth note,
  // the shortest that loops.
  Rig rig(Smf(480, {Join({TempoEvent(kTempo120), {0x0A, 0x90, 60, 100, 0x14, 0x80, 60, 0, 0x82,
                                                 0x72, 0xFF, 0x2F, 0}})}), true);
  rig.streams.hand_back(6);
  const std::vector<Record> pass = {kTempoRecord, {10, kOn}, {20, kOff}};
  ASSERT_GE(rig.streams.all_records.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(rig.streams.all_records[i], pass[i % 3]) << i;
  EXPECT_EQ(rig.player.end_state(), State::Running);
  EXPECT_EQ(rig.streams.queued.size(), 2u);
  // A piece without time, or with a pass shorter than a sixty-fourth note, plays out instead of spinning.
  const Bytes timeless[] = {
      Smf(96, {{}}),
      Smf(96, {Join({TempoEvent(kTempo120), {0x00, 0xFF, 0x01, 0x01, 'x'}, kEndOfTrack})}),
      Smf(96, {{0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0, 0x83, 0x00, 0xFF, 0x2F, 0x00}}),
      Smf(96, {Join({{0x60, 0xFF, 0x01, 0x01, 'x'}, kEndOfTrack})}),  // time, but nothing to send
      Smf(96, {Join({{0x05, 0x90, 60, 100}, kEndOfTrack})}),          // 5 ticks: a sixty-fourth note is 6
  };
  for (const Bytes& piece : timeless) {
    Rig once(piece, true);
    once.streams.hand_back(100);
    EXPECT_EQ(once.streams.sent.size(), 2u);
    EXPECT_EQ(once.player.end_state(), State::Finished);
  }
  // Play needs a stream and a division; a short piece played once finishes by itself.
  Rig refused(EvenNotes(3, 10), std::nullopt);
  refused.streams.refuse_open = true;
  EXPECT_FALSE(refused.player.play(false));
  EXPECT_FALSE(refused.player.playing());
  Rig zeroDivision(Smf(0, {Join({{0x00, 0x90, 60, 100}, kEndOfTrack})}), std::nullopt);
  EXPECT_FALSE(zeroDivision.player.play(false));
  EXPECT_EQ(zeroDivision.streams.open_streams, 0);
  Rig shortPiece(EvenNotes(3, 10), false);
  ASSERT_EQ(shortPiece.streams.sent.size(), 2u);
  EXPECT_TRUE(shortPiece.streams.sent[1].empty());  // the second buffer goes out empty
  shortPiece.streams.hand_back();
  EXPECT_EQ(shortPiece.player.end_state(), State::Ending);
  shortPiece.streams.hand_back();
  EXPECT_EQ(shortPiece.player.end_state(), State::Finished);
  EXPECT_TRUE(shortPiece.player.stream_open());
  EXPECT_TRUE(shortPiece.player.stop());
  EXPECT_FALSE(shortPiece.player.stream_open());
  EXPECT_EQ(shortPiece.player.end_state(), State::Running);
}

TEST(MidiStreamPlayer, EachRefillReadsAtMost4096EventsAndRestsWhenThatWasNotEnough) {
  // 25,600 system-exclusive messages at tick 0 and a note at 2048, at 32768 ticks a quarter and
  // the fastest tempo: 1.8 microseconds a tick, 10 ms in 5461.
  Rig rig(FloodedSmf(100, {0x90, 0x00}), true);
  const Record kRest = {5461, 0x02000000}, kFastest = {0, Tempo(MidiStreamPlayer::kMinTempo)};
  EXPECT_LE(rig.player.sequence().events_read(), 8192u) << "the game thread read on and on as the music started";
  EXPECT_EQ(rig.streams.sent, (std::vector<std::vector<Record>>{{kFastest, kRest}, {kRest}}));
  // 25,601 events come before the note, 4,096 a buffer: it goes out in the seventh, and with
  // each pass of 25,858 events, in the thirteenth again.
  rig.streams.hand_back(11);
  ASSERT_EQ(rig.streams.sent.size(), 13u);
  EXPECT_EQ(rig.streams.sent[6], (std::vector<Record>{{2048, kOn}, kFastest, kRest})) << "the note was lost";
  EXPECT_EQ(rig.streams.sent[12], rig.streams.sent[6]) << "the piece did not loop";
}

TEST(MidiStreamPlayer, StopWaitsForBuffersOutPlayingAgainStartsOverAndARunDryPieceStops) {
  Rig rig(EvenNotes(200, 30), true);
  ASSERT_FALSE(rig.streams.sent.empty());
  const auto firstBuffer = rig.streams.sent[0];
  rig.streams.hand_back(3);
  std::vector<State> states;  // as each buffer comes home
  rig.streams.after_hand_back = [&] { states.push_back(rig.player.end_state()); };
  EXPECT_TRUE(rig.player.stop());
  EXPECT_EQ(states, (std::vector<State>{State::Stopping, State::Finished}));
  rig.streams.after_hand_back = nullptr;
  EXPECT_EQ(rig.streams.open_streams, 0);
  EXPECT_FALSE(rig.player.playing());
  EXPECT_TRUE(rig.player.stop());  // stopping an idle player does nothing

  ASSERT_TRUE(rig.player.play(true));
  rig.streams.hand_back(5);
  rig.streams.sent.clear();
  ASSERT_TRUE(rig.player.play(true));  // while it plays
  EXPECT_EQ(rig.streams.open_streams, 1);
  ASSERT_FALSE(rig.streams.sent.empty());
  EXPECT_EQ(rig.streams.sent[0], firstBuffer);

  // A read error mid-piece lets the music run dry.
  Rig dry(EvenNotes(40, 0x30, {0x30, 0xF4}), true, std::chrono::hours(1));  // a byte no file may hold
  dry.streams.hand_back(100);
  EXPECT_TRUE(dry.streams.queued.empty());
  EXPECT_TRUE(dry.player.playing());
  // Both buffers are home: stop must not sit out its wait (an hour) for them. One that waits
  // gets a late hand-back after a minute, so the check fails rather than hangs.
  auto stopping = std::async(std::launch::async, [&] { return dry.player.stop(); });
  const bool stoppedAtOnce = stopping.wait_for(std::chrono::minutes(1)) == std::future_status::ready;
  if (!stoppedAtOnce) dry.streams.done(nullptr);
  EXPECT_TRUE(stoppedAtOnce) << "stop waited for buffers that were home already";
  EXPECT_TRUE(stopping.get());
}
}  // namespace
