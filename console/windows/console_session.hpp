// The game's hold on the console and the system clock, and giving both back on every way out.
#pragma once

#include <windows.h>

#include "console/windows/console_screen.hpp"

// Ctrl+C, Ctrl+Break, closing the window, logoff and shutdown end the process from a thread of
// the system's, without running the game's destructors. So the player's settings are kept
// process-wide: whichever of that thread and the game's own ending comes first puts them back,
// and the other finds nothing left to do.

// Saves the player's code pages, modes and timer resolution, then sets the console up for the
// game: code page 932, an 80x25 screen buffer of its own made active (or, when `own_buffer` is
// false or the console allows no second buffer, the player's buffer, sized 80x25 and its size,
// window and cursor saved too), and a 1 ms timer. Gives the buffer to draw on.
HANDLE BeginConsoleSession(HANDLE input, HANDLE player_output, bool own_buffer);

// Puts back everything BeginConsoleSession changed and makes the player's buffer active again.
// Only the first call after BeginConsoleSession does anything; safe from any thread.
void EndConsoleSession();

// Draws on the game's buffer unless the session has ended, never while it is ending.
void PresentInSession(ConsoleScreen& screen, const ScreenGrid& grid, const CursorState& cursor);

// Makes `output` an 80x25 buffer with an 80x25 window where the console allows it.
void SizeScreenBuffer(HANDLE output);
