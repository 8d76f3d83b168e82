#!/usr/bin/env python3
# A seeded random use of the program (run by qv_random_use_wintest.sh with its work folder):
# clicks anywhere in its windows (left, right, double), the keys a user presses (Space, Escape,
# Enter, Tab, arrows, Page keys, Ctrl+D, Ctrl+W, F1), wheel turns, and texts typed right or wrong,
# for QV_RANDOM_SECONDS (60); its message boxes and file dialogs are answered as a user might
# (a file of its folder, a name that is not there, or Cancel). After every action a watchdog
# checks that the program lives and that its main window answers a message round trip within
# 2 s; at the end, that the program ends when closed and wrote nothing outside its folder. A
# failure prints the seed that replays it (QV_RANDOM_SEED) and the last actions.
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.environ["QV_SOURCE_DIR"], "tests", "support"))
from qv_gui import EXE, Probe, Program, install, settled_ini, wine_path

work = sys.argv[1]
seconds = float(os.environ.get("QV_RANDOM_SECONDS", "60"))
seed = int(os.environ.get("QV_RANDOM_SEED") or time.time_ns() % 1000000)
rng = random.Random(seed)
prog = os.path.join(work, "prog")
install(prog)
subprocess.run(["sox", "-n", "-r", "44100", "-b", "16", "-c", "2", os.path.join(prog, "st.wav"),
                "synth", "0.5", "sine", "300", "gain", "-3"], check=True)
SETS = {
    "tone.QV": "[Wave1]\r\nWaveform=sine\r\nFreq=997.3\r\nAmp=-10\r\nOutCh=L+R\r\n",
    "wave.QV": "[Wave1]\r\nWaveform=user wave\r\nOutCh=L+R\r\nUserWave=st.wav\r\n",
    "filter.QV": "[File]\r\nLength=2\r\n[Wave1]\r\nWaveform=square\r\nFreq=440\r\n"
                 "[Filter]\r\nFilterOn=On\r\nOverSampleRate=2\r\n",
    "sweep.QV": "[File]\r\nLength=1\r\n[Wave1]\r\nWaveform=sine\r\nFreq=100\r\nSweep=1\r\n"
                "[Wave2]\r\nFreq=5000\r\n",
}
for name, text in SETS.items():
    with open(os.path.join(prog, name), "w", newline="") as f:
        f.write(text)
with open(os.path.join(prog, "bad.QVF"), "wb") as f:
    f.write(b'"Quorvale Filter Parameter",1.00\r\n"Points",99999\r\n')
settled_ini(prog, "[Special]\r\nEnglishMode=1\r\n[File]\r\nLength=3\r\n")

# Every file outside the program's folder, with its time, before the run.
def outside_files():
    found = {}
    roots = [work, os.path.join(os.environ["WINEPREFIX"], "drive_c", "users")]
    for root in roots:
        for folder, dirs, files in os.walk(root):
            if folder.startswith(prog):
                continue
            for name in files:
                path = os.path.join(folder, name)
                try:
                    found[path] = os.stat(path).st_mtime
                except OSError:
                    pass
    return found


before = outside_files()
probe = Probe()
program = Program(prog, capture="/dev/null")
actions = []
failure = ""
OPEN_TITLES = {"Open parameters": ".QV", "Register User Wave": ".wav",
               "Open filter parameters": ".QVF"}
SAVE_TITLES = {"Save parameters": ".QV", "Write to Wave file": ".WAV",
               "Write to Text format file": ".QVT", "Save filter parameters": ".QVF"}
KEYS = ["space", "Escape", "Return", "Tab", "shift+Tab", "Up", "Down", "Left", "Right", "Prior",
        "Next", "ctrl+d", "ctrl+w", "F1"]
TEXTS = ["48000", "44100", "500", "1e999", "abc", "-20", "0x7FFF", "0", "100000", "-", "2.5"]


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def x_windows():
    """The program's windows on the display: id, x, y, width, height."""
    found = []
    for w in xdo("search", "--onlyvisible", "--class", EXE.lower()).split():
        geometry = dict(line.split("=", 1) for line in
                        xdo("getwindowgeometry", "--shell", w).split() if "=" in line)
        if "WIDTH" in geometry:
            found.append((w, int(geometry["X"]), int(geometry["Y"]), int(geometry["WIDTH"]),
                          int(geometry["HEIGHT"])))
    return found


