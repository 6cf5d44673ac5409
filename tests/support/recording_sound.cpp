// The headless sound: every effect and music call is recorded with its game time.
#include "tests/support/recording_sound.hpp"

std::vector<std::string> RecordingSound::names(const std::string& what) const {
  std::vector<std::string> out;
  for (const Call& call : calls_)
    if (call.what == what) out.push_back(call.name);
  return out;
}

WaveVoice RecordingSound::prepare_wave(const char* name) {
  if (!name) return 0;
  voices_.emplace_back(name);
  return static_cast<WaveVoice>(voices_.size());
}

bool RecordingSound::play_wave(WaveVoice voice) {
  if (voice == 0 || voice > voices_.size()) return false;
  calls_.push_back({clock_(), "play_wave", voices_[voice - 1]});
  return true;
}

MusicPlayer* RecordingSound::load_music(const char* name) {
  if (!name) return nullptr;
  pieces_.push_back(std::make_unique<Piece>(name));
  calls_.push_back({clock_(), "load_music", name});
  return pieces_.back().get();
}

RecordingSound::Piece* RecordingSound::find(MusicPlayer* player) const {
  for (const auto& piece : pieces_)
    if (piece.get() == player) return piece.get();
  return nullptr;
}

bool RecordingSound::play_music(MusicPlayer* player, bool loop) {
  Piece* piece = find(player);
  if (!piece) return false;
  calls_.push_back({clock_(), "play_music", piece->name, loop});
  return true;
}

bool RecordingSound::stop_music(MusicPlayer* player) {
  Piece* piece = find(player);
  if (!piece) return false;
  calls_.push_back({clock_(), "stop_music", piece->name});
  return true;
}
