// Generates the game's eight built-in sound effects from oscillators, noise and envelopes.
// Usage: make_effects <directory>  (writes kettei.wav, kasoru.wav, ... there)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {
constexpr int kRate = 22050;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Samples = std::vector<double>;

// A sound `seconds` long, each sample the value of `at` at its time.
Samples Render(double seconds, const std::function<double(double)>& at) {
  Samples samples(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = at(static_cast<double>(i) / kRate);
  return samples;
}

// A sine whose frequency follows `hertz` over time, its phase carried from sample to sample.
class Oscillator {
 public:
  double sine(double hertz) { return std::sin(advance(hertz)); }
  // A softened square: the first odd harmonics only.
  double square(double hertz) {
    const double phase = advance(hertz);
    return std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5;
  }

 private:
  double advance(double hertz) {
    const double phase = phase_;
    phase_ = std::fmod(phase_ + kTwoPi * hertz / kRate, kTwoPi);
    return phase;
  }
  double phase_ = 0.0;
};

// White noise through a one-pole low-pass; `brightness` 0..1 is the filter's share of new input.
class Noise {
 public:
  explicit Noise(double brightness) : brightness_(brightness) {}
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    const double white = static_cast<double>(state_) / 2147483648.0 - 1.0;
    level_ += brightness_ * (white - level_);
    return level_;
  }

 private:
  double brightness_;
  std::uint32_t state_ = 0x2545F491u;
  double level_ = 0.0;
};

double Decay(double t, double seconds) { return std::exp(-t / seconds); }
// A note's gate: a few milliseconds' rise at its start and fall at its end, so that notes
// following each other do not click.
double Gate(double since, double length) {
  return std::clamp(std::min(since / 0.003, (length - since) / 0.004), 0.0, 1.0);
}

Samples Confirm() {  // two bright rising blips
  Oscillator tone;
  return Render(0.22, [&](double t) {
    const bool first = t < 0.06;
    const double since = first ? t : t - 0.06;
    const double gate = first ? Gate(since, 0.06) : Gate(since, 1.0);
    return tone.square(first ? 1318.5 : 1760.0) * gate * Decay(since, 0.05);
  });
}

Samples CursorTick() {  // a soft, short click of a high sine
  Oscillator tone;
  return Render(0.05, [&](double t) { return tone.sine(2093.0) * Decay(t, 0.012); });
}

Samples Flash() {  // a bright noise burst with a falling whistle
  Oscillator whistle;
  Noise noise(0.6);
  return Render(0.3,
                [&](double t) { return (noise.next() + 0.5 * whistle.sine(4000.0 - 10000.0 * t)) * Decay(t, 0.08); });
}

Samples Fanfare() {  // C E G C rising, the last note held with a little vibrato
  Oscillator tone;
  const double notes[] = {523.25, 659.25, 783.99, 1046.5};
  return Render(0.75, [&](double t) {
    const int step = std::min(3, static_cast<int>(t / 0.09));
    const double since = t - step * 0.09;
    const double vibrato = step == 3 ? 1.0 + 0.006 * std::sin(kTwoPi * 6.0 * since) : 1.0;
    const double envelope =
        step == 3 ? Gate(since, 1.0) * Decay(since, 0.3) : Gate(since, 0.09) * (0.6 + 0.4 * Decay(since, 0.05));
    return tone.square(notes[step] * vibrato) * envelope;
  });
}

Samples Alarm() {  // two tones taking turns every eighth of a second, 1.5 s
  Oscillator tone;
  return Render(1.5, [&](double t) {
    const int half = static_cast<int>(t / 0.125);
    const double since = t - half * 0.125;
    return tone.square(half % 2 == 0 ? 880.0 : 660.0) * Gate(since, 0.125);
  });
}

// A thump: a sine falling in pitch, with a noise knock at its start.
Samples Blow(double seconds, double high, double low, double body, double drive) {
  Oscillator thump;
  Noise knock(0.3);
  return Render(seconds, [&](double t) {
    const double hertz = low + (high - low) * Decay(t, body / 4);
    const double sound = thump.sine(hertz) * Decay(t, body) + knock.next() * 2.0 * Decay(t, 0.02);
    return std::tanh(drive * sound);
  });
}

Samples Punch() { return Blow(0.2, 220.0, 80.0, 0.05, 1.5); }
Samples HeavyBlow() { return Blow(0.5, 160.0, 55.0, 0.12, 3.0); }

Samples MagicShimmer() {  // high partials rising, each trembling at its own rate
  Oscillator partials[4];
  const double base[] = {1046.5, 1318.5, 1568.0, 2093.0};
  const double tremble[] = {7.0, 9.0, 11.0, 13.0};
  return Render(0.9, [&](double t) {
    double sum = 0.0;
    for (int p = 0; p < 4; ++p)
      sum += partials[p].sine(base[p] * (1.0 + 0.5 * t)) * (0.6 + 0.4 * std::sin(kTwoPi * tremble[p] * t));
    const double swell = std::min(1.0, t / 0.15) * Decay(std::max(0.0, t - 0.3), 0.2);
    return sum * swell;
  });
}

// Raised-cosine fades at both ends so that no effect starts or stops with a click, then
// scaled so that its loudest sample reaches `peak`.
void Finish(Samples& samples, double peak) {
  const std::size_t fade_in = kRate * 4 / 1000, fade_out = kRate * 15 / 1000;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::size_t from_end = samples.size() - 1 - i;
    double gain = 1.0;
    if (i < fade_in) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * i / fade_in);
    if (from_end < fade_out) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * from_end / fade_out);
    samples[i] *= gain;
  }
  double loudest = 0.0;
  for (double sample : samples) loudest = std::max(loudest, std::abs(sample));
  if (loudest > 0.0)
    for (double& sample : samples) sample *= peak / loudest;
}

void PutLittleEndian(std::string& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// A RIFF/WAVE file of 16-bit mono PCM.
bool WriteWave(const std::string& path, const Samples& samples) {
  const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::string bytes = "RIFF";
  PutLittleEndian(bytes, 36 + data_bytes, 4);
  bytes += "WAVEfmt ";
  PutLittleEndian(bytes, 16, 4);
  PutLittleEndian(bytes, 1, 2);  // PCM
  PutLittleEndian(bytes, 1, 2);  // mono
  PutLittleEndian(bytes, kRate, 4);
  PutLittleEndian(bytes, kRate * 2, 4);  // bytes per second
  PutLittleEndian(bytes, 2, 2);          // block alignment
  PutLittleEndian(bytes, 16, 2);         // bits per sample
  bytes += "data";
  PutLittleEndian(bytes, data_bytes, 4);
  for (double sample : samples)
    PutLittleEndian(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample * 32767))), 2);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const struct {
    const char* name;
    Samples (*make)();
    double peak;  // -3 dBFS, the cursor tick softer, the alarm a little lower for its length
  } effects[] = {
      {"kettei.wav", Confirm, 0.7},   {"kasoru.wav", CursorTick, 0.4},  {"flush.wav", Flash, 0.7},
      {"create.wav", Fanfare, 0.7},   {"alarm.wav", Alarm, 0.55},       {"tuzyou.wav", Punch, 0.7},
      {"kyouda.wav", HeavyBlow, 0.7}, {"mahou.wav", MagicShimmer, 0.7},
  };
  for (const auto& effect : effects) {
    Samples samples = effect.make();
    Finish(samples, effect.peak);
    const std::string path = std::string(argv[1]) + "/" + effect.name;
    if (!WriteWave(path, samples)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
