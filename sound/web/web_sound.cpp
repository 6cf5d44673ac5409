// The web page's sound system, and the calls through which the page's audio side reaches it.
#include "sound/web/web_sound.hpp"

#include <emscripten.h>

#include "sound/platform_sound.hpp"

// Provided by the page's side of the module (web_sound.js).
extern "C" void domrak_effects_started();

namespace {
WebSound* currentSound = nullptr;
}  // namespace

const float* WebEffectOutput::mix_block() {
  mix_.mix(block_.data(), kBlockFrames);
  return block_.data();
}

WebSound::WebSound() { currentSound = this; }

WebSound::~WebSound() { currentSound = nullptr; }

WebSound* WebSound::current() { return currentSound; }

bool WebSound::play_wave(WaveVoice voice) {
  if (!voices_.play_wave(voice)) return false;
  domrak_effects_started();
  return true;
}

std::unique_ptr<SoundSystem> CreatePlatformSound() { return std::make_unique<WebSound>(); }

extern "C" {
// The next block of effect frames (WebEffectOutput::kBlockFrames stereo frames), or null
// when there is no sound.
EMSCRIPTEN_KEEPALIVE const float* domrak_mix_effects() { return currentSound ? currentSound->mix_effects() : nullptr; }
// Whether a voice still sounds, so the page keeps pulling effect blocks.
EMSCRIPTEN_KEEPALIVE int domrak_effects_sounding() { return currentSound && currentSound->effects_sounding() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void domrak_music_buffer_played(std::uint32_t stream, std::uint32_t token) {
  if (currentSound) currentSound->music_buffer_played(stream, token);
}
}
