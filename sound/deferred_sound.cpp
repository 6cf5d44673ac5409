// Bringing the sound up beside the game, and holding the music asked for until it is up.
#include "sound/deferred_sound.hpp"

#include <algorithm>

#include "sound/background_thread.hpp"

DeferredSound::DeferredSound(Factory create) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  // The browser build has no threads, and its sound is up at once: the page holds it until the
  // player's first key.
  bring_up(create);
#else
  bringing_up_ = StartBackgroundThread([this, create = std::move(create)] { bring_up(create); });
#endif
}

DeferredSound::~DeferredSound() { wait_until_up(); }

void DeferredSound::wait_until_up() {
  if (bringing_up_.joinable()) bringing_up_.join();
}

void DeferredSound::bring_up(const Factory& create) {
  std::unique_ptr<SoundSystem> sound = create();
  std::lock_guard lock(mutex_);
  sound_ = std::move(sound);
  up_ = true;
  if (!sound_) return;
  for (const auto& piece : early_pieces_) {
    if (!piece->playing) continue;
    piece->player = sound_->load_music(piece->name.c_str());
    sound_->play_music(piece->player, piece->loop);
  }
}

DeferredSound::EarlyPiece* DeferredSound::early_piece(MusicPlayer* player) const {
  const auto found = std::find_if(early_pieces_.begin(), early_pieces_.end(),
                                  [player](const auto& piece) { return piece.get() == player; });
  return found != early_pieces_.end() ? found->get() : nullptr;
}

WaveVoice DeferredSound::prepare_wave(const char* name) {
  std::lock_guard lock(mutex_);
  return sound_ ? sound_->prepare_wave(name) : 0;
}

bool DeferredSound::play_wave(WaveVoice voice) {
  std::lock_guard lock(mutex_);
  return sound_ && sound_->play_wave(voice);
}

void DeferredSound::release_all_waves() {
  std::lock_guard lock(mutex_);
  if (sound_) sound_->release_all_waves();
}

MusicPlayer* DeferredSound::load_music(const char* name) {
  std::lock_guard lock(mutex_);
  if (up_) return sound_ ? sound_->load_music(name) : nullptr;
  if (name == nullptr) return nullptr;
  return early_pieces_.emplace_back(std::make_unique<EarlyPiece>(name)).get();
}

bool DeferredSound::play_music(MusicPlayer* player, bool loop) {
  std::lock_guard lock(mutex_);
  EarlyPiece* early = early_piece(player);
  if (early == nullptr) return sound_ && sound_->play_music(player, loop);
  if (!up_) {
    early->playing = true;
    early->loop = loop;
    return true;
  }
  if (!sound_) return false;
  if (early->player == nullptr) early->player = sound_->load_music(early->name.c_str());
  return sound_->play_music(early->player, loop);
}

bool DeferredSound::stop_music(MusicPlayer* player) {
  std::lock_guard lock(mutex_);
  EarlyPiece* early = early_piece(player);
  if (early == nullptr) return sound_ && sound_->stop_music(player);
  early->playing = false;
  if (early->player == nullptr) return true;  // never started
  return sound_->stop_music(early->player);
}
