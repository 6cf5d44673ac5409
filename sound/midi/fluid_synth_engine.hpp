// The synthesiser over FluidSynth with a General MIDI SoundFont from the system.
#pragma once

#include <memory>

#include "sound/midi/synth_engine.hpp"

// Null when FluidSynth cannot start or no General MIDI SoundFont is installed. FluidSynth's
// logging goes nowhere.
std::unique_ptr<SynthEngine> CreateFluidSynthEngine(int sampleRate);

// The first installed General MIDI SoundFont, or null.
const char* FindGeneralMidiSoundFont();
