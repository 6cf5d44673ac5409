#!/usr/bin/env bash
# Plays the real game in an 80x25 tmux pane with keys as a keyboard sends them to a terminal
# that reports presses only: a held key is one press, the keyboard's repeat delay, then a
# repeat every 33 ms. On the title menu a held key must move the frame one item, two taps
# 300 ms apart two items, and an arrow whose bytes come in two parts 100 ms apart one item. On
# the manual every tap 120 ms or more apart turns a page, also after a pause where auto-repeat
# could have started; a paste on the title acts at once or not at all; typed into a name, split
# arrows, Esc then [ and an arrow among letters lose no letter; in the command menu three quick
# taps of Down reach 魔法, also after such a pause. Prints what it saw; fails when a step
# is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh tmux python3 cmake make g++ pkg-config libsdl2-dev libfluidsynth-dev >/dev/null
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


def send(keys):
    control.stdin.write(f"send-keys {keys}\n")
    control.stdin.flush()


def screen():
    return subprocess.run(tmux + ["capture-pane", "-p"], capture_output=True, text=True).stdout.split("\n")


def selected():
    """The item in the frame, named by the help line at the bottom."""
    line = screen()[23]
    for words, item in (("名前", "name entry"), ("全6", "arena"), ("まず", "manual")):
        if words in line:
            return item
    return "none"


def page():
    """The manual page shown, from its footer (N/6), once a page is drawn in full."""
    for _ in range(20):
        footer = screen()[24].rstrip()
        if footer.endswith("/6"):
            return footer[-3]
        time.sleep(0.05)
    return "none"


def command():
    """The command the menu's cursor is on."""
    for line in screen()[18:22]:
        if "⇒" in line:
            return line.split("⇒")[1].split()[0]
    return "none"


def wait_for(check, limit):
    """Looks every 50 ms until `check` holds or `limit` seconds pass; the time it took, or None."""
    start = time.monotonic()
    while time.monotonic() - start < limit:
        if check():
            return time.monotonic() - start
        time.sleep(0.05)
    return None


def hold(key, delay):
    """The press, the repeat delay, 1.5 s of repeats every 33 ms, then let go."""
    send(key)
    time.sleep(delay)
    start = time.monotonic()
    for i in range(45):
        send(key)
        time.sleep(max(0, start + (i + 1) * 0.033 - time.monotonic()))
    time.sleep(0.5)


def tap_at(key, times):
    """Taps at `times` seconds from now, then time for the last to act."""
    start = time.monotonic()
    for at in times:
        time.sleep(max(0, start + at - time.monotonic()))
        send(key)
    time.sleep(0.5)


def taps(key, count, apart):
    """`count` taps `apart` seconds apart."""
    tap_at(key, [i * apart for i in range(count)])


def split(first, second):
    """An arrow's bytes (in hex) in two parts 100 ms apart, as a congested link delivers them."""
    send(f"-H {first}")
    time.sleep(0.1)
    send(f"-H {second}")
    time.sleep(0.3)


failed = False


def expect(what, got, wanted):
    """Prints a check as it is made; remembers a wrong one."""
    global failed
    print(f"{what:<56} -> {got}")
    if got != wanted:
        print(f"  expected: {wanted}")
        failed = True


try:
    wait_for(lambda: selected() != "none", 5)
    expect("title shown", selected(), "name entry")
    hold("Down", 0.5)
    expect("Down held, repeat after 500 ms", selected(), "arena")
    hold("Up", 0.25)
    expect("Up held, repeat after 250 ms", selected(), "name entry")
    taps("Down", 2, 0.3)
    expect("Down tapped twice, 300 ms apart", selected(), "manual")
    hold("Up", 1.0)
    expect("Up held, repeat after 1000 ms", selected(), "arena")
    split("1b 5b", "42")
    expect("Down split after ESC [", selected(), "manual")
    split("1b", "5b 41")
    expect("Up split after ESC", selected(), "arena")
    taps("Down", 1, 0)
    manual_taps = [[i * apart for i in range(count)] for count, apart in ((4, 0.12), (4, 0.15), (4, 0.2), (5, 0.15))]
    for times in manual_taps + [[0, 0.82, 0.94], [0, 0.5, 0.62, 0.74, 0.86]]:
        send("Enter")
        wait_for(lambda: page() == "1", 3)
        tap_at("Right", times)
        expect(f"manual: Right tapped at {', '.join(f'{t * 1000:.0f}' for t in times)} ms", page(), str(1 + len(times)))
        send("Enter")
        wait_for(lambda: selected() != "none", 3)
        taps("Down", 2, 0.3)
    taps("Up", 2, 0.3)
    send("-H " + " ".join(f"{ord(c):02x}" for c in "abcdefghijklmnopqrstuvwxyz0123456789\r"))
    took = wait_for(lambda: selected() == "none", 5)
    late = took is not None and took > 0.3
    expect("36 keys and Enter pasted: acted", "late" if late else "at once or never", "at once or never")
    if took is None:
        send("Enter")
    wait_for(lambda: "名前を入力" in "".join(screen()), 3)
    time.sleep(0.3)  # the name entry reads no keys until Enter is let go
    send("-l ab")
    split("1b", "4f 44")  # Left in its application-cursor form, split after ESC
    send("-l c")
    send("Escape")
    for typed in ("[", "d"):  # Esc, [ and a letter typed 100 ms apart
        time.sleep(0.1)
        send("-l " + typed)
    send("-H " + " ".join(f"{ord(c):02x}" for c in "e\x1b[Cf"))  # an arrow among letters in one read
    time.sleep(0.3)
    expect("name: split SS3 arrow, Esc [ d, e Right f in one read", screen()[4].strip("┃ "), "abcdef")
    send("BSpace BSpace BSpace BSpace BSpace BSpace")
    send("-l Bench")
    send("Enter")
    wait_for(lambda: "はい" in "".join(screen()), 8)
    time.sleep(1.0)
    send("Enter")
    wait_for(lambda: selected() != "none", 5)
    taps("Down", 1, 0)
    send("Enter")
    wait_for(lambda: command() != "none", 15)
    taps("Down", 3, 0.12)
    expect("command menu: Down tapped 3 times, 120 ms apart", command(), "魔法")
    taps("Up", 3, 0.3)
    tap_at("Down", [0, 0.6, 0.72])
    expect("command menu: Down tapped at 0, 600 and 720 ms", command(), "魔法")
finally:
    control.stdin.close()
    subprocess.run(tmux + ["kill-server"], stderr=subprocess.DEVNULL)
sys.exit(1 if failed else 0)
PYTHON
