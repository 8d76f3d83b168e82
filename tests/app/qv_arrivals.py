#!/usr/bin/env python3
# Every way a parameter set reaches QV.exe, for every kind of set (run by qv_arrivals_wintest.sh
# with its work folder). The ways: the first start with the file, with "/P", a second start
# handing it to the running program (idle, and while it plays), Load, a drop on the main window
# and the last run's set; the sets: a tone, a user wave on Wave1, a user wave on Wave5 that
# modulates Wave1, a user wave whose file is missing, the filter on with a drawn design, and a
# sweep that ends itself. For each it checks what a user sees and hears: the caption and a control
# show the set; the user-wave window comes once for each master that needs it and closes itself
# after its countdown (the last run's, a deferred registration, waits for its Close); a missing
# file says so; "/P" plays exactly what qvrender.exe renders for the set; no window is left over;
# the program ends when closed and keeps the set in QV.INI.
import copy
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.environ["QV_SOURCE_DIR"], "tests", "support"))
from qv_gui import (Probe, Program, USER_WAVE_TITLE, click, drop, growing, ini_value, install,
                    keys, same_as_render, second_start, settled_ini, type_text, wait_until,
                    wine_path, x_window)

work = sys.argv[1]
prog = os.path.join(work, "prog")
install(prog)
subprocess.run(["sox", "-n", "-r", "48000", "-b", "16", "-c", "2", os.path.join(prog, "st.wav"),
                "synth", "1", "sine", "300", "triangle", "450", "gain", "-3"], check=True)

COMMON = "[Misc]\r\nSamplingFreq=48000\r\nBitLen=16\r\nCh=Stereo\r\n"
TONE = "[Wave1]\r\nWaveform=sine\r\nFreq=997.3\r\nAmp=-6\r\nOutCh=L+R\r\n"


class Set:
    def __init__(self, name, text, control, masters=(), filter_on=False, message="",
                 sweep=False):
        self.name, self.text, self.control = name, text, control
        self.masters, self.filter_on, self.message, self.sweep = masters, filter_on, message, sweep
        self.file = name + ".QV"
        with open(os.path.join(prog, self.file), "w", newline="") as f:
            f.write(("[File]\r\nLength=1\r\n" if sweep else "[File]\r\nLength=30\r\n") + COMMON +
                    text)
        self.reference = os.path.join(work, name + ".wav")
        args = ["--allow-missing-waves"] if message else []
        subprocess.run(["wine", os.environ["QVRENDER_EXE"], self.file, wine_path(self.reference),
                        *args], cwd=prog, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)


SETS = [
    Set("tone", TONE, ("freq", 0, "997.3")),
    Set("wave1", "[Wave1]\r\nWaveform=user wave\r\nAmp=-6\r\nOutCh=L+R\r\nUserWave=st.wav\r\n",
        ("waveform", 0, "user wave"), masters=(1,)),
    Set("wave5", "[Wave1]\r\nWaveform=sine\r\nFreq=500\r\nAmp=-6\r\nOutCh=L+R\r\nModulation=1\r\n"
        "ModulationType=AM\r\nModulatingSignal=5\r\n[Wave5]\r\nWaveform=user wave\r\nOutCh=OFF\r\n"
        "UserWave=st.wav\r\nUserWaveModSig=uR\r\n", ("freq", 0, "500"), masters=(5,)),
    Set("missing", "[Wave1]\r\nWaveform=user wave\r\nOutCh=L+R\r\nUserWave=nosuch.wav\r\n"
        "[Wave2]\r\nWaveform=triangle\r\nFreq=440\r\nOutCh=R\r\n", ("freq", 1, "440"),
        masters=(1,), message="Unable to open file."),
    Set("filter", TONE + "[Filter]\r\nFilterOn=On\r\nOverSampleRate=2\r\nSize1=1024\r\n"
        "Points=4\r\nP1=0,0\r\nP2=40,0\r\nP3=80,-40\r\nP4=512,-40\r\n", ("freq", 0, "997.3"),
        filter_on=True),
    Set("sweep", "[Wave1]\r\nWaveform=sine\r\nFreq=200\r\nAmp=-6\r\nOutCh=L+R\r\nSweep=1\r\n"
        "[Wave2]\r\nFreq=2000\r\nAmp=-6\r\n", ("freq", 0, "200"), sweep=True),
]
START_CAPTION = "Quorvale  Ver. 1.50E  (x64)"
failures = []
probe = Probe()


def fail(row, what):
    failures.append(f"{row}: {what}")
    print(f"FAIL {row}: {what}", flush=True)


