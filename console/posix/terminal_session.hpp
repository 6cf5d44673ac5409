// Owning the terminal while the game runs: raw mode, the alternate screen, signals, restoring.
#pragma once

#include <functional>

namespace terminal_session {

// Switches the terminal on standard input/output to the game: no echo, no line editing,
// Ctrl+C still interrupts, alternate screen, cursor hidden, no autowrap, standard error
// silenced. From here on every way out restores the terminal: normal exit, every signal whose
// default action ends the process and that no library handles already (restored, then that
// action), and Ctrl+Z (restored, then the game's whole job stopped; taken back on resume in the
// foreground, or at once when the system refuses to stop the game; resumed in the background,
// the job stops again and leaves the terminal alone). Key releases still on their way are dropped
// on the way out, and a terminal that stops reading holds none of this for more than a second.
// SIGPIPE is ignored: a terminal that has gone shows up as a failed write instead.
void Enter();
// Gives the terminal back exactly as it was. Safe to call more than once.
void Leave();
// Switches the terminal to reporting key events with their releases, in the kitty keyboard
// protocol's form or as win32-input-mode records; from then on it is switched back on leaving
// and on again after a resume. Stop switches it back at once (the terminal did not take it).
enum class KeyEvents { Kitty, Win32 };
void StartKeyEvents(KeyEvents form);
void StopKeyEvents();

// The terminal's size in columns and rows (0 when it cannot be asked).
struct Size {
  int columns = 0;
  int rows = 0;
};
Size CurrentSize();
// Asks the terminal to resize its text area (CSI 8 ; rows ; columns t). If it does, the
// size the player had is asked for again on leaving, unless the player has resized it since.
void AskForSize(Size wanted);

// Becomes readable when a signal asks for a redraw (resize, resume); wait on it with input,
// and clear it once woken (before taking the changes).
int WakeFd();
void ClearWake();
// What happened since the last call; taking the changes clears them in one step, so a signal
// arriving meanwhile is seen now or next time, never lost.
struct Changes {
  bool resized = false;
  bool resumed = false;
};
Changes TakeChanges();

// Writes all of `size` bytes to the terminal, waiting while it is busy. Input arriving
// meanwhile is handed to `on_input` (which reads it, so that keys raising signals act while the
// terminal takes no output) for as long as it returns true. False when the terminal has gone
// (hung up, closed); the game should end then.
bool WriteAll(const char* data, unsigned long size, const std::function<bool()>& on_input = {});

}  // namespace terminal_session
