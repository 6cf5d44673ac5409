// FluidSynth behind SynthEngine: rendered on demand, never through a driver of its own.
#include "sound/midi/fluid_synth_engine.hpp"

#include <fluidsynth.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sound/files/sound_file.hpp"

namespace {
constexpr std::size_t kChunkFrames = 512;

class FluidSynthEngine final : public SynthEngine {
 public:
  FluidSynthEngine(fluid_settings_t* settings, fluid_synth_t* synth)
      : settings_(settings), synth_(synth), scratch_(kChunkFrames * 2) {}
  ~FluidSynthEngine() override {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }

  void short_message(std::uint32_t message) override {
    int channel = message & 0x0F;
    int data1 = (message >> 8) & 0x7F;
    int data2 = (message >> 16) & 0x7F;
    switch (message & 0xF0) {
      case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
      case 0x90:
        fluid_synth_noteon(synth_, channel, data1, data2);
        break;
      case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
      case 0xB0:
        fluid_synth_cc(synth_, channel, data1, data2);
        break;
      case 0xC0:
        fluid_synth_program_change(synth_, channel, data1);
        break;
      case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
      case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
        break;
      default:
        break;
    }
  }

  void silence() override {
    for (int channel = 0; channel < 16; ++channel) {
      fluid_synth_cc(synth_, channel, 64, 0);   // sustain off, or held notes would ring on
      fluid_synth_cc(synth_, channel, 121, 0);  // reset controllers
      fluid_synth_all_notes_off(synth_, channel);
    }
  }

  void render(float* out, std::size_t frames) override {
    while (frames > 0) {
      std::size_t now = std::min(frames, kChunkFrames);
      fluid_synth_write_float(synth_, static_cast<int>(now), scratch_.data(), 0, 2, scratch_.data(), 1, 2);
      for (std::size_t i = 0; i < now * 2; ++i) out[i] += scratch_[i];
      out += now * 2;
      frames -= now;
    }
  }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  std::vector<float> scratch_;
};
}  // namespace

const char* FindGeneralMidiSoundFont() {
  static const char* const kCandidates[] = {
      "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3",
      "/usr/share/sounds/sf2/TimGM6mb.sf2",
  };
  for (const char* path : kCandidates)
    if (access(path, R_OK) == 0) return path;
  return nullptr;
}

std::unique_ptr<SynthEngine> CreateFluidSynthEngine(int sampleRate, const char* soundFont) {
  for (int level = 0; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
  const int file = OpenSoundFile(soundFont, kMaxSoundFontBytes);
  if (file < 0) return nullptr;
  // FluidSynth opens the SoundFont by name. It is given the name of the descriptor checked
  // above, so it reads that regular file whatever the SoundFont's own name now stands for.
  const std::string checked = "/dev/fd/" + std::to_string(file);
  fluid_settings_t* settings = new_fluid_settings();
  if (settings != nullptr) {
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings, "synth.gain", 0.55);
  }
  fluid_synth_t* synth = settings != nullptr ? new_fluid_synth(settings) : nullptr;
  const bool loaded = synth != nullptr && fluid_synth_sfload(synth, checked.c_str(), 1) != FLUID_FAILED;
  close(file);
  if (!loaded) {
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
    return nullptr;
  }
  return std::make_unique<FluidSynthEngine>(settings, synth);
}
