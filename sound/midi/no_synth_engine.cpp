// Builds without FluidSynth here (Windows; the browser, whose page plays the music): no synthesiser, so no music
// through it.
#include "sound/midi/fluid_synth_engine.hpp"

std::unique_ptr<SynthEngine> CreateFluidSynthEngine(int, const char*) { return nullptr; }

const char* FindGeneralMidiSoundFont() { return nullptr; }