def answer_dialogs():
    """Message boxes get a button, file dialogs a name of the folder, one not there, or Cancel."""
    for handle, enabled, cls, title in probe.windows():
        if cls != "#32770" or not enabled:
            continue
        kind = OPEN_TITLES.get(title) or SAVE_TITLES.get(title)
        if kind is None or rng.random() < 0.3:
            button = rng.choice([1, 2, 6, 7])
            actions.append(f"answer '{title}' with {button}")
            probe.press(handle, button)
            continue
        if title in OPEN_TITLES:
            names = [n for n in os.listdir(prog) if n.upper().endswith(kind.upper())]
            name = rng.choice(names + ["missing" + kind])
        else:
            name = f"random{rng.randrange(3)}{kind}"
        x = xdo("search", "--onlyvisible", "--name", f"^{title}$").split()
        if x:
            actions.append(f"'{title}' <- {name}")
            xdo("windowfocus", "--sync", x[0])
            xdo("key", "End", "shift+Home")
            xdo("type", wine_path(prog) + "\\" + name)
            xdo("key", "Return")


def act():
    windows = x_windows()
    if not windows:
        return
    w, _, _, width, height = rng.choice(windows)
    dx, dy = probe.origin()  # the frame's caption is left alone
    x = rng.randrange(dx, max(dx + 1, width - dx))
    y = rng.randrange(dy, max(dy + 1, height - 4))
    roll = rng.random()
    if roll < 0.45:
        button, count = (3, 1) if rng.random() < 0.12 else (1, 2 if rng.random() < 0.08 else 1)
        actions.append(f"click {button}x{count} at {x},{y} of {w}")
        xdo("mousemove", "--window", w, str(x), str(y), "click", "--repeat", str(count),
            str(button))
    elif roll < 0.55:
        wheel = rng.choice([4, 5])
        actions.append(f"wheel {wheel} at {x},{y} of {w}")
        xdo("mousemove", "--window", w, str(x), str(y), "click", str(wheel))
    elif roll < 0.92:
        key = rng.choice(KEYS + KEYS[:-1])  # F1 less often
        actions.append(f"key {key} in {w}")
        xdo("windowfocus", "--sync", w)
        xdo("key", key)
    else:
        text = rng.choice(TEXTS)
        actions.append(f"type '{text}' in {w}")
        xdo("windowfocus", "--sync", w)
        xdo("key", "End", "shift+Home")
        xdo("type", text)


def big_files():
    """A long write filling the disk is stopped as a user would stop it."""
    for name in os.listdir(prog):
        path = os.path.join(prog, name)
        if name.startswith("random") and os.path.getsize(path) > 20_000_000:
            actions.append(f"Escape for {name}")
            xdo("key", "Escape")
            os.remove(path)


start = time.time()
restarts = 0
while time.time() - start < seconds and not failure:
    if program.p.poll() is not None:
        if program.p.returncode != 0:
            failure = f"the program ended with {program.p.returncode}"
            break
        restarts += 1  # closed as a user closes it (a dialog's Close may end it): again
        program = Program(prog, capture="/dev/null")
        time.sleep(3)
        continue
    trip = probe.ping()
    if trip is None:
        failure = "the main window did not answer within 2 s"
        break
    if trip < 0:
        time.sleep(0.5)  # starting, or ending
        continue
    answer_dialogs()
    big_files()
    act()
    time.sleep(rng.choice([0.02, 0.1, 0.3]))

if not failure and program.p.poll() is None:
    # The end: every modal window answered, then the close box.
    for _ in range(20):
        if not [w for w in probe.windows() if w[2] == "#32770" or not w[1]]:
            break
        for handle, _, cls, _ in probe.windows():
            probe.press(handle, 2)
        xdo("key", "Escape")
        time.sleep(0.5)
    if not program.close(probe, 30) or program.p.returncode != 0:
        failure = f"the program did not end cleanly when closed ({program.p.returncode})"
if not failure:
    written = {p: t for p, t in outside_files().items() if before.get(p) != t}
    if written:
        failure = "files written outside the program's folder: " + ", ".join(sorted(written))
subprocess.run(["wine", "taskkill", "/F", "/IM", "hh.exe"], stdout=subprocess.DEVNULL,
               stderr=subprocess.DEVNULL)
probe.close()
print(f"{len(actions)} actions in {time.time() - start:.0f} s, {restarts} restarts, seed {seed}")
if failure:
    print(f"FAIL {failure}; replay with QV_RANDOM_SEED={seed} QV_RANDOM_SECONDS={seconds:g}")
    print("the last actions:\n  " + "\n  ".join(actions[-15:]))
    sys.exit(1)
