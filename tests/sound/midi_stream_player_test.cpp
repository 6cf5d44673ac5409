// The stream player against a fake stream: records written, budgets, looping, ending and
// stopping.
#include <gtest/gtest.h>

#include <future>

#include "sound/midi/midi_stream_player.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
using State = MidiStreamPlayer::EndState;
using Record = FakeStreamService::Record;
using Buffers = std::vector<std::vector<Record>>;
constexpr std::uint32_t kOn = 0x90 | 60 << 8 | 100 << 16, kOff = 0x80 | 60 << 8;
constexpr std::uint32_t Tempo(std::uint32_t value) { return 0x01000000 | value; }
const Record kTempo120 = {0, Tempo(500000)};

// `count` notes on key 60 `step` ticks apart after a tempo of 120 a minute, at 480 ticks a
// quarter, then `tail` and the end of track.
Bytes EvenNotes(int count, std::uint8_t step, const Bytes& tail = {}) {
  Bytes track = TempoEvent(500000);
  for (int i = 0; i < count; ++i) track.insert(track.end(), {std::uint8_t(i ? step : 0), 0x90, 60, 100});
  return Smf(480, {Join({track, tail, kEndOfTrack})});
}

// A player of `file` on a fake stream of its own, playing it, looping or not.
struct Rig {
  Rig(Bytes bytes, bool loop, std::chrono::milliseconds stop_wait = MidiStreamPlayer::kStopWait)
      : file(std::move(bytes)), player(streams, stop_wait) {
    EXPECT_TRUE(player.sequence().parse_image(file));
    EXPECT_TRUE(player.play(loop));
  }
  Bytes file;
  FakeStreamService streams;
  MidiStreamPlayer player;
};
}  // namespace

TEST(MidiStreamPlayer, BuffersCloseAfterTheirBudgetOrWhenFullAndDroppedEventsKeepTheirTime) {
  // 480 ticks a quarter at 120 a minute make a budget of 57 ticks: a buffer takes events until
  // one lies past it, and one event more. A full one holds 85 records; a tempo waits for the next.
  Rig budget(EvenNotes(12, 19), false), full(EvenNotes(84, 0, Join({TempoEvent(500000), {10, 0x80, 60, 0}})), false);
  std::vector<Record> first = {kTempo120, {0, kOn}};
  first.resize(7, {19, kOn});
  EXPECT_EQ(budget.streams.sent, (Buffers{first, std::vector<Record>(5, {19, kOn})}));
  ASSERT_EQ(full.streams.sent.size(), 2u);
  EXPECT_EQ(full.streams.sent[0].size(), 85u);
  EXPECT_EQ(full.streams.sent[1], (std::vector<Record>{kTempo120, {10, kOff}}));
  // A text event, a system-exclusive message, a zero tempo and one too short are left out, and
  // carry their time to the note after them; a tempo too fast is played at the fastest.
  const Bytes dropped = {0x00, 0x90, 60, 100, 0x60, 0xFF, 0x01, 0x01, 'x',  0x30, 0xF0, 0x01, 0xF7, 0x30, 0xFF,
                         0x51, 0x03, 0,  0,   0,    0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x10, 0x80, 60,   0};
  EXPECT_EQ(Rig(Smf(96, {Join({dropped, TempoEvent(1), kEndOfTrack})}), false).streams.all_records,
            (std::vector<Record>{{0, kOn}, {208, kOff}, {0, Tempo(MidiStreamPlayer::kMinTempo)}}));
}

