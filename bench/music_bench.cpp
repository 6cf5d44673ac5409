// Music benchmark: note timing in offline renders, game-thread time per music change, memory over 1,000 changes,
// and the cost of starting and refilling a file made to be as slow to read as the limits allow.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/midi_music.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"
#include "bench/nominal_timing.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/sound_bytes.hpp"
#include "tests/support/recording_synth.hpp"

namespace {
constexpr int kRate = 48000;
struct PieceRole {
  const char* name;
  bool loops;
};
constexpr PieceRole kPieces[] = {{"title.mid", true},   {"entry.mid", true},     {"buttle1.mid", true},
                                 {"buttle2.mid", true}, {"buttle3.mid", true},   {"buttle4.mid", true},
                                 {"syori.mid", false},  {"gameover.mid", false}, {"end.mid", false}};

// Note-ons with a velocity, the messages that make sound.
std::vector<RecordingSynth::Message> NoteOns(const RecordingSynth& synth) {
  std::vector<RecordingSynth::Message> notes;
  for (const auto& m : synth.messages)
    if ((m.message & 0xF0) == 0x90 && (m.message >> 16) != 0) notes.push_back(m);
  return notes;
}

// Worst distance, in milliseconds, of any note from its nominal time over two passes of each piece.
double WorstNoteTimingMs() {
  double worst = 0;
  for (const PieceRole& piece : kPieces) {
    RecordingSynth synth;
    SynthStreamService streams(synth, kRate, SynthStreamService::Mixing::Offline);
    OfflineAudio output(kRate);
    output.add_source(&streams);
    MidiStreamPlayer player(streams);
    player.sequence().load(piece.name);
    NominalTiming timing = NominalTimingOf(player.sequence());
    int passes = piece.loops ? 2 : 1;
    player.play(piece.loops);
    for (double t = 0; t < passes * timing.pass_seconds + 0.5; t += 0.01) {
      output.render(kRate / 100);
      streams.settle();
    }
    player.stop();
    auto notes = NoteOns(synth);
    std::size_t perPass = timing.note_on_seconds.size();
    if (notes.size() < passes * perPass) {
      std::printf("%s: %zu of %zu notes played\n", piece.name, notes.size(), passes * perPass);
      return 1e9;
    }
    double pieceWorst = 0;
    for (std::size_t i = 0; i < passes * perPass; ++i) {
      double nominal = timing.note_on_seconds[i % perPass] + static_cast<double>(i / perPass) * timing.pass_seconds;
      pieceWorst = std::max(pieceWorst, std::abs(notes[i].frame / double(kRate) - nominal) * 1000);
    }
    std::printf("  %-13s %4zu notes x %d pass(es), worst %.3f ms\n", piece.name, perPass, passes, pieceWorst);
    worst = std::max(worst, pieceWorst);
  }
  return worst;
}

// An output that mixes its sources on a thread of its own in real time, as the device does.
class PacedAudio final : public AudioOutput {
 public:
  PacedAudio() : thread_([this] { run(); }) {}
  ~PacedAudio() override {
    running_ = false;
    thread_.join();
  }
  int sample_rate() const override { return kRate; }
  void add_source(AudioSource* source) override {
    std::lock_guard lock(mutex_);
    sources_.push_back(source);
  }
  void remove_source(AudioSource* source) override {
    std::lock_guard lock(mutex_);
    std::erase(sources_, source);
  }

 private:
  void run() {
    constexpr std::size_t kFrames = 512;
    std::vector<float> buffer(kFrames * 2);
    auto next = std::chrono::steady_clock::now();
    while (running_) {
      std::fill(buffer.begin(), buffer.end(), 0.0f);
      {
        std::lock_guard lock(mutex_);
        for (AudioSource* source : sources_) source->mix_into(buffer.data(), kFrames);
      }
      next += std::chrono::microseconds(kFrames * 1000000 / kRate);
      std::this_thread::sleep_until(next);
    }
  }

