#!/usr/bin/python3
"""The program as a screen reader user meets it: Orca, started from Debian's
package with its default settings, speaks through speech-dispatcher's dummy
module, and what it says is read from its debug log. The program is driven
by keyboard only, one row of WALK at a time; each row lists what Orca must
have said after its keys.

Everything runs in a world of its own: a temporary home and XDG folders, an
X display (Xvfb and openbox), a D-Bus session, speech-dispatcher and Orca.
Only the processes started here are ended, each by its id.

    QI_APP=/path/to/QuorvathItemlist orca_walk.py
    QI_ORCA_KEEP=DIR    keeps the world (Orca's log among it) in DIR

Run by Debian's /usr/bin/python3, which has pyatspi for Orca.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

INTRO = os.environ["QI_INTRO_CAPTION"]   # from CMake: it names the version
MAIN = "Quorvath Itemlist For Windows"

# What the user does, and what Orca must say to it. Keys are xdotool's
# names; "review" walks the window with flat review, line by line from the
# top. Expected phrases are regular expressions, each matched against every
# utterance spoken after the keys, and against all of them joined by " | "
# (flat review speaks a caption and a value of two lines as two lines).
#   (row, window the keys go to, keys, expected phrases)
SLOWED_ALT = 10   # times the lone Alt is tried with Orca slowed down
SLOWED_FOR = 0.25  # seconds Orca stays stopped from just before the key
WALK = [
    # A window's title as it becomes active, after Okay and after a window
    # closed; the Orca key with KP_Enter says it on asking. Orca 48 handles
    # the key that closed a window after the window has gone, and names the
    # window now active only if it can walk up from the focus it knew: the
    # program keeps a closed window a moment while a reader runs.
    ("Okay on the intro: the main window's title and selected tab", INTRO, ["Return"],
     [r"^Quorvath Itemlist For Windows frame", r"^Armor page tab"]),
    ("the main window's title", MAIN, ["Insert+KP_Enter"], [r"^Quorvath Itemlist For Windows\b"]),
    ("Where Am I on the tab strip: the position among the 11 tabs", MAIN, ["Right", "KP_Enter"],
     [r"^Figurines page tab", r"^2 of 11\b"]),
    # Orca 43 names the list first ("Armor items tree"); Orca 48 names no
    # list or table around a focused entry.
    ("Tab into the list: its current item", MAIN, ["Left", "Tab"], [r"^Leather Armor"]),
    ("moving in the list: each item, and Where Am I its position", MAIN, ["Down", "KP_Enter"],
     [r"^Chain Armor", r"\b2 of 23\b"]),
    # From the tab strip, where Home does nothing more and Page Up nothing at
    # all: Qt waits 100 ms for Orca's answer to a key, and on a busy machine
    # delivers Orca's own keypad keys to the program as well. The list is
    # read by moving in it: Orca 43 reviews its lines too, Orca 48 none.
    ("flat review of the main window reaches every caption with its value", MAIN, ["shift+Tab", "review"],
     [r"Item Name: Chain Armor", r"Usable By: Bard, Geomancer, Hunter, Paladin, Warrior",
      r"Effect\(s\) of Equipping:( \|)? Adds \+2 to the character's AC value\.",
      r"Activated Effect\(s\):( \|)? N/A", r"# Uses: Continuous while equipped\.",
      r"Description:( \|)? Interlocking iron rings; noisy, but dependable\."]),
    ("Tab back into the list: its current item", MAIN, ["Tab"], [r"^Chain Armor"]),
    ("F10 in the main window opens the menu bar", MAIN, ["F10"], [r"^File (expanded|collapsed)"]),
    ("Help > Terminology says it opens a submenu", MAIN, ["Left", "Up", "Down"],
     [r"^Terminology collapsed"]),
    ("a terminology window: its title and text on opening", MAIN, ["Right", "Return"],
     [r"^Item Name dialog", r"^The Item Name is simply the name of the item"]),
    # Orca 48 may move to the main window's focus in silence: Where Am I
    # says the entry.
    ("closing it: the main window's title", "Item Name", ["alt+F4"],
     [r"^Quorvath Itemlist For Windows frame"]),
    ("Where Am I after closing it: the list's item and its position", MAIN, ["KP_Enter"],
     [r"^Chain Armor", r"\b2 of 23\b"]),
    ("closing it: the main window's title again", MAIN, ["Insert+KP_Enter"], [r"^Quorvath Itemlist For Windows\b"]),
    ("About: its title on opening", MAIN, ["F10", "Left", "Up", "Return"],
     [r"^About This Program dialog"]),
    ("About's text: Tab into it, then line by line", "About This Program", ["Tab", "Down"],
     [r"Itemlist for Windows"]),
    ("closing About: the main window's title", "About This Program", ["alt+F4"],
     [r"^Quorvath Itemlist For Windows frame"]),
    ("Where Am I after closing About: the list's item and its position", MAIN, ["KP_Enter"],
     [r"^Chain Armor", r"\b2 of 23\b"]),
] + [
    # Qt's bridge holds each key until Orca answers, and gives the program a
    # copy of it afterwards. A loaded machine makes the answer come after the
    # Alt release now and then; Orca stopped for 250 ms around the key makes
    # it so every time. The menu bar must open all the same: Down then opens
    # the File menu at its one entry (with the bar shut, Down moves the list).
    ("a lone Alt with Orca slowed opens the menu bar (%d of %d)" % (n, SLOWED_ALT), MAIN,
     ["slowed:alt", "Down", "Escape", "Escape"], [r"^Quit\b"])
    for n in range(1, SLOWED_ALT + 1)
] + [
    ("the quit question with its buttons", MAIN, ["alt+F4"],
     [r"Are you sure you want to quit\?", r"^Yes (push )?button"]),
]

QUIET = 0.6       # seconds without a new line in Orca's log: it has finished speaking
ROW_LIMIT = 5.0   # the longest a row waits for its phrases once its keys are sent


def log(*args):
    print(*args, flush=True)


def said(phrase, heard):
    return any(re.search(phrase, h) for h in heard) or re.search(phrase, " | ".join(heard))


def utterances(text):
    """The texts of the log's "SPEECH OUTPUT: '...'" entries; an entry's
    text may run over several lines, and its voice may follow it."""
    found, current = [], None
    end = re.compile(r"' ?(\[?\{.*\}\]?)?$")
    for line in text.split("\n"):
        if current is None:
            m = re.match(r"^[\d:.]+ - SPEECH OUTPUT: '(.*)$", line)
            if not m:
                continue
            current, line = [], m.group(1)
        m = end.search(line)
        if m:
            current.append(line[:m.start()])
            found.append("\n".join(current))
            current = None
        else:
            current.append(line)
    return found


class World:
    def __init__(self, root):
        self.root = root
        self.procs = []
        self.log_path = os.path.join(root, "orca-debug.log")
        self.read_from = 0

    def start(self, argv, **kw):
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, **kw)
        self.procs.append(proc)
        return proc

    def end(self):
        # Newest first: the program, Orca, speech, the window manager, X.
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(1)
                except subprocess.TimeoutExpired:
                    proc.kill()   # Orca ignores SIGTERM
                    proc.wait(5)

    def wait_for(self, seconds, test):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if test():
                return True
            time.sleep(0.05)
        return False

    # --- X -----------------------------------------------------------------
    def start_display(self):
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                   pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise SystemExit("Xvfb did not come up")
            number += chunk
        os.close(read)
        os.environ["DISPLAY"] = ":" + number.decode().strip()
        wm_log = open(os.path.join(self.root, "openbox.log"), "w")
        self.start(["openbox"], stdout=wm_log, stderr=wm_log)
        if not self.wait_for(10, lambda: b"window id" in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"])):
            raise SystemExit("openbox did not come up")

    def x(self, argv):
        return subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout

    def windows(self, caption):
        out = self.x(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(caption)])
        return [int(w) for w in out.split()]

    def window(self, caption):
        return next(iter(self.windows(caption)), None)

    def focused(self):
        out = self.x(["xdotool", "getwindowfocus"]).strip()
        return int(out) if out.isdigit() else None

    def focus(self, caption):
        """Gives the window the X input focus; true once it has it."""
        def has_it():
            ws = self.windows(caption)
            if not ws:
                return False
            if self.focused() in ws:
                return True
            self.x(["xdotool", "windowactivate", str(ws[0])])
            return False
        return self.wait_for(10, has_it)

    # --- Speech and Orca ----------------------------------------------------
    def start_orca(self):
        config = os.environ["XDG_CONFIG_HOME"]
        os.makedirs(os.path.join(config, "speech-dispatcher"))
        with open(os.path.join(config, "speech-dispatcher", "speechd.conf"), "w") as f:
            # The dummy module says nothing; libao, because with the default
            # audio method it aborts.
            f.write('AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\nAudioOutputMethod "libao"\n')
        speechd_log = open(os.path.join(self.root, "speechd.log"), "w")
        self.start(["speech-dispatcher", "--run-single", "--timeout", "0"], stdout=speechd_log, stderr=speechd_log)
        socket = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")
        if not self.wait_for(10, lambda: os.path.exists(socket)):
            raise SystemExit("speech-dispatcher did not come up")

        # Orca's own launcher, changed in two places: its debug log written
        # line by line (it is opened block-buffered), and no refusal to start
        # beside another user's Orca on this machine (it looks for one by
        # process name, not by display or bus; this one has its own).
        launcher = open(shutil.which("orca")).read()
        patched = launcher.replace("open(args.debug_file, 'w')", "open(args.debug_file, 'w', buffering=1)")
        patched = patched.replace("    if otherOrcas():", "    if False:")
        patched = patched.replace("setProcessName('orca')", "setProcessName('orca-walk')")
        if patched.count("buffering=1") != 1 or "if False:" not in patched:
            raise SystemExit("Orca's launcher is not the one this test knows")
        path = os.path.join(self.root, "orca-launcher")
        with open(path, "w") as f:
            f.write(patched)
        prefs = os.path.join(self.root, "orca-prefs")
        os.makedirs(prefs)
        orca_log = open(os.path.join(self.root, "orca.out"), "w")
        self.orca = self.start(["/usr/bin/python3", path, "-u", prefs, "--debug-file=" + self.log_path],
                   stdout=orca_log, stderr=orca_log)
        if not self.wait_for(30, lambda: "Screen reader on." in " ".join(self.spoken(keep=True))):
            raise SystemExit("Orca did not start: see %s" % self.log_path)
        self.quiet()
        self.spoken()

    def _log_text(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def spoken(self, keep=False):
        """The utterances logged since the last call."""
        text = self._log_text()
        new = text[self.read_from:]
        # A line only once it is complete.
        end = new.rfind("\n") + 1
        if not keep:
            self.read_from += end
        return utterances(new[:end])

    def quiet(self, limit=ROW_LIMIT):
        """Waits until Orca's log has not grown for QUIET seconds."""
        size, since = -1, time.monotonic()
        deadline = since + limit
        while time.monotonic() < deadline:
            now = os.path.getsize(self.log_path)
            if now != size:
                size, since = now, time.monotonic()
            elif time.monotonic() - since >= QUIET:
                return True
            time.sleep(0.05)
        return False

    # --- Keys ---------------------------------------------------------------
    def key(self, caption, name):
        if not self.focus(caption):
            log("  (window '%s' did not get the focus)" % caption)
            return False
        self.x(["xdotool", "key", "--clearmodifiers", name])
        return True

    def slowed_key(self, caption, name):
        """The key with Orca stopped from just before it until SLOWED_FOR
        after: its answer to the key comes late, as on a loaded machine."""
        if not self.focus(caption):
            log("  (window '%s' did not get the focus)" % caption)
            return False
        os.kill(self.orca.pid, signal.SIGSTOP)
        try:
            self.x(["xdotool", "key", "--clearmodifiers", name])
            time.sleep(SLOWED_FOR)
        finally:
            os.kill(self.orca.pid, signal.SIGCONT)
        return True

    def review(self, caption, phrases, lines=20):
        """Flat review from the window's top line down, until every phrase
        has been spoken or the bottom is reached."""
        heard = []
        self.key(caption, "Insert+KP_Home")
        self.quiet()
        heard += self.spoken()
        for _ in range(lines):
            if all(said(p, heard) for p in phrases):
                break
            self.key(caption, "KP_Page_Up")
            self.quiet()
            new = self.spoken()
            heard += new
            if any(h == "bottom" for h in new):
                break
        return heard


