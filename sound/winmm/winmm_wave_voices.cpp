// Opening, playing and releasing wave-out devices for the effect voices.
#include "sound/winmm/winmm_wave_voices.hpp"

// Before the system headers, whose macros share the status codes' names.
#include "sound/wave/wave_file.hpp"

#include "sound/winmm/wave_out_calls.hpp"

#include <cstring>
#include <vector>

static_assert(sizeof(WAVEFORMATEX) == 18, "the format record is packed");

struct WinmmWaveVoices::Effect {
  std::vector<std::uint8_t> format;
  std::vector<std::uint8_t> samples;
};

struct WinmmWaveVoices::Voice {
  explicit Voice(const WaveOutCalls& calls) : calls(calls) {}
  const WaveOutCalls& calls;
  HWAVEOUT device = nullptr;
  WAVEHDR header{};
  std::shared_ptr<const Effect> effect;  // the device only reads the samples
  bool prepared = false;
  bool played = false;

  ~Voice() {
    if (device == nullptr) return;
    calls.reset(device);
    if (prepared) calls.unprepare(device, &header, sizeof header);
    calls.close(device);
  }
};

namespace {
// The format record as the device takes it: 18 bytes and the extra bytes after them.
std::vector<std::uint8_t> FormatRecord(const WaveFormat& format) {
  WAVEFORMATEX head{};
  head.wFormatTag = format.format_tag;
  head.nChannels = format.channels;
  head.nSamplesPerSec = format.samples_per_second;
  head.nAvgBytesPerSec = format.average_bytes_per_second;
  head.nBlockAlign = format.block_align;
  head.wBitsPerSample = format.bits_per_sample;
  head.cbSize = static_cast<WORD>(format.extra.size());
  std::vector<std::uint8_t> record(sizeof head + format.extra.size());
  std::memcpy(record.data(), &head, sizeof head);
  if (!format.extra.empty()) std::memcpy(record.data() + sizeof head, format.extra.data(), format.extra.size());
  return record;
}

const WaveOutCalls& SystemCalls() {
  static const WaveOutCalls calls;
  return calls;
}

// The voice number of a device: its handle value, which must fit in 32 bits.
WaveVoice VoiceOf(HWAVEOUT device) {
  const auto value = reinterpret_cast<std::uintptr_t>(device);
  return value <= UINT32_MAX ? static_cast<WaveVoice>(value) : 0;
}
}  // namespace

// Read in pieces, never in one block of the size the file's header states.
std::shared_ptr<const WinmmWaveVoices::Effect> WinmmWaveVoices::load_effect(const char* name) {
  WaveFile file;
  if (file.open(name, nullptr, WAVE_READ) < 0) return nullptr;
  // A failed read still plays: whatever arrived, which is nothing.
  return std::make_shared<const Effect>(Effect{FormatRecord(*file.format()), ReadAllData(file)});
}

WinmmWaveVoices::WinmmWaveVoices() : WinmmWaveVoices(SystemCalls()) {}
WinmmWaveVoices::WinmmWaveVoices(const WaveOutCalls& calls) : calls_(calls) {}
WinmmWaveVoices::~WinmmWaveVoices() { release_all_waves(); }

WaveVoice WinmmWaveVoices::prepare_wave(const char* name) {
  release_finished();
  if (name == nullptr) return 0;
  if (voices_.size() >= kMaxVoices) return 0;
  std::shared_ptr<const Effect> effect = effects_.get(name, load_effect);
  if (!effect) return 0;

  auto voice = std::make_unique<Voice>(calls_);
  voice->effect = effect;
  if (calls_.open(&voice->device, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(effect->format.data()), 0, 0,
                  CALLBACK_NULL) != MMSYSERR_NOERROR) {
    voice->device = nullptr;  // nothing was opened
    return 0;
  }
  const WaveVoice number = VoiceOf(voice->device);
  if (number == 0) return 0;  // from here on a failure closes the device as the voice goes

  WAVEHDR& header = voice->header;
  header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(effect->samples.data()));
  header.dwBufferLength = static_cast<DWORD>(effect->samples.size());
  header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  header.dwLoops = 1;
  if (calls_.prepare(voice->device, &header, sizeof header) != MMSYSERR_NOERROR) return 0;
  voice->prepared = true;

  voices_[static_cast<std::int32_t>(number)] = std::move(voice);
  return number;
}

bool WinmmWaveVoices::play_wave(WaveVoice voice) {
  if (voice == 0) return false;
  auto found = voices_.find(static_cast<std::int32_t>(voice));
  if (found == voices_.end()) return false;
  Voice& playing = *found->second;
  calls_.reset(playing.device);
  if (calls_.write(playing.device, &playing.header, sizeof playing.header) != MMSYSERR_NOERROR) {
    voices_.erase(found);  // its device would never report a block done
    return false;
  }
  playing.played = true;
  return true;
}

void WinmmWaveVoices::release_all_waves() {
  while (!voices_.empty()) voices_.erase(voices_.begin());
  effects_.clear();
}

void WinmmWaveVoices::release_finished() {
  std::erase_if(voices_, [](const auto& entry) {
    const Voice& voice = *entry.second;
    return voice.played && (voice.header.dwFlags & WHDR_DONE) != 0;
  });
}
