#!/usr/bin/env python3
"""Runs a program in a pseudo-terminal of 80x25 and measures the terminal back end.

Start-up time to the first complete frame, bytes written and CPU time while idle for 10 s,
CPU time while a key is held (auto-repeat every 33 ms after a 500 ms delay), and whether the
terminal settings come back unchanged after a signal. The harness answers the terminal's
width question like a terminal that draws ambiguous characters narrow or wide, like xterm, which
adds the page to the marked form of the answer (xterm), like one that knows only the plain form
of the question (plain), like one that answers only the device
attributes request (attributes), like one that answers nothing (silent), like kitty, which
also reports key releases, or like Windows Terminal, which reports them as win32-input-mode
records (win32).

    tools/bench/pty_bench.py [--answer narrow|wide|xterm|plain|attributes|silent|kitty|win32] [--signal INT|TERM|HUP|QUIT]
                             [--idle SECONDS] [--until-exit] -- PROGRAM [ARGS...]
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
KEYBOARD = re.compile(rb"\x1b\[([?<>])(\d*)u")
WIN32_INPUT = re.compile(rb"\x1b\[\?9001(\$p|h|l)")
DEVICE_ATTRIBUTES = b"\x1b[c"


class Checks:
    """Prints each check of a scenario as it is made and remembers whether one was wrong."""

    def __init__(self):
        self.failed = False

    def expect(self, what, got, wanted):
        print(f"{what:<56} -> {got}")
        if got != wanted:
            print(f"  expected: {wanted}")
            self.failed = True


def cpu_seconds(pid):
    """Run time of the process so far, from the scheduler's nanosecond counter."""
    try:
        with open(f"/proc/{pid}/schedstat") as f:
            return int(f.read().split()[0]) / 1e9
    except OSError:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def process_state(pid):
    with open(f"/proc/{pid}/stat") as f:
        return f.read().rsplit(")", 1)[1].split()[0]


