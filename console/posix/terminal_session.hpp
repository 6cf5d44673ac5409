// Owning the terminal while the game runs: raw mode, the alternate screen, signals, restoring.
#pragma once

namespace terminal_session {

// Switches the terminal on standard input/output to the game: no echo, no line editing,
// Ctrl+C still interrupts, alternate screen, cursor hidden, no autowrap, standard error
// silenced. From here on every way out restores the terminal: normal exit, SIGINT, SIGTERM,
// SIGHUP, SIGQUIT (restored, then the signal's default action), and Ctrl+Z (restored while
// stopped, taken back on resume).
void Enter();
// Gives the terminal back exactly as it was. Safe to call more than once.
void Leave();
// Switches the terminal to reporting key events with their releases, in the kitty keyboard
// protocol's form or as win32-input-mode records; from then on it is switched back on leaving
// and on again after a resume. Stop switches it back at once (the terminal did not take it).
enum class KeyEvents { Kitty, Win32 };
void StartKeyEvents(KeyEvents form);
void StopKeyEvents();

// Becomes readable when a signal asks for a redraw (resize, resume); wait on it with input,
// and clear it once woken (before taking the changes).
int WakeFd();
void ClearWake();
// What happened since the last call.
struct Changes {
  bool resized = false;
  bool resumed = false;
};
Changes TakeChanges();

// The terminal's size in columns and rows (0 when it cannot be asked).
struct Size {
  int columns = 0;
  int rows = 0;
};
Size CurrentSize();

// Writes all of `size` bytes to the terminal in as few write() calls as it takes.
void WriteAll(const char* data, unsigned long size);

}  // namespace terminal_session
