#!/usr/bin/env python3
"""Plays the real game in a tmux window as a player would see it: at 120x40 the title screen
sits in the middle with dark grey margins, it follows the window to 100x30, and at 80x24
(tmux cannot grow its window on request) the note says in Japanese and English what is needed.

    tests/console/tmux_check.py PATH/TO/domrak
"""
import os
import subprocess
import sys
import tempfile
import time
import unicodedata

GAME = os.path.abspath(sys.argv[1])
SOCKET = f"domrak-check-{os.getpid()}"
MARGIN = "\x1b[100m"  # dark grey background


def tmux(*args):
    return subprocess.run(["tmux", "-L", SOCKET, "-f", "/dev/null", *args], check=True,
                          capture_output=True, text=True).stdout


def width(text):
    return sum(2 if unicodedata.east_asian_width(ch) in "WF" else 1 for ch in text)


def screen(colours=False):
    return tmux("capture-pane", "-p", *(["-e"] if colours else []), "-t", "domrak").split("\n")


def column_of(line, text):
    """Display column (1-based) where `text` starts in `line`, or None."""
    at = line.find(text)
    return None if at < 0 else width(line[:at]) + 1


def wait_for(what, check):
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if check():
            print(f"ok: {what}")
            return
        time.sleep(0.05)
    sys.exit(f"FAILED: {what}; the window shows:\n" + "\n".join(screen()))


def title_at(left, top):
    """The title's menu item where an 80x25 screen with this offset has it (34, 10)."""
    lines = screen()
    return len(lines) > top + 9 and column_of(lines[top + 9], "ネームエントリー") == left + 34


def margins_around(left, top):
    """The window starts in the margin colour, and the screen's own colours take over only
    after the left margin (tmux writes a colour only where it changes)."""
    lines = screen(colours=True)
    return lines[0].startswith("\x1b[90m" + MARGIN) and lines[top + 9].startswith(" " * left + "\x1b[30m\x1b[107m")


def note_centred(columns, rows):
    lines = screen()
    now = f"{columns}x{rows}"
    for text in (f"ウィンドウを 80x25 以上に広げてください（いまは {now}）",
                 f"Please make this window at least 80x25 (now {now})."):
        found = [(r, column_of(l, text)) for r, l in enumerate(lines) if text in l]
        if not found or abs(2 * (found[0][1] - 1) + width(text) - columns) > 1:
            return False
    return True


def main():
    with tempfile.TemporaryDirectory() as empty:
        try:
            tmux("new-session", "-d", "-s", "domrak", "-x", "120", "-y", "40", "-c", empty,
                 "env", "SDL_AUDIODRIVER=dummy", GAME)
            wait_for("title centred in 120x40", lambda: title_at(20, 7))
            wait_for("dark grey margins around it", lambda: margins_around(20, 7))
            tmux("resize-window", "-t", "domrak", "-x", "100", "-y", "30")
            wait_for("recentred in 100x30", lambda: title_at(10, 2))
            tmux("resize-window", "-t", "domrak", "-x", "80", "-y", "24")
            wait_for("bilingual note centred in 80x24", lambda: note_centred(80, 24))
            tmux("resize-window", "-t", "domrak", "-x", "80", "-y", "25")
            wait_for("title back in 80x25", lambda: title_at(0, 0))
        finally:
            subprocess.run(["tmux", "-L", SOCKET, "kill-server"], capture_output=True)


main()
