// Music from Standard MIDI Files, synthesised into the game's audio output.
#pragma once

#include <memory>

#include "sound/audio/audio_output.hpp"
#include "sound/music_service.hpp"

// The music service that plays through `output`; null when no synthesiser is available.
std::unique_ptr<MusicService> CreateMidiMusic(AudioOutput& output);
