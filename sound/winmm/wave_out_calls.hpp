// The wave-out calls the effect voices make: the system's own, or stand-ins a test gives.
#pragma once

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

struct WaveOutCalls {
  decltype(&waveOutOpen) open = &waveOutOpen;
  decltype(&waveOutPrepareHeader) prepare = &waveOutPrepareHeader;
  decltype(&waveOutWrite) write = &waveOutWrite;
  decltype(&waveOutReset) reset = &waveOutReset;
  decltype(&waveOutUnprepareHeader) unprepare = &waveOutUnprepareHeader;
  decltype(&waveOutClose) close = &waveOutClose;
};
