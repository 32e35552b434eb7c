"""Windows builds started under Wine in turns, timed to the intro on screen and
from Enter on Okay to the main window; the median of each over QI_BENCH_RUNS
(7). How to run it, and the figures: docs/windows.md.
    /usr/bin/python3 bench/wine_startup.py A.exe [B.exe...]
(WINEPREFIX: another prepared prefix than the cache's)
"""
import atexit
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tests", "windows"))
# The intro's caption, which names the version, as the Windows build wrote it.
if not os.environ.get("QI_INTRO_CAPTION"):
    with open(os.path.join(ROOT, "build-windows", "intro-caption.txt")) as caption:
        os.environ["QI_INTRO_CAPTION"] = caption.read().rstrip("\n")
os.environ["QI_APP"] = "/bin/true"
import desktop as d
import wineprefix

# A view of the prefix, thrown away after.
view = wineprefix.make_view(wineprefix.prepared())
os.environ["WINEPREFIX"] = view
atexit.register(wineprefix.drop, view)
d.start_display()
RUNS = int(os.environ.get("QI_BENCH_RUNS") or 7)


def now():
    return time.monotonic() * 1000


def appears(caption):
    """Until a window so named is on screen (60 s at most): its id. Polled every
    10 ms, finer than desktop.wait_for, for the timing."""
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        window = d.window_named(caption)
        if window:
            return window
        time.sleep(0.01)
    return None


def start(exe):
    return subprocess.Popen(["wine", exe], stderr=subprocess.DEVNULL)


def stop(proc):
    subprocess.run(["wineserver", "-k"])
    proc.wait()


# One warm-up start each (Wine's own start-up, the files into the page cache).
for exe in sys.argv[1:]:
    proc = start(exe)
    appears(d.INTRO)
    stop(proc)
intro = {exe: [] for exe in sys.argv[1:]}
okay = {exe: [] for exe in sys.argv[1:]}
for run in range(RUNS):
    for exe in sys.argv[1:]:
        begun = now()
        proc = start(exe)
        window = appears(d.INTRO) or sys.exit(f"no intro window from {exe}")
        intro[exe].append(round(now() - begun))
        d.focus_window(window)
        begun = now()
        d.ok("xdotool", "key", "--clearmodifiers", "Return")
        appears(d.MAIN) or sys.exit(f"no main window from {exe}")
        okay[exe].append(round(now() - begun))
        stop(proc)
for exe in sys.argv[1:]:
    print(f"{exe} ({os.path.getsize(exe)} bytes)")
    for what, times in (("to the intro", intro[exe]), ("Okay to the main window", okay[exe])):
        print(f"  {what}: median {statistics.median(times):g} ms ({' '.join(map(str, times))})")
