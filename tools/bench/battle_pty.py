#!/usr/bin/env python3
"""Plays into the first battle of the real game in an 80x25 pseudo-terminal and measures it.

Creates a fighter, enters the arena, and times the round introduction (bars 80 x 10 ms, then
3000 ms) and the battle screen's opening (bars 80 x 15 ms, 500 ms, "FIGHT!" 31 x 10 ms, 1000 ms,
37 x 10 ms) by when their texts reach the terminal; then counts the bytes the idle command menu
writes over 10 s.

    tools/bench/battle_pty.py PROGRAM
"""
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pty_bench import Terminal  # noqa: E402


class TimedTerminal(Terminal):
    """Remembers when each chunk of output arrived."""

    def __init__(self, command, answer):
        self.arrivals = []  # (offset of the chunk's first byte, time)
        super().__init__(command, answer)

    def answer_questions(self, data):
        self.arrivals.append((len(self.output) - len(data), time.monotonic()))
        super().answer_questions(data)

    def time_of(self, pattern, after=0):
        """When the first match of `pattern` at or after byte `after` arrived, and its end."""
        match = re.compile(pattern).search(bytes(self.output), after)
        if not match:
            return None, after
        arrived = max(t for offset, t in self.arrivals if offset <= match.start())
        return arrived, match.end()

    def key(self, data, settle=0.3):
        os.write(self.fd, data)
        self.pump(settle)


def report(name, measured, nominal):
    print(f"{name}: {measured * 1000:.1f} ms against {nominal} ms ({(measured * 1000 / nominal - 1) * 100:+.2f}%)")


def main():
    term = TimedTerminal(sys.argv[1:], "narrow")
    term.wait_quiet()
    term.key(b"\r")                   # ネームエントリー
    term.key(b"Bench\r", settle=4.5)  # the name, then the creation screen rolls
    term.key(b"\r", settle=2.5)       # はい: announced, back to the title
    term.key(b"\x1b[B")               # 闘技場へ行く
    mark = len(term.output)
    term.key(b"\r", settle=9.0)       # round introduction and battle opening

    bars_start, after = term.time_of(rb"\x1b\[11;1H", mark)  # the first bar cell
    caption, after = term.time_of(rb"Round 1", after)
    panel, after = term.time_of("ＨＰ +[0-9]".encode(), after)
    menu, after = term.time_of("⇒".encode(), after)
    if None in (bars_start, caption, panel, menu):
        print("could not find the round introduction and battle screen in the output")
        return 1
    report("round introduction bars", caption - bars_start, 800)
    report("round introduction, caption to battle screen", panel - caption, 3000)
    report("battle screen opening to the command menu", menu - panel, 80 * 15 + 500 + 310 + 1000 + 370)

    idle = term.pump(10.0)
    print(f"idle command menu for 10 s: {idle} bytes written")
    os.kill(term.pid, 15)
    term.pump(0.5)
    return 0


if __name__ == "__main__":
    sys.exit(main())
