// Threads of the sound, started so that the process's signals stay with the game's main thread.
#pragma once

#include <thread>
#include <utility>

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include <signal.h>
#endif

// Starts `body` on a thread of its own with every signal but the faults held off, so that the
// thread, and every thread a library starts from it in turn (SDL's, FluidSynth's), leaves them
// to the main thread: Ctrl+Z, the resume after it, a resize and the signals that end the game
// are each handled there, once. A fault still reaches its handler on the thread where it happens.
template <class Body>
std::thread StartBackgroundThread(Body&& body) {
#if defined(_WIN32) || defined(__EMSCRIPTEN__)
  return std::thread(std::forward<Body>(body));
#else
  sigset_t held;
  sigset_t previous;
  sigfillset(&held);
  for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS}) sigdelset(&held, fault);
  pthread_sigmask(SIG_BLOCK, &held, &previous);
  std::thread thread(std::forward<Body>(body));
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return thread;
#endif
}
