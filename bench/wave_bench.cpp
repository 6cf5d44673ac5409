// Measures the effect path against its targets: device latency, mixing cost, memory over a long session.
// Usage: wave_bench   (uses the SDL "dummy" driver when no audio device is there)
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <thread>
#include <vector>

#include "sound/audio/offline_audio.hpp"
#include "sound/audio/sdl_audio_output.hpp"
#include "sound/wave/wave_voices.hpp"

namespace {
using Clock = std::chrono::steady_clock;

const char* const kEffects[8] = {"kettei.wav", "kasoru.wav", "flush.wav",  "create.wav",
                                 "alarm.wav",  "tuzyou.wav", "kyouda.wav", "mahou.wav"};

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Notes the moment the first sound reaches a callback's buffer; mixed after the voices.
class FirstSound final : public AudioSource {
 public:
  void arm() { heard_.store(Clock::time_point{}.time_since_epoch().count()); }
  Clock::duration::rep heard() const { return heard_.load(); }
  void mix_into(float* out, std::size_t frames) override {
    if (heard_.load() != 0) return;
    for (std::size_t i = 0; i < frames * 2; ++i)
      if (out[i] != 0.0f) {
        heard_.store(Clock::now().time_since_epoch().count());
        return;
      }
  }

 private:
  std::atomic<Clock::duration::rep> heard_{0};
};

// From play_wave to the callback that hands the effect's first samples to the device, plus
// the time that callback's buffer takes to play: the worst of several plays.
bool MeasureLatency() {
  auto output = SdlAudioOutput::Open();
  const char* device = "default device";
  if (!output) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    output = SdlAudioOutput::Open();
    device = "SDL dummy driver";
  }
  if (!output) {
    std::printf("latency: no audio output at all\n");
    return false;
  }
  const double buffer_ms = 1000.0 * output->buffer_frames() / output->sample_rate();
  double worst_ms = 0.0;
  {
    WaveVoices voices(*output);
    FirstSound probe;
    output->add_source(&probe);
    for (int play = 0; play < 40; ++play) {
      probe.arm();
      const WaveVoice voice = voices.prepare_wave("kasoru.wav");
      const auto started = Clock::now();
      voices.play_wave(voice);
      while (probe.heard() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      const auto heard = Clock::time_point(Clock::duration(probe.heard()));
      worst_ms = std::max(worst_ms, std::chrono::duration<double, std::milli>(heard - started).count());
      std::this_thread::sleep_for(std::chrono::milliseconds(80));  // let it finish
    }
    output->remove_source(&probe);
  }
  const double total = worst_ms + buffer_ms;
  std::printf(
      "latency (%s, %d Hz, %d-frame buffer = %.1f ms): worst wait for a callback %.1f ms, "
      "play_wave to device %.1f ms (target < 30 ms)\n",
      device, output->sample_rate(), output->buffer_frames(), buffer_ms, worst_ms, total);
  return total < 30.0;
}

// Eight voices sounding all the time for a minute of audio, in device-sized blocks: the
// longest effect, each voice restarted before it ends so that it never drops out.
bool MeasureMixingCost() {
  OfflineAudio audio(48000);
  WaveVoices voices(audio);
  constexpr std::size_t kBlock = 512;
  constexpr double kSeconds = 60.0;
  const auto blocks = static_cast<std::size_t>(kSeconds * 48000 / kBlock);
  std::vector<WaveVoice> eight;
  for (int voice = 0; voice < 8; ++voice) eight.push_back(voices.prepare_wave("alarm.wav"));
  const double before = CpuSeconds();
  for (std::size_t block = 0; block < blocks; ++block) {
    if (block % 16 == 0) voices.play_wave(eight[block / 16 % 8]);  // each again every 1.4 s
    audio.render(kBlock);
  }
  const double share = (CpuSeconds() - before) / kSeconds * 100.0;
  std::printf("mixing eight voices: %.3f%% of one core (target < 2%%)\n", share);
  return share < 2.0;
}

// 10,000 effects, each prepared and played the way the game does, with the mix running.
bool MeasureLongSession() {
  OfflineAudio audio(48000);
  WaveVoices voices(audio);
  long warmed = 0;
  for (int effect = 0; effect < 10000; ++effect) {
    voices.play_wave(voices.prepare_wave(kEffects[effect % 8]));
    audio.render(4800);  // 100 ms of play between effects
    if (effect == 100) warmed = ResidentKilobytes();
  }
  audio.render(48000 * 2);
  const long growth = ResidentKilobytes() - warmed;
  std::printf(
      "10,000 effects: resident memory grew %ld KB after warm-up, %zu voices held "
      "(target < 1024 KB)\n",
      growth, voices.voice_count());
  return growth < 1024;
}
}  // namespace

int main() {
  const bool latency = MeasureLatency();
  const bool mixing = MeasureMixingCost();
  const bool memory = MeasureLongSession();
  return latency && mixing && memory ? 0 : 1;
}
