# Driving QV.exe under Wine from Python, for the scripts that walk the program as a user does:
# its start in a folder of its own, the probe inside Wine that reads its windows and controls,
# real keys and clicks through xdotool, drops through XDND, and the capture of what it played.
# The environment is the one tests/support/gui_test_start.sh sets up (Wine, the virtual display).
import os
import re
import shutil
import subprocess
import time

SOURCE = os.environ["QV_SOURCE_DIR"]
DEVNULL = subprocess.DEVNULL


def wine_path(path):
    """A Unix path as the Windows program sees it (Wine's Z: drive)."""
    return "Z:" + path.replace("/", "\\")


class Probe:
    """qv_probe.exe, kept running: one command a line (see its source)."""

    def __init__(self):
        self.p = subprocess.Popen(["wine", os.environ["QV_PROBE"]], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=DEVNULL, text=True,
                                  encoding="utf-8", errors="replace", bufsize=1)

    def ask(self, line):
        self.p.stdin.write(line + "\n")
        self.p.stdin.flush()
        return self.p.stdout.readline().rstrip("\r\n")

    def ping(self):
        """The main window's round trip in ms; None when it did not answer in 2 s; -1 when
        there is no main window."""
        answer = self.ask("ping")
        if answer.startswith("ok "):
            return float(answer[3:])
        return -1.0 if answer == "none" else None

    def text(self, name, slot=""):
        return self.ask(f"text {name} {slot}".strip())

    def windows(self):
        """The program's visible top-level windows: (handle, enabled, class, title)."""
        count = int(self.ask("windows") or 0)
        found = []
        for _ in range(count):
            handle, enabled, cls, title = (self.p.stdout.readline().rstrip("\r\n")
                                           .split("\t", 3) + ["", "", "", ""])[:4]
            found.append((int(handle), enabled == "1", cls, title))
        return found

    def origin(self):
        """Where the main window's client area starts inside its X window."""
        dx, dy = self.ask("origin").split()
        return int(dx), int(dy)

    def press(self, handle, command_id):
        return self.ask(f"press {handle} {command_id}") == "ok"

    def close(self):
        self.p.stdin.close()
        self.p.wait(timeout=10)


# The program under test runs as QVT.exe, for which Wine draws the window frames itself (no
# window manager runs on the virtual display): closing a window then does not hold the program
# for the 2 s Wine otherwise waits for a window manager, and the frames are those of Windows.
EXE = "QVT.exe"


def install(folder):
    """The program and its library in a folder of its own."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.environ["QV_EXE"], os.path.join(folder, EXE))
    shutil.copy(os.environ["QV_KT54DLL"], folder)
    subprocess.run(["wine", "reg", "add", rf"HKCU\Software\Wine\AppDefaults\{EXE}\X11 Driver",
                    "/v", "Managed", "/d", "N", "/f"], stdout=DEVNULL, stderr=DEVNULL)


class Program:
    """The program started in its folder (the process of its first instance)."""

    def __init__(self, folder, args=(), lang="en", capture=None):
        env = dict(os.environ, LC_ALL="C.UTF-8" if lang == "en" else "ja_JP.UTF-8")
        if capture:
            env["QV_AUDIO_CAPTURE"] = capture
        self.folder = folder
        self.p = subprocess.Popen(["wine", EXE, *args], cwd=folder, env=env,
                                  stdin=DEVNULL, stdout=DEVNULL, stderr=DEVNULL)

    def running(self):
        return self.p.poll() is None

    def close(self, probe, seconds=20):
        """Closes the main window as its close box does; True when the process then ended."""
        probe.ask("close")
        try:
            self.p.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            subprocess.run(["wine", "taskkill", "/F", "/IM", EXE], stdout=DEVNULL,
                           stderr=DEVNULL)
            self.p.wait(timeout=10)
            return False


def second_start(folder, args, lang="en"):
    """A second QV.exe: it hands its command line over and ends; its exit status."""
    env = dict(os.environ, LC_ALL="C.UTF-8" if lang == "en" else "ja_JP.UTF-8")
    return subprocess.run(["wine", EXE, *args], cwd=folder, env=env, stdin=DEVNULL,
                          stdout=DEVNULL, stderr=DEVNULL, timeout=60).returncode


def wait_until(condition, seconds=30, step=0.1):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def x_window(title_regex):
    """The X id of the first visible window whose title matches ("" when none)."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_regex],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else ""


def keys(window, *names):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], stdout=DEVNULL, stderr=DEVNULL)
    subprocess.run(["xdotool", "key", *names], stdout=DEVNULL, stderr=DEVNULL)


def type_text(window, text):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], stdout=DEVNULL, stderr=DEVNULL)
    subprocess.run(["xdotool", "type", text], stdout=DEVNULL, stderr=DEVNULL)


def click(window, x, y, button=1):
    subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click",
                    str(button)], stdout=DEVNULL, stderr=DEVNULL)


def drop(window, x, y, path):
    """A file dropped at a point of the window, as a file manager drops it."""
    return subprocess.run(["python3", f"{SOURCE}/tests/support/xdnd_drop.py", window, str(x),
                           str(y), path], stdout=DEVNULL, stderr=DEVNULL).returncode == 0


def same_as_render(capture, wav, minimum_frames, whole=False):
    """The capture holds exactly the render's frames from its first byte (compare_capture.py);
    its report when not."""
    r = subprocess.run(["python3", f"{SOURCE}/tests/support/compare_capture.py", capture, wav,
                        str(minimum_frames), "whole" if whole else "prefix"],
                       capture_output=True, text=True)
    return "" if r.returncode == 0 else r.stdout.strip()


def growing(path, seconds=0.5):
    before = os.path.getsize(path) if os.path.exists(path) else 0
    time.sleep(seconds)
    return (os.path.getsize(path) if os.path.exists(path) else 0) > before


def settled_ini(folder, more=""):
    """QV.INI of a program that has run before (no start notice), with more lines after it."""
    with open(os.path.join(folder, "QV.INI"), "w", newline="") as f:
        f.write("[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n" + more)


def ini_value(path, section, key):
    """A key of an INI file as the program wrote it ("" when missing)."""
    current = None
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                current = line[1:-1].lower()
            elif current == section.lower() and line.lower().startswith(key.lower() + "="):
                return line.split("=", 1)[1]
    return ""


USER_WAVE_TITLE = re.compile(r"^Quorvale - User wave [15]$")
