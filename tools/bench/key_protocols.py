#!/usr/bin/env python3
"""Drives the real game in a pseudo-terminal that answers like xterm or kitty and checks what
only those terminals send: xterm's form of the cursor position answer (CSI ? r ; c ; 1 R) must
settle the width question without the plain question, and with the kitty keyboard protocol
keypad digits must type a name and Ctrl+Z and Ctrl+C on a Cyrillic layout must stop and end
the game. Prints what it saw; fails when a step is wrong.

    tools/bench/key_protocols.py PROGRAM
"""
import os
import re
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pty_bench import Checks, Terminal, process_state  # noqa: E402

checks = Checks()
expect = checks.expect


def tap(term, code, text=None, mods=1):
    """A key tapped for 100 ms, as kitty reports it with flags 31 (event types, alternate keys,
    text); then 300 ms for the game."""
    os.write(term.fd, b"\x1b[%s;%d%su" % (code, mods, b";%d" % text if text else b""))
    term.pump(0.1)
    os.write(term.fd, b"\x1b[%s;%d:3u" % (code, mods))
    term.pump(0.3)


def shown_text(output):
    """What the game printed, without its escape sequences."""
    return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", bytes(output)).decode("utf-8", "replace")


def ending(term):
    _, status = os.waitpid(term.leader, 0)
    return os.WEXITSTATUS(status)


def main():
    program = sys.argv[1:]

    term = Terminal(program, "xterm")
    term.wait_quiet()
    expect("xterm: plain cursor question asked after the marked one",
           b"\x1b[6n" in term.output, False)
    os.kill(term.pid, signal.SIGTERM)
    term.pump(0.5)
    ending(term)

    term = Terminal(program, "kitty")
    term.wait_quiet()
    expect("kitty: key events with releases taken", term.keyboard_flags & 2 != 0, True)
    tap(term, b"13")  # Enter on ネームエントリー
    term.pump(0.7)
    mark = len(term.output)
    tap(term, b"97")  # a
    tap(term, b"57400", 49, 129)  # keypad 1 with num lock on (mods 1 + 128)
    tap(term, b"57401", 50, 129)
    tap(term, b"98")
    typed = "".join(c for c in shown_text(term.output[mark:]) if c in "ab0123456789")
    expect("kitty: a, keypad 1, keypad 2, b typed in the name", typed, "a12b")

    tap(term, b"1103::122", mods=5)  # Ctrl+Я, the key of Z
    expect("kitty: Ctrl+Z on a Cyrillic layout stops the game", process_state(term.pid), "T")
    os.kill(term.pid, signal.SIGCONT)
    term.pump(0.5)
    tap(term, b"1089::99", mods=5)  # Ctrl+С, the key of C
    if os.path.exists(f"/proc/{term.pid}") and process_state(term.pid) != "Z":
        os.kill(term.pid, signal.SIGKILL)
    expect("kitty: Ctrl+C on a Cyrillic layout ends the game", ending(term), 128 + signal.SIGINT)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
