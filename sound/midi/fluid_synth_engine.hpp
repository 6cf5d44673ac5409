// The synthesiser over FluidSynth with a General MIDI SoundFont from the system.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/midi/synth_engine.hpp"

// The first installed General MIDI SoundFont, or null.
const char* FindGeneralMidiSoundFont();

// A SoundFont is loaded only from a regular file of at most this many bytes.
inline constexpr std::uint64_t kMaxSoundFontBytes = 256 * 1024 * 1024;

// Null when FluidSynth cannot start or `soundFont` cannot be loaded: missing, not a regular file
// (a FIFO or device is never waited for), too large, or not a SoundFont. FluidSynth's logging
// goes nowhere.
std::unique_ptr<SynthEngine> CreateFluidSynthEngine(int sampleRate, const char* soundFont = FindGeneralMidiSoundFont());