  std::mutex mutex_;
  std::vector<AudioSource*> sources_;
  std::atomic<bool> running_{true};
  std::thread thread_;
};

// Processor time of the calling thread: on a busy machine a short step's wall time is mostly
// the time it waited for a core.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A looping 3.9 MB file of 256 tracks: 1.3 million system-exclusive messages at tick 0 and one
// note at tick 1, at 32768 ticks a quarter and the fastest tempo. Gives the time of starting it
// and the 99th percentile of 400 refills (more than one pass), in milliseconds of processor time.
std::pair<double, double> FloodedFileMs() {
  const Bytes file = FloodedSmf(5078, {0x01});
  FakeStreamService streams;
  MidiStreamPlayer player(streams);
  player.sequence().parse_image(file);
  double start = ThreadCpuMs();
  player.play(true);
  const double playMs = ThreadCpuMs() - start;
  std::vector<double> refillMs;
  for (int i = 0; i < 400; ++i) {
    start = ThreadCpuMs();
    streams.hand_back();
    refillMs.push_back(ThreadCpuMs() - start);
  }
  std::sort(refillMs.begin(), refillMs.end());
  const double p99 = refillMs[refillMs.size() * 99 / 100];
  std::printf(
      "flooded file (%zu bytes, %llu events read), processor time: play %.3f ms; refills: median %.3f ms, p99 %.3f ms, "
      "max %.3f ms (bars: play 5 ms, p99 2 ms)\n",
      file.size(), static_cast<unsigned long long>(player.sequence().events_read()), playMs,
      refillMs[refillMs.size() / 2], p99, refillMs.back());
  return {playMs, p99};
}

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
}
}  // namespace

int main() {
  std::printf("note timing (offline, every note-on against its nominal time):\n");
  double worstMs = WorstNoteTimingMs();
  std::printf("worst note timing: %.3f ms (bar: 2 ms)\n\n", worstMs);
  const auto [floodedPlayMs, floodedRefillMs] = FloodedFileMs();

  PacedAudio device;
  auto music = CreateMidiMusic(device);
  if (!music) {
    std::printf("no synthesiser available\n");
    return 1;
  }
  MusicPlayer* current = nullptr;
  std::vector<double> changeMs;
  long residentAfterWarmUp = 0;
  constexpr int kWarmUp = 100, kChanges = 1000;
  for (int i = 0; i < kWarmUp + kChanges; ++i) {
    if (i == kWarmUp) residentAfterWarmUp = ResidentKb();
    const PieceRole& piece = kPieces[i % 9];
    auto before = std::chrono::steady_clock::now();
    music->stop_music(current);
    current = music->load_music(piece.name);
    music->play_music(current, piece.loops);
    auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    if (i >= kWarmUp) changeMs.push_back(took);
    std::this_thread::sleep_for(std::chrono::milliseconds(i % 7 == 0 ? 80 : 3));  // let the music play a little
  }
  long residentAfter = ResidentKb();
  music->stop_music(current);
  std::sort(changeMs.begin(), changeMs.end());
  double mean = 0;
  for (double ms : changeMs) mean += ms / changeMs.size();
  std::printf(
      "music change (stop, load, play) on the game thread over %d changes: mean %.3f ms, p99 %.3f ms, "
      "max %.3f ms (bar: 50 ms)\n",
      kChanges, mean, changeMs[changeMs.size() * 99 / 100], changeMs.back());
  std::printf("resident memory: %ld kB after %d warm-up changes, %ld kB after %d more: growth %ld kB (bar: 1024 kB)\n",
              residentAfterWarmUp, kWarmUp, residentAfter, kChanges, residentAfter - residentAfterWarmUp);
  bool ok = worstMs < 2 && changeMs.back() < 50 && residentAfter - residentAfterWarmUp < 1024 && floodedPlayMs < 5 &&
            floodedRefillMs < 2;
  std::printf("%s\n", ok ? "all bars met" : "A BAR IS MISSED");
  return ok ? 0 : 1;
}
