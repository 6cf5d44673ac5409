// Opening the SDL2 audio device quietly and feeding it from the source mix.
#include "sound/audio/sdl_audio_output.hpp"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {
constexpr int kRequestedRate = 48000;
constexpr int kRequestedFrames = 512;  // about 11 ms at 48 kHz

void DiscardLog(void*, int, SDL_LogPriority, const char*) {}

// Runs `step` with standard error sent to /dev/null: the libraries under SDL (ALSA above all)
// print their complaints about missing cards and servers there, over the game's screen.
template <class Step>
auto WithoutStandardError(Step step) {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  if (null >= 0) close(null);
  auto result = step();
  std::fflush(stderr);
  if (saved >= 0) {
    dup2(saved, STDERR_FILENO);
    close(saved);
  }
  return result;
}
}  // namespace

std::unique_ptr<SdlAudioOutput> SdlAudioOutput::Open() {
  SDL_LogSetOutputFunction(DiscardLog, nullptr);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_APP_NAME, "DOMRAK");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "DOMRAK");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Game sound");
  if (!WithoutStandardError([] { return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; })) return nullptr;

  std::unique_ptr<SdlAudioOutput> output(new SdlAudioOutput());
  SDL_AudioSpec wanted{};
  wanted.freq = kRequestedRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = kRequestedFrames;
  wanted.callback = &SdlAudioOutput::Callback;
  wanted.userdata = output.get();
  SDL_AudioSpec obtained{};
  output->device_ = WithoutStandardError([&] {
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                               SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
  });
  if (output->device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  output->rate_ = obtained.freq;
  output->buffer_frames_ = obtained.samples;
  SDL_PauseAudioDevice(output->device_, 0);
  return output;
}

SdlAudioOutput::~SdlAudioOutput() {
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::Callback(void* self, std::uint8_t* stream, int bytes) {
  const auto frames = static_cast<std::size_t>(bytes) / (2 * sizeof(float));
  static_cast<SdlAudioOutput*>(self)->mix_.mix(reinterpret_cast<float*>(stream), frames);
}
