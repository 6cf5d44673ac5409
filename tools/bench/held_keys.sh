#!/usr/bin/env bash
# Plays the real game in an 80x25 tmux pane with keys as a keyboard sends them to a terminal
# that reports presses only: a held key is one press, the keyboard's repeat delay, then a
# repeat every 33 ms. On the title menu a held key must move the frame one item, and two taps
# 300 ms apart two items. Prints what it saw; fails when a step is wrong.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh tmux python3 cmake make g++ pkg-config libsdl2-dev libfluidsynth-dev >/dev/null
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF >/dev/null
cmake --build build/bench -j2 --target domrak >/dev/null

python3 - build/bench/app/domrak <<'PYTHON'
import subprocess, sys, time

socket = f"domrak-held-keys-{time.monotonic_ns()}"
tmux = ["tmux", "-L", socket]
subprocess.run(tmux + ["new-session", "-d", "-x", "80", "-y", "25", sys.argv[1]], check=True)
# One control client sends the keys, so that each costs no process start and repeats keep time.
control = subprocess.Popen(tmux + ["-C", "attach"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                           text=True)


def send(key):
    control.stdin.write(f"send-keys {key}\n")
    control.stdin.flush()


def selected():
    """The item in the frame, named by the help line at the bottom."""
    line = subprocess.run(tmux + ["capture-pane", "-p"], capture_output=True, text=True).stdout.split("\n")[23]
    for words, item in (("名前", "name entry"), ("全6", "arena"), ("まず", "manual")):
        if words in line:
            return item
    return "none"


def hold(key, delay):
    """The press, the repeat delay, 1.5 s of repeats every 33 ms, then let go."""
    send(key)
    time.sleep(delay)
    start = time.monotonic()
    for i in range(45):
        send(key)
        time.sleep(max(0, start + (i + 1) * 0.033 - time.monotonic()))
    time.sleep(0.5)


def tap(key):
    send(key)
    time.sleep(0.3)


failed = False


def expect(what, item):
    global failed
    got = selected()
    print(f"{what:<40} -> frame on {got}")
    if got != item:
        print(f"  expected: {item}")
        failed = True


try:
    for _ in range(50):
        if selected() != "none":
            break
        time.sleep(0.1)
    expect("title shown", "name entry")
    hold("Down", 0.5)
    expect("Down held, repeat after 500 ms", "arena")
    hold("Up", 0.25)
    expect("Up held, repeat after 250 ms", "name entry")
    tap("Down")
    tap("Down")
    expect("Down tapped twice, 300 ms apart", "manual")
    hold("Up", 1.0)
    expect("Up held, repeat after 1000 ms", "arena")
finally:
    control.stdin.close()
    subprocess.run(tmux + ["kill-server"], stderr=subprocess.DEVNULL)
sys.exit(1 if failed else 0)
PYTHON
