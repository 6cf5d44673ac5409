// Loading, playing and stopping the game's music players, and retiring replaced ones.
#include "sound/midi/midi_player_set.hpp"

MusicPlayer* MidiPlayerSet::load_music(const char* name) {
  auto player = std::make_unique<MidiStreamPlayer>(service_);
  if (!player->sequence().load(name)) return nullptr;
  std::erase_if(players_, [](const auto& entry) { return !entry.second->playing(); });
  MusicPlayer* handle = player.get();
  players_.emplace(handle, std::move(player));
  return handle;
}

MidiStreamPlayer* MidiPlayerSet::find(MusicPlayer* player) const {
  auto found = players_.find(player);
  return found == players_.end() ? nullptr : found->second.get();
}

bool MidiPlayerSet::play_music(MusicPlayer* player, bool loop) {
  MidiStreamPlayer* known = find(player);
  return known != nullptr && known->play(loop);
}

bool MidiPlayerSet::stop_music(MusicPlayer* player) {
  MidiStreamPlayer* known = find(player);
  return known != nullptr && known->stop();
}