class Terminal:
    def __init__(self, command, answer):
        self.answer = answer
        self.keyboard_flags = 0
        self.win32_input = False
        self.output = bytearray()
        self.column = 1
        # The program runs as the foreground job of the terminal's session, as under a shell
        # (so Ctrl+Z can stop it): a session leader starts it in a process group of its own.
        report_r, report_w = os.pipe()
        leader, fd = pty.fork()
        if leader == 0:
            os.close(report_r)
            pid = os.fork()
            if pid == 0:
                os.setpgid(0, 0)
                signal.signal(signal.SIGTTOU, signal.SIG_IGN)
                os.tcsetpgrp(0, os.getpid())
                signal.signal(signal.SIGTTOU, signal.SIG_DFL)
                os.execvp(command[0], command)
            os.write(report_w, str(pid).encode())
            os.close(report_w)
            _, status = os.waitpid(pid, 0)
            os._exit(128 + os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status))
        os.close(report_w)
        self.pid = int(os.read(report_r, 32))
        os.close(report_r)
        self.leader, self.fd = leader, fd
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
            if self.answer in ("attributes", "silent") or (self.answer != "plain") != bool(match.group(1)):
                continue
            column = 3 if self.answer == "wide" else 2
            marker = b"?" if match.group(1) else b""
            page = b";1" if match.group(1) and self.answer == "xterm" else b""
            os.write(self.fd, b"\x1b[" + marker + b"1;%d" % column + page + b"R")
        for match in KEYBOARD.finditer(data):
            if self.answer != "kitty":
                continue
            kind, value = match.group(1), match.group(2)
            if kind == b">":
                self.keyboard_flags = int(value or 0)
            elif kind == b"<":
                self.keyboard_flags = 0
            else:
                os.write(self.fd, b"\x1b[?%du" % self.keyboard_flags)
        for match in WIN32_INPUT.finditer(data):
            if self.answer != "win32":
                continue
            if match.group(1) == b"$p":
                os.write(self.fd, b"\x1b[?9001;%d$y" % (1 if self.win32_input else 2))
            else:
                self.win32_input = match.group(1) == b"h"
        if DEVICE_ATTRIBUTES in data and self.answer != "silent":
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
    parser.add_argument("--answer", choices=["narrow", "wide", "xterm", "plain", "attributes", "silent", "kitty", "win32"], default="narrow")
    parser.add_argument("--signal", default="TERM")
    parser.add_argument("--idle", type=float, default=10.0)
    parser.add_argument("--until-exit", action="store_true",
                        help="only run the program to its end (answering its questions)")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()

    # A fresh pseudo-terminal has the settings the program finds in its own.
    reference_master, reference_slave = os.openpty()
    before = termios.tcgetattr(reference_master)
    os.close(reference_master)
    os.close(reference_slave)

    term = Terminal(args.command, args.answer)
    if args.until_exit:
        while term.pump(1.0):
            pass
        _, status = os.waitpid(term.leader, 0)
        return os.WEXITSTATUS(status)
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

    # Down held: the press, the keyboard's repeat delay (500 ms), then auto-repeat. The first
    # press moves the selection; the rest must read as one long press while the program waits
    # for its release.
    cpu0 = cpu_seconds(term.pid)
    start = time.monotonic()
    repeat_bytes = 0
    kitty = term.keyboard_flags & 2
    win32 = term.win32_input
    press = b"\x1b[40;80;0;1;0;1_" if win32 else b"\x1b[B"
    os.write(term.fd, press)
    repeat_bytes += term.pump(0.5)
    press = b"\x1b[1;1:2B" if kitty else press  # kitty marks the repeats
    while time.monotonic() - start < args.idle:
        os.write(term.fd, press)
        repeat_bytes += term.pump(0.033)
    if kitty or win32:
        os.write(term.fd, b"\x1b[40;80;0;0;0;1_" if win32 else b"\x1b[1;1:3B")
    repeat_cpu = cpu_seconds(term.pid) - cpu0
    reported = "kitty" if kitty else "win32" if win32 else "no"
    print(f"key releases reported: {reported}; auto-repeat every 33 ms for {args.idle:.0f} s: {repeat_bytes} bytes written, "
          f"CPU {repeat_cpu * 1000:.1f} ms = {repeat_cpu / args.idle * 100:.2f}% of one core")
    term.pump(0.3)

    # Ctrl+Z: the terminal is given back while stopped and the screen redrawn on resume.
    os.write(term.fd, b"\x1a")  # Ctrl+Z typed at the terminal
    term.pump(0.3)
    stopped_clean = (process_state(term.pid) == "T" and term.output.rstrip().endswith(b"\x1b[?1049l")
                     and termios.tcgetattr(term.fd) == before)
    os.kill(term.pid, signal.SIGCONT)
    resume_bytes = term.pump(0.5)
    print(f"Ctrl+Z: stopped with the terminal given back: {stopped_clean}; "
          f"{resume_bytes} bytes redrawn on resume")

    # A window too small for the game shows a message; back at 80x25 the game is redrawn.
    fcntl.ioctl(term.fd, termios.TIOCSWINSZ, struct.pack("HHHH", 20, 60, 0, 0))
    os.kill(term.pid, signal.SIGWINCH)
    mark = len(term.output)
    term.pump(0.5)
    small = bytes(term.output[mark:])
    fcntl.ioctl(term.fd, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
    os.kill(term.pid, signal.SIGWINCH)
    grown_bytes = term.pump(0.5)
    message = re.search(rb"Please make[^\x1b]*", small)
    print(f"shrunk to 60x20: {message.group().decode() if message else 'NO MESSAGE'}; "
          f"grown back: {grown_bytes} bytes redrawn")

    if args.signal == "INT":
        os.write(term.fd, b"\x03")  # Ctrl+C typed at the terminal
    else:
        os.kill(term.pid, getattr(signal, "SIG" + args.signal))
    term.pump(0.5)
    _, status = os.waitpid(term.leader, 0)
    after = termios.tcgetattr(term.fd)
    code = os.WEXITSTATUS(status)
    how = f"signal {code - 128}" if code > 128 else f"exit {code}"
    restored = (term.output.rstrip().endswith(b"\x1b[?1049l") and term.keyboard_flags == 0
                and not term.win32_input)
    print(f"SIG{args.signal}: ended by {how}; normal screen restored: {restored}; "
          f"terminal settings as before: {'yes' if after == before else 'NO'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
