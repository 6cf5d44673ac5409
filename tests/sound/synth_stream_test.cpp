// MIDI stream records played at their samples: by the synthesiser's stream service (pausing,
// resets, hand-backs), by the web page's synthesiser schedule, and the title music through
// FluidSynth, whose SoundFont must be a regular file.
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "sound/web/stream_schedule.hpp"
#include "tests/support/recording_synth.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
constexpr std::uint32_t kOn60 = 0x90 | 60 << 8 | 100 << 16, kOff60 = 0x80 | 60 << 8, kOn62 = 0x90 | 62 << 8;

MidiStreamBuffer Buffer(const std::vector<MidiStreamRecord>& records) {
  MidiStreamBuffer buffer;
  for (const MidiStreamRecord& record : records) {
    record.write_to(buffer.data.data() + buffer.used);
    buffer.used += MidiStreamRecord::kSize;
  }
  return buffer;
}
}  // namespace

TEST(SynthStream, RecordsPlayOnTheirSamplesFromRestartUntilStopAndTheWebScheduleAgrees) {
  MidiStreamBuffer first = Buffer({{0, 0, kOn60},
                                   {96, 0, kOff60},              // a quarter at 120 a minute: 0.5 s
                                   {0, 0, 0x01000000 | 250000},  // twice as fast from here
                                   {0, 0, 0x01000000},           // unusable: the tempo stays
                                   {48, 0, kOn62}});             // an eighth at 240 a minute: 0.125 s
  MidiStreamBuffer second = Buffer({{96, 0, kOn60}});            // a quarter, 0.25 s, later
  // The web page's synthesiser schedules them on the same frames, counted from its restart.
  StreamSchedule schedule(48000);
  ASSERT_TRUE(schedule.set_time_division(96));
  std::vector<std::uint32_t> events;
  EXPECT_EQ(schedule.schedule(first, events), 30000u);
  EXPECT_EQ(schedule.schedule(second, events), 42000u);
  EXPECT_EQ(events, (std::vector<std::uint32_t>{0, kOn60, 24000, kOff60, 30000, kOn62, 42000, kOn60}));

  RecordingSynth synth;
  SynthStreamService service{synth, 48000, SynthStreamService::Mixing::Offline};
  OfflineAudio output{48000};
  output.add_source(&service);
  const auto render = [&](std::size_t frames) {  // in chunks, letting hand-backs finish between them
    for (std::size_t done = 0; done < frames; done += 700) {
      output.render(std::min<std::size_t>(700, frames - done));
      service.settle();
    }
  };
  std::mutex returnedMutex;
  std::vector<MidiStreamBuffer*> returned;
  std::unique_ptr<MidiStream> stream = service.open([&](MidiStreamBuffer* buffer) {
    std::lock_guard lock(returnedMutex);
    returned.push_back(buffer);
  });
  ASSERT_TRUE(stream->set_time_division(96));
  ASSERT_TRUE(stream->out(&first));
  ASSERT_TRUE(stream->out(&second));
  render(4900);  // a new stream waits paused
  ASSERT_TRUE(stream->restart());
  render(36400);
  const std::vector<RecordingSynth::Message> expected = {{4900, kOn60}, {4900 + 24000, kOff60}, {4900 + 30000, kOn62}};
  EXPECT_EQ(synth.messages, expected);
  EXPECT_EQ(returned, std::vector<MidiStreamBuffer*>{&first});
  ASSERT_TRUE(stream->stop());
  render(48000);
  EXPECT_EQ(synth.messages, expected);  // paused before the note of `second`
  EXPECT_EQ(synth.silenced, std::vector<std::int64_t>{4900 + 36400});
  ASSERT_TRUE(stream->reset());
  service.settle();
  EXPECT_EQ(returned, (std::vector<MidiStreamBuffer*>{&first, &second}));
}

TEST(FluidSynthEngine, ASoundFontThatIsAFifoIsRefusedAndTheTitleMusicIsHeardInBothChannels) {
  ScratchDirectory scratch;
  scratch.make_fifo("font.sf2");
  EXPECT_EQ(CreateFluidSynthEngine(48000, "font.sf2"), nullptr) << "the game waited for a FIFO to be written";
  const std::unique_ptr<SynthEngine> engine = CreateFluidSynthEngine(48000);
  if (!engine) GTEST_SKIP() << "no General MIDI SoundFont installed";
  SynthStreamService streams(*engine, 48000, SynthStreamService::Mixing::Offline);
  OfflineAudio output(48000);
  output.add_source(&streams);
  MidiStreamPlayer player(streams);
  ASSERT_TRUE(player.sequence().load("title.mid"));
  ASSERT_TRUE(player.play(true));
  double power[2] = {0, 0};
  for (int chunk = 0; chunk < 300; ++chunk) {  // three seconds
    const std::vector<float> samples = output.render(480);
    for (std::size_t i = 0; i < samples.size(); ++i) power[i % 2] += samples[i] * samples[i];
    streams.settle();
  }
  for (const double channel : power) EXPECT_GT(std::sqrt(channel / (300 * 480)), 0.01);
}