TEST(MidiStreamPlayer, PiecesLoopRightAfterTheirLastEventUnlessTimeless) {
  // Note on at 10, off at 30, end of track at 400: the pass is 30 ticks long, a sixty-fourth
  // note, the shortest that loops.
  Rig rig(Smf(480, {Join({TempoEvent(500000), {0x0A, 0x90, 60, 100, 0x14, 0x80, 60, 0, 0x82, 0x72, 0xFF, 0x2F, 0}})}),
          true);
  rig.streams.hand_back(6);
  const std::vector<Record> pass = {kTempo120, {10, kOn}, {20, kOff}};
  ASSERT_GE(rig.streams.all_records.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(rig.streams.all_records[i], pass[i % 3]) << i;
  // A piece without time, or with a pass shorter than a sixty-fourth note, plays out instead of spinning.
  for (const Bytes& piece :
       {Smf(96, {{}}), Smf(96, {{0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0, 0x83, 0x00, 0xFF, 0x2F, 0}}),
        Smf(96, {Join({{0x05, 0x90, 60, 100}, kEndOfTrack})})}) {  // 5 ticks: a 64th is 6
    Rig once(piece, true);
    once.streams.hand_back(100);
    EXPECT_EQ(once.streams.sent.size(), 2u);
    EXPECT_EQ(once.player.end_state(), State::Finished);
  }
}

TEST(MidiStreamPlayer, EachRefillReadsAtMost4096EventsAndRestsWhenThatWasNotEnough) {
  // 25,600 system-exclusive messages at tick 0 and a note at 2048, at 32768 ticks a quarter and
  // the fastest tempo: 1.8 microseconds a tick, 10 ms in 5461.
  Rig rig(FloodedSmf(100, {0x90, 0x00}), true);
  const Record kRest = {5461, 0x02000000}, kFastest = {0, Tempo(MidiStreamPlayer::kMinTempo)};
  EXPECT_LE(rig.player.sequence().events_read(), 8192u) << "the game thread read on and on as the music started";
  EXPECT_EQ(rig.streams.sent, (Buffers{{kFastest, kRest}, {kRest}}));
  // 25,601 events come before the note, 4,096 a buffer: it goes out in the seventh, and with
  // each pass of 25,858 events, in the thirteenth again.
  rig.streams.hand_back(11);
  ASSERT_EQ(rig.streams.sent.size(), 13u);
  EXPECT_EQ(rig.streams.sent[6], (std::vector<Record>{{2048, kOn}, kFastest, kRest})) << "the note was lost";
  EXPECT_EQ(rig.streams.sent[12], rig.streams.sent[6]) << "the piece did not loop";
}

TEST(MidiStreamPlayer, StopWaitsForBuffersOutPlayingAgainStartsOverAndARunDryPieceStops) {
  Rig rig(EvenNotes(200, 30), true);
  const auto firstBuffer = rig.streams.sent.at(0);
  rig.streams.hand_back(3);
  std::vector<State> states;  // as each buffer comes home
  rig.streams.after_hand_back = [&] { states.push_back(rig.player.end_state()); };
  EXPECT_TRUE(rig.player.stop());
  EXPECT_EQ(states, (std::vector<State>{State::Stopping, State::Finished}));
  EXPECT_EQ(rig.streams.open_streams, 0);
  rig.streams.after_hand_back = nullptr;
  ASSERT_TRUE(rig.player.play(true));
  rig.streams.hand_back(5);
  rig.streams.sent.clear();
  ASSERT_TRUE(rig.player.play(true));  // while it plays
  EXPECT_EQ(rig.streams.open_streams, 1);
  EXPECT_EQ(rig.streams.sent.at(0), firstBuffer);

  // A read error mid-piece lets the music run dry. Both buffers are home: stop must not sit out
  // its wait (an hour) for them. One that waits gets a late hand-back after a minute, so the
  // check fails rather than hangs.
  Rig dry(EvenNotes(40, 0x30, {0x30, 0xF4}), true, std::chrono::hours(1));  // a byte no file may hold
  dry.streams.hand_back(100);
  EXPECT_TRUE(dry.streams.queued.empty());
  auto stopping = std::async(std::launch::async, [&] { return dry.player.stop(); });
  const bool stoppedAtOnce = stopping.wait_for(std::chrono::minutes(1)) == std::future_status::ready;
  if (!stoppedAtOnce) dry.streams.done(nullptr);
  EXPECT_TRUE(stoppedAtOnce) << "stop waited for buffers that were home already";
  EXPECT_TRUE(stopping.get());
}