def shows(row, s, caption, deferred=False):
    """Waits until the set shows under the caption, answering its message boxes (and, for a
    deferred registration, pressing Close in the user-wave window once it has waited); checks
    what a user saw on the way."""
    lives = {}  # user-wave window -> first and last time seen
    messages = []
    settled = None
    end = time.time() + 40
    while time.time() < end:
        now = time.time()
        windows = probe.windows()
        for handle, _, cls, title in windows:
            if USER_WAVE_TITLE.match(title):
                lives.setdefault(handle, [now, now])[1] = now
                if deferred and now - lives[handle][0] > 3:
                    probe.press(handle, 2)  # its Close (a deferred one waits for it)
            elif cls == "#32770" and title == "Quorvale":
                messages.append(probe.ask(f"box {handle}"))
                probe.press(handle, 1)
        main = [w for w in windows if w[2] == "TMainForm"]
        ready = main and main[0][3] == caption and len(windows) == 1 + s.filter_on
        settled = (settled or now) if ready else None
        if settled and now - settled > 0.5:
            break
        time.sleep(0.1)
    else:
        fail(row, f"did not settle: {probe.windows()}")
    if len(lives) != len(s.masters):
        fail(row, f"{len(lives)} user-wave windows for {len(s.masters)} masters")
    for first, last in lives.values():
        if deferred and last - first < 3:
            fail(row, "the deferred registration's window closed by itself")
        if not deferred and not 1.5 <= last - first <= 8:
            fail(row, f"the user-wave window lived {last - first:.1f} s, not its countdown")
    if len(messages) != bool(s.message) or not all(
            m.startswith(s.message) and m.endswith("nosuch.wav") for m in messages):
        fail(row, f"messages {messages}, expected {s.message or 'none'}")
    name, slot, text = s.control
    if probe.text(name, slot) != text:
        fail(row, f"{name} {slot} shows '{probe.text(name, slot)}', not '{text}'")
    kinds = sorted(w[2] for w in probe.windows())
    if kinds != sorted(["TMainForm"] + (["TFilterConfigForm"] if s.filter_on else [])):
        fail(row, f"windows left: {kinds}")


def played(row, s, capture):
    """The "/P" playback has ended by itself and the capture holds exactly the set's render."""
    if not wait_until(lambda: os.path.exists(capture) and os.path.getsize(capture) > 0, 20):
        return fail(row, "nothing played")
    if not wait_until(lambda: not growing(capture, 0.6), 30):
        return fail(row, "the playback did not end by itself")
    report = same_as_render(capture, s.reference, 48000 if not s.sweep else 0, whole=s.sweep)
    if report:
        fail(row, "the capture is not the render:\n" + report)
    os.remove(capture)


def closed(row, program, s):
    """Closing the window ends the program, which keeps the set in QV.INI."""
    if not program.close(probe) or program.p.returncode != 0:
        fail(row, f"the program did not end cleanly ({program.p.returncode})")
    if s is None:
        return
    name, slot, text = s.control
    key = {"freq": "Freq", "waveform": "Waveform"}[name]
    if ini_value(os.path.join(prog, "QV.INI"), f"Wave{slot + 1}", key) != text:
        fail(row, f"QV.INI does not hold the set's Wave{slot + 1} {key}")


# QV_ARRIVALS=starts,handed,opened runs a part only (all by default).
parts = os.environ.get("QV_ARRIVALS", "starts,handed,opened").split(",")

# The first start with the set, the next start with the last run's set, and a start with "/P".
for s in SETS if "starts" in parts else []:
    settled_ini(prog)
    program = Program(prog, [s.file])
    shows(f"{s.name} first start", s, "Quorvale - " + s.name)
    closed(f"{s.name} first start", program, s)
    program = Program(prog)
    # A wave that did not load left the set without it.
    last = copy.copy(s)
    if s.message:
        last.masters, last.message = (), ""
    shows(f"{s.name} last run's", last, START_CAPTION, deferred=True)
    closed(f"{s.name} last run's", program, s)
    capture = os.path.join(work, "capture.raw")
    program = Program(prog, [s.file, "/P1500"], capture=capture)
    shows(f"{s.name} /P", s, "Quorvale - " + s.name)
    played(f"{s.name} /P", s, capture)
    closed(f"{s.name} /P", program, s)

# One program: each set handed over while it rests, then while it plays a tone, with "/P".
settled_ini(prog)
capture = os.path.join(work, "running.raw")
program = Program(prog, capture=capture)
wait_until(lambda: probe.ping() not in (None, -1.0))
for s in SETS if "handed" in parts else []:
    if second_start(prog, [s.file]) != 1:
        fail(f"{s.name} handed over", "the second start did not end with 1")
    shows(f"{s.name} handed over", s, "Quorvale - " + s.name)
for s in SETS if "handed" in parts else []:
    second_start(prog, ["tone.QV", "/P"])
    if not wait_until(lambda: os.path.exists(capture) and growing(capture, 0.3), 20):
        fail(f"{s.name} handed over playing", "the tone did not play")
    second_start(prog, [s.file, "/P1500"])
    shows(f"{s.name} handed over playing", s, "Quorvale - " + s.name)
    played(f"{s.name} handed over playing", s, capture)
closed("handed over", program, SETS[-1] if "handed" in parts else None)

# One program: each set opened with Load (Ctrl+O and its dialog), then dropped on the window.
program = Program(prog)
main = wait_until(lambda: x_window("^Quorvale  Ver"))
wait_until(lambda: probe.ping() not in (None, -1.0))
dx, dy = probe.origin()
for s in SETS if "opened" in parts else []:
    click(main, dx + 25, dy + 14)  # the Load button
    dialog = wait_until(lambda: x_window("^Open parameters"), 10)
    if not dialog:
        fail(f"{s.name} Load", "no dialog")
        continue
    keys(dialog, "End", "shift+Home")  # over the name it offers
    type_text(dialog, wine_path(prog) + "\\" + s.file)
    keys(dialog, "Return")
    shows(f"{s.name} Load", s, "Quorvale - " + s.name)
for s in SETS if "opened" in parts else []:
    if not drop(main, dx + 300, dy + 120, os.path.join(prog, s.file)):
        fail(f"{s.name} dropped", "the window refused the drop")
    shows(f"{s.name} dropped", s, "Quorvale - " + s.name)
closed("Load and drop", program, SETS[-1] if "opened" in parts else None)

probe.close()
print(f"{len(failures)} failures" if failures else "every set arrives every way")
sys.exit(1 if failures else 0)
