// Placeholder until the MIDI player is built: there is no music.
#include "sound/midi/midi_music.hpp"

std::unique_ptr<MusicService> CreateMidiMusic(AudioOutput&) { return nullptr; }
