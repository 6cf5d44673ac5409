#!/usr/bin/env python3
"""Runs a program in a pseudo-terminal of 80x25 and measures the terminal back end.

Start-up time to the first complete frame, bytes written and CPU time while idle for 10 s,
CPU time while a key auto-repeats every 33 ms, and whether the terminal settings come back
unchanged after a signal. The harness answers the terminal's width question like a terminal
that draws ambiguous characters narrow, wide, or not at all (--answer).

    tools/bench/pty_bench.py [--answer narrow|wide|none] [--signal INT|TERM|HUP|QUIT] -- PROGRAM [ARGS...]
"""
import argparse
import fcntl
import os
import pty
import re
import select
import signal
import struct
import sys
import termios
import time

QUESTION = re.compile(rb"\x1b\[(\?)?6n")
DEVICE_ATTRIBUTES = b"\x1b[c"


def cpu_seconds(pid):
    """Run time of the process so far, from the scheduler's nanosecond counter."""
    try:
        with open(f"/proc/{pid}/schedstat") as f:
            return int(f.read().split()[0]) / 1e9
    except OSError:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Terminal:
    def __init__(self, command, answer):
        self.answer = answer
        self.output = bytearray()
        self.column = 1
        pid, fd = pty.fork()
        if pid == 0:
            os.execvp(command[0], command)
        self.pid, self.fd = pid, fd
        fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
        self.started = time.monotonic()
        self.last_byte_at = self.started

    def pump(self, seconds):
        """Reads output for `seconds`, answering the terminal questions; returns the bytes read."""
        end = time.monotonic() + seconds
        got = 0
        while True:
            left = end - time.monotonic()
            if left <= 0:
                return got
            ready, _, _ = select.select([self.fd], [], [], left)
            if not ready:
                continue
            try:
                data = os.read(self.fd, 65536)
            except OSError:
                return got
            if not data:
                return got
            got += len(data)
            self.output += data
            self.last_byte_at = time.monotonic()
            self.answer_questions(data)

    def answer_questions(self, data):
        for match in QUESTION.finditer(data):
            if self.answer == "none" or (self.answer != "plain" and not match.group(1)):
                continue
            column = 2 if self.answer in ("narrow", "plain") else 3
            marker = b"?" if match.group(1) else b""
            os.write(self.fd, b"\x1b[" + marker + b"1;%dR" % column)
        if DEVICE_ATTRIBUTES in data:
            os.write(self.fd, b"\x1b[?62;22c")

    def wait_quiet(self, quiet=0.3, limit=5.0):
        """Reads until no byte has come for `quiet` seconds; returns when the last byte came."""
        end = time.monotonic() + limit
        while time.monotonic() < end:
            if self.pump(quiet) == 0:
                break
        return self.last_byte_at


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--answer", choices=["narrow", "wide", "plain", "none"], default="narrow")
    parser.add_argument("--signal", default="TERM")
    parser.add_argument("--idle", type=float, default=10.0)
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()

    # A fresh pseudo-terminal has the settings the program finds in its own.
    reference_master, reference_slave = os.openpty()
    before = termios.tcgetattr(reference_master)
    os.close(reference_master)
    os.close(reference_slave)

    term = Terminal(args.command, args.answer)
    first_frame_at = term.wait_quiet()
    during = termios.tcgetattr(term.fd)
    print(f"terminal settings changed while running: {'yes' if during != before else 'NO'}")
    print(f"start-up to the first complete frame: {(first_frame_at - term.started) * 1000:.1f} ms "
          f"({len(term.output)} bytes)")

    cpu0 = cpu_seconds(term.pid)
    idle_bytes = term.pump(args.idle)
    idle_cpu = cpu_seconds(term.pid) - cpu0
    print(f"idle {args.idle:.0f} s: {idle_bytes} bytes written, CPU {idle_cpu * 1000:.1f} ms "
          f"= {idle_cpu / args.idle * 100:.2f}% of one core")

    # Down held with auto-repeat: the first press moves the selection, the rest must read as
    # one long press while the program waits for its release.
    cpu0 = cpu_seconds(term.pid)
    start = time.monotonic()
    repeat_bytes = 0
    while time.monotonic() - start < args.idle:
        os.write(term.fd, b"\x1b[B")
        repeat_bytes += term.pump(0.033)
    repeat_cpu = cpu_seconds(term.pid) - cpu0
    print(f"auto-repeat every 33 ms for {args.idle:.0f} s: {repeat_bytes} bytes written, "
          f"CPU {repeat_cpu * 1000:.1f} ms = {repeat_cpu / args.idle * 100:.2f}% of one core")
    term.pump(0.3)

    os.kill(term.pid, getattr(signal, "SIG" + args.signal))
    term.pump(0.5)
    _, status = os.waitpid(term.pid, 0)
    after = termios.tcgetattr(term.fd)
    how = (f"signal {os.WTERMSIG(status)}" if os.WIFSIGNALED(status)
           else f"exit {os.WEXITSTATUS(status)}")
    restored = term.output.rstrip().endswith(b"\x1b[?1049l")
    print(f"SIG{args.signal}: ended by {how}; normal screen restored: {restored}; "
          f"terminal settings as before: {'yes' if after == before else 'NO'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