def inner():
    root = os.environ["QI_ORCA_WORLD"]
    world = World(root)
    failures = 0
    app = None
    try:
        world.start_display()
        world.start_orca()
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        env.pop("QT_SCALE_FACTOR", None)
        app_log = open(os.path.join(root, "app.log"), "w")
        app = world.start([os.environ["QI_APP"]], env=env, stdout=app_log, stderr=app_log)
        if not world.wait_for(20, lambda: world.window(INTRO)):
            raise SystemExit("no intro window")
        world.quiet()
        log("intro: " + " | ".join(world.spoken()))
        slowed_opened = 0
        for row, caption, keys, phrases in WALK:
            started = time.monotonic()
            heard = []
            for name in keys:
                if name == "review":
                    heard += world.review(caption, phrases)
                    continue
                if name.startswith("slowed:"):
                    world.slowed_key(caption, name[len("slowed:"):])
                else:
                    world.key(caption, name)
                world.quiet()
                heard += world.spoken()
            if keys[-1] != "review":
                # On a busy machine the answer may follow a pause.
                deadline = time.monotonic() + ROW_LIMIT
                while not all(said(p, heard) for p in phrases) and time.monotonic() < deadline:
                    time.sleep(0.1)
                    heard += world.spoken()
                world.quiet()
                heard += world.spoken()
            missing = [p for p in phrases if not said(p, heard)]
            if "slowed:alt" in keys:
                slowed_opened += not missing
            status = "ok" if not missing else "FAIL"
            log("%s: %s (%.1f s)" % (status, row, time.monotonic() - started))
            log("  Orca said: " + " | ".join(heard))
            if missing:
                log("  missing: " + ", ".join(missing))
                failures += 1
        log("a lone Alt with Orca slowed opened the menu bar %d times of %d" % (slowed_opened, SLOWED_ALT))
        # Yes to the quit question (the window with the main window's
        # title that has the focus): the program ends.
        world.key(MAIN, "Return")
        try:
            code = app.wait(10)
        except subprocess.TimeoutExpired:
            code = "still running"
        if code != 0:
            log("FAIL: Yes to the quit question ends the program (exit code %s)" % code)
            failures += 1
    finally:
        world.end()
    log("all passed" if failures == 0 else "%d failed" % failures)
    return 1 if failures else 0


def outer():
    keep = os.environ.get("QI_ORCA_KEEP")
    root = keep or tempfile.mkdtemp(prefix="qi-orca-")
    os.makedirs(root, exist_ok=True)
    env = dict(os.environ)
    for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY",
                 "XAUTHORITY", "SESSION_MANAGER"):
        env.pop(name, None)
    dirs = {"HOME": "home", "XDG_RUNTIME_DIR": "run", "XDG_CONFIG_HOME": "config",
            "XDG_CACHE_HOME": "cache", "XDG_DATA_HOME": "data"}
    for name, sub in dirs.items():
        env[name] = os.path.join(root, sub)
        os.makedirs(env[name], mode=0o700, exist_ok=True)
    env["QI_ORCA_WORLD"] = root
    try:
        return subprocess.call(["dbus-run-session", "--", "/usr/bin/python3", os.path.abspath(__file__), "--inner"],
                               env=env)
    finally:
        if not keep:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(inner() if sys.argv[1:] == ["--inner"] else outer())
