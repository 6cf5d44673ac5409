// Loading effects into voices, handing their plays to the audio thread and mixing them there.
#include "sound/wave/wave_voices.hpp"

#include <algorithm>

#include "sound/wave/wave_file.hpp"

namespace {
std::shared_ptr<const DecodedSound> LoadEffect(const char* name) {
  WaveFile file;
  if (file.open(name, nullptr, WAVE_READ) < 0) return nullptr;
  auto sound = DecodeWave(*file.format(), ReadAllData(file));
  if (!sound) return nullptr;
  return std::make_shared<const DecodedSound>(std::move(*sound));
}
}  // namespace

WaveVoices::WaveVoices(AudioOutput& output) : output_(output) { output_.add_source(this); }

WaveVoices::~WaveVoices() { output_.remove_source(this); }

WaveVoice WaveVoices::prepare_wave(const char* name) {
  collect_ended();
  if (!name) return 0;
  std::shared_ptr<const DecodedSound> sound = effects_.get(name, LoadEffect);
  if (!sound) return 0;

  auto voice = std::make_unique<Voice>();
  do ++last_voice_;
  while (last_voice_ == 0 || voices_.contains(last_voice_));
  voice->id = last_voice_;
  voice->step = static_cast<double>(sound->rate) / output_.sample_rate();
  voice->sound = std::move(sound);
  voices_[voice->id] = std::move(voice);
  return last_voice_;
}

bool WaveVoices::play_wave(WaveVoice voice) {
  collect_ended();
  const auto found = voices_.find(voice);
  if (voice == 0 || found == voices_.end()) return false;
  Voice& playing = *found->second;
  // Every play out comes back through `ended_`, which must never overflow.
  if (plays_out_ == kMaxPlays || !starts_.push({&playing, playing.last_start + 1})) {
    // While the output stands still every effect is refused: one that never played is freed
    // here, as nothing would ever free it.
    if (playing.last_start == 0) voices_.erase(found);
    return false;
  }
  ++playing.last_start;
  ++plays_out_;
  return true;
}

void WaveVoices::release_all_waves() {
  output_.remove_source(this);  // from here on the audio thread leaves the voices alone
  sounding_count_ = 0;
  while (starts_.pop()) {
  }
  while (ended_.pop()) {
  }
  plays_out_ = 0;
  voices_.clear();
  effects_.clear();
  output_.add_source(this);
}

std::size_t WaveVoices::voice_count() {
  collect_ended();
  return voices_.size();
}

// Game thread: a voice whose latest play has ended is freed.
void WaveVoices::collect_ended() {
  while (const auto ended = ended_.pop()) {
    --plays_out_;
    if (ended->start == ended->voice->last_start) voices_.erase(ended->voice->id);
  }
}

// Audio thread: new plays join the mix; a voice started again begins anew, and its earlier
// play is reported ended.
void WaveVoices::take_starts() {
  while (const auto start = starts_.pop()) {
    const auto end = sounding_.begin() + static_cast<std::ptrdiff_t>(sounding_count_);
    const auto same = std::find_if(sounding_.begin(), end,
                                   [&](const Sounding& sounding) { return sounding.play.voice == start->voice; });
    if (same == end) {
      sounding_[sounding_count_++] = Sounding{*start, 0.0};
      continue;
    }
    ended_.push(same->play);
    *same = Sounding{*start, 0.0};
  }
}

void WaveVoices::mix_into(float* out, std::size_t frames) {
  take_starts();
  for (std::size_t index = 0; index < sounding_count_;) {
    if (mix_one(sounding_[index], out, frames)) {
      ++index;
      continue;
    }
    ended_.push(sounding_[index].play);
    sounding_[index] = sounding_[--sounding_count_];
  }
}

bool WaveVoices::mix_one(Sounding& sounding, float* out, std::size_t frames) {
  const DecodedSound& sound = *sounding.play.voice->sound;
  const std::size_t length = sound.frames();
  const double step = sounding.play.voice->step;
  const auto channels = static_cast<std::size_t>(sound.channels);
  for (std::size_t frame = 0; frame < frames && sounding.position < length; ++frame) {
    const auto index = static_cast<std::size_t>(sounding.position);
    const auto fraction = static_cast<float>(sounding.position - static_cast<double>(index));
    for (std::size_t side = 0; side < 2; ++side) {
      const std::size_t channel = std::min(side, channels - 1);
      const float here = sound.samples[index * channels + channel];
      const float next = index + 1 < length ? sound.samples[(index + 1) * channels + channel] : 0.0f;
      out[frame * 2 + side] += here + (next - here) * fraction;
    }
    sounding.position += step;
  }
  return sounding.position < length;
}
