"""The program on a real X display, as its users meet it, for the end-to-end
tests: pass/fail bookkeeping and a scratch folder; an X server of the test's
own (Xvfb), with openbox where windows need managing; the program started as a
user starts it; its windows found by caption; real key and pointer events
through the X server (XTEST); bounded waits. Processes started here are ended
by id at exit.

    import desktop as d
    d.start_display()
    main = d.start_at_main()
    d.check("the main window is 481 wide", d.client_geometry(main)[0] == 481)
    d.finish()

Keys go to a window only once `xdotool getwindowfocus` names it: XTEST events
go wherever the focus is, and `windowactivate --sync` can return before it
moves (docs/testing.md).
"""
import atexit
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

APP = os.environ.get("QI_APP", "")
# The intro window's caption, which names the version (from CMake).
INTRO = os.environ.get("QI_INTRO_CAPTION", "")
MAIN = "Quorvath Itemlist For Windows"
ABOUT = "About This Program"
CATEGORIES = ["Armor", "Figurines", "Gloves", "Helms", "Misc. Items", "Rings", "Shields", "Weapons",
              "Instruments", "Quivers", "Containers/Fluids"]
# The captions of the details of the item shown.
FIELDS = ["Item Name:", "Usable By:", "Effect(s) of Equipping:", "Activated Effect(s):", "# Uses:",
          "Description:"]
# The side windows: Help's menu path, caption, client size (the design's twips / 15).
SIDE_WINDOWS = [
    ("Terminology/Item Name", "Item Name", (305, 59)),
    ("Terminology/Usable By", "Usable By...", (297, 59)),
    ("Terminology/Effects of Equipping", "Effects of Equipping...", (289, 74)),
    ("Terminology/Activated Effects", "Activated Effects...", (305, 74)),
    ("Terminology/# Uses/One-time only.", "One-time only...", (305, 59)),
    ("Terminology/# Uses/Limited.", "Limited...", (305, 99)),
    ("Terminology/# Uses/Multiple.", "Multiple...", (305, 60)),
    ("Terminology/# Uses/Continuous while equipped.", "Continuous while Equipped...", (306, 60)),
    ("Terminology/Description", "Description...", (298, 75)),
    ("About Quorvath Itemlist", ABOUT, (475, 207)),
]
HERE = os.path.dirname(os.path.abspath(__file__))

TMP = tempfile.mkdtemp(prefix="qi-e2e.")
# A desktop session has a runtime folder of its own; without one, Qt says so
# on standard error.
if not os.environ.get("XDG_RUNTIME_DIR"):
    os.environ["XDG_RUNTIME_DIR"] = os.path.join(TMP, "runtime")
    os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
APP_STDERR = os.path.join(TMP, "app.stderr")

_processes = []
_failures = 0
app = None        # the program's process, once started
reader = None     # its accessibility tree (a11y.Reader), once use_a11y()


def _cleanup():
    for proc in reversed(_processes):
        if proc.poll() is None:
            proc.terminate()
    for proc in reversed(_processes):
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    shutil.rmtree(TMP, ignore_errors=True)


atexit.register(_cleanup)
# ctest ends a test that runs out of time with SIGTERM: clean up then too.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))


# --- Bookkeeping -----------------------------------------------------------
def passed(what):
    print(f"ok: {what}", flush=True)


def fail(what):
    global _failures
    _failures += 1
    print(f"FAIL: {what}", flush=True)


def check(what, result):
    """Passes or fails `what`; `result` is a truth or a callable giving one."""
    if callable(result):
        result = attempt(result)
    passed(what) if result else fail(what)
    return bool(result)


def finish():
    if _failures == 0:
        print("all passed")
        sys.exit(0)
    if os.path.exists(APP_STDERR) and os.path.getsize(APP_STDERR):
        print("the program's standard error:")
        print(open(APP_STDERR, errors="replace").read(), end="")
    print(f"{_failures} failed")
    sys.exit(1)


def require(value, what):
    """`value`, or `what` fails and the test ends."""
    if not value:
        fail(what)
        finish()
    return value


def attempt(condition):
    """The callable's answer; an exception or a failed command counts as false."""
    try:
        return condition()
    except (subprocess.CalledProcessError, OSError, ValueError, TypeError):
        return False


def wait_for(tenths, condition):
    """Polls `condition` every 50 ms for at most `tenths`/10 seconds."""
    deadline = time.monotonic() + tenths / 10
    while True:
        if attempt(condition):
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.05)


# --- Processes and commands --------------------------------------------------
def spawn(argv, **options):
    """A process ended at exit."""
    proc = subprocess.Popen(argv, **options)
    _processes.append(proc)
    return proc


def out(*argv, check=True, **options):
    """A command's standard output, its trailing line end taken off; with
    check, a failed command raises CalledProcessError."""
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                            check=check, **options)
    return result.stdout.rstrip("\n")


def ok(*argv):
    """Whether a command succeeds (its output dropped)."""
    return subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def exit_code(proc=None, tenths=100):
    """The exit code of the program (or `proc`) once it has ended, waiting at
    most `tenths`/10 s; None while it runs. On a machine busy with a build
    beside the tests, an exit has been seen to take more than 5 s."""
    try:
        return (proc or app).wait(tenths / 10)
    except subprocess.TimeoutExpired:
        return None


# --- The display -------------------------------------------------------------
def start_x(size="1280x1024"):
    """An X server of the test's own, 24 bits, its messages in TMP/xvfb.log. It
    picks a free display number itself (-displayfd): one chosen here could be
    taken by another session's server first."""
    read, write = os.pipe()
    server = spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size or '1280x1024'}x24",
                    "-nolisten", "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                   stderr=open(os.path.join(TMP, "xvfb.log"), "a"))
    os.close(write)
    with os.fdopen(read) as display:
        number = display.readline().strip()
    require(number, "Xvfb comes up")
    os.environ["DISPLAY"] = f":{number}"
    require(wait_for(150, lambda: ok("xdpyinfo")), "Xvfb answers")
    return server


def _x_report(server, env):
    """How the X server is, for a failure's reader."""
    state = "running" if server.poll() is None else f"ended with {server.poll()}"
    answers = subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0
    sockets = out("sh", "-c", "ls -la /tmp/.X11-unix /tmp/.X*-lock", check=False)
    return (f"X server: {state}, answering: {ok('xdpyinfo')}, with openbox's environment: {answers}; "
            f"XAUTHORITY={os.environ.get('XAUTHORITY')}; its messages:\n"
            f"{open(os.path.join(TMP, 'xvfb.log')).read()}{sockets}")


def start_display(size=None):
    """An X server with a window manager, and the program to be shown there."""
    require(APP, "QI_APP names the program")
    require(INTRO, "QI_INTRO_CAPTION gives the caption of the intro window")
    server = start_x(size)
    log = os.path.join(TMP, "openbox.log")
    # openbox has been seen not to come up on a busy machine, with the X server
    # answering xdpyinfo: try again, each time on a new X server.
    for attempt_number in (1, 2, 3):
        wm_env = dict(os.environ, HOME=TMP)
        wm = spawn(["openbox"], env=wm_env, stdout=open(log, "a"), stderr=subprocess.STDOUT)
        if wait_for(100, lambda: "window id" in out("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")):
            break
        wm.kill()
        print(f"openbox did not come up on {os.environ['DISPLAY']} (attempt {attempt_number}):\n"
              f"{open(log).read()}{_x_report(server, wm_env)}")
        # The new server first, so that it takes another display number.
        old, server = server, start_x(size)
        old.kill()
    else:
        require(False, "openbox comes up")
    os.environ["QT_QPA_PLATFORM"] = "xcb"
    os.environ.pop("QT_SCALE_FACTOR", None)


def stand_in_opener(body="exit 0"):
    """An xdg-open on the PATH (doing nothing unless given its lines): with
    none, About's web buttons are off, and the program says so on standard error."""
    folder = os.path.join(TMP, "bin")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "xdg-open"), "w") as opener:
        opener.write(f"#!/bin/sh\n{body}\n")
    os.chmod(os.path.join(folder, "xdg-open"), 0o755)
    os.environ["PATH"] = folder + os.pathsep + os.environ["PATH"]


# --- The program ---------------------------------------------------------------
def start_app(argv=None, **options):
    """The program (or `argv`), its standard error kept and shown when a test fails."""
    global app
    app = spawn(argv or [APP], stderr=open(APP_STDERR, "a"), **options)
    return app


def check_quiet():
    """A session in which all is well prints nothing: every warning is a fallback."""
    check("the program printed nothing on standard error", os.path.getsize(APP_STDERR) == 0)


def start_at_main():
    """Starts the program and presses Enter on the intro: the main window's id."""
    start_app()
    intro = require(wait_window(INTRO), "intro window")
    activate(intro)
    key(intro, "Return")
    return require(wait_window(MAIN), "main window")


# --- Windows -------------------------------------------------------------------
def windows_named(caption):
    """The ids of the visible windows with exactly this caption."""
    found = out("xdotool", "search", "--onlyvisible", "--name", f"^{caption}$", check=False)
    return [int(w) for w in found.split()]


def window_named(caption):
    ids = windows_named(caption)
    return ids[0] if ids else None


def has_window(caption):
    return bool(windows_named(caption))


def wait_window(caption, tenths=100):
    """The window's id once it shows (and has had a moment to paint), or None."""
    if not wait_for(tenths, lambda: has_window(caption)):
        print(f"no window '{caption}'")
        return None
    time.sleep(0.2)
    return window_named(caption)


def wait_gone(caption, tenths=50):
    return wait_for(tenths, lambda: not has_window(caption))


def quit_question(main):
    """The id of the other visible window with the main window's caption."""
    return next((w for w in windows_named(MAIN) if w != main), None)


def client_geometry(window):
    """The client's (width, height, x, y) on the screen."""
    info = {}
    for line in out("xwininfo", "-id", str(window)).splitlines():
        name, _, value = line.strip().partition(":")
        info[name] = value.strip()
    return tuple(int(info[k]) for k in ("Width", "Height", "Absolute upper-left X", "Absolute upper-left Y"))


def xprop(window, name):
    return out("xprop", *(["-root"] if window is None else ["-id", str(window)]), name, check=False)


def allows(window, action):
    """The window manager's view: allows(window, "MINIMIZE")."""
    return f"_NET_WM_ACTION_{action}" in xprop(window, "_NET_WM_ALLOWED_ACTIONS")


def size_hints(window):
    """(minimum, maximum) size, each (w, h) or None."""
    hints = {}
    for line in xprop(window, "WM_NORMAL_HINTS").splitlines():
        for which in ("minimum", "maximum"):
            if f"program specified {which} size" in line:
                w, _, h = line.split(":")[1].split()
                hints[which] = (int(w), int(h))
    return hints.get("minimum"), hints.get("maximum")


def fixed_size(window, size=None):
    """Its minimum and maximum size are the same (and `size`)."""
    low, high = size_hints(window)
    return low is not None and low == high and (size is None or low == tuple(size))


def minimized(window):
    return "_NET_WM_STATE_HIDDEN" in xprop(window, "_NET_WM_STATE")


def on_top(window):
    """Whether the window is the top of the stacking order among the managed ones."""
    return int(xprop(None, "_NET_CLIENT_LIST_STACKING").split()[-1], 16) == window


# --- Keys, text and the pointer ----------------------------------------------------
def focused():
    try:
        return int(out("xdotool", "getwindowfocus"))
    except (subprocess.CalledProcessError, ValueError):
        return None


def wait_focus(window, tenths=50):
    """Whether the window has the X input focus within `tenths`/10 s; if not,
    says where the focus is instead."""
    if wait_for(tenths, lambda: focused() == window):
        return True
    where = focused()
    name = out("xdotool", "getwindowname", str(where), check=False) if where else "none"
    print(f"window {window} ('{out('xdotool', 'getwindowname', str(window), check=False)}') did not get "
          f"the X input focus within {tenths / 10} s; it is on {where} ('{name}')")
    return False


def request_focus(window):
    """Without a window manager (no _NET_ACTIVE_WINDOW), the focus is set directly."""
    if not ok("xdotool", "windowactivate", "--sync", str(window)):
        ok("xdotool", "windowfocus", "--sync", str(window))


def focus_window(window):
    """Activates (raises) the window and waits for the focus. A request made
    while the window was still being mapped can be dropped: it is made again."""
    request_focus(window)
    if wait_for(10, lambda: focused() == window):
        return True
    request_focus(window)
    return wait_focus(window, 40)


def send_keys(window, *keys, delay=None):
    """xdotool's key names, sent once the window has the focus; whether they were."""
    timing = ["--delay", str(delay)] if delay else []
    return focus_window(window) and ok("xdotool", "key", "--clearmodifiers", *timing, *keys)


def key(window, *keys, **options):
    """send_keys, failing the test where the window does not get the focus."""
    if not send_keys(window, *keys, **options):
        fail(f"keys {' '.join(keys)} for window {window}")


def activate(window):
    if not focus_window(window):
        fail(f"activating window {window}")


def type_text(window, text):
    return focus_window(window) and ok("xdotool", "type", "--clearmodifiers", "--delay", "5", text)


def click(x, y):
    """A real pointer click at a screen position."""
    ok("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")


def pointer_away():
    ok("xdotool", "mousemove", "0", "0")


# --- Pictures ----------------------------------------------------------------------
def shot(window, x, y, w, h, file):
    """A picture of part of a window's client area."""
    ok("import", "-window", str(window), "-crop", f"{w}x{h}+{x}+{y}", "+repage", file)


def snapshot(window, file):
    """A picture of a window's client area (or the screen's, window "root")."""
    ok("import", "-window", str(window), file)


def pixels_apart(a, b):
    """How many pixels two pictures differ in (ImageMagick's count, as text)."""
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return result.stderr.strip()


def same_image(a, b):
    return pixels_apart(a, b) == "0"


# --- Reading the program through accessibility (AT-SPI) --------------------------------
def use_a11y():
    """Reads the program through AT-SPI from its start. Needs a D-Bus session
    bus (dbus-run-session), which starts the AT-SPI bus on first use."""
    require(os.environ.get("DBUS_SESSION_BUS_ADDRESS"), "a D-Bus session bus (run under dbus-run-session)")
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    # The AT-SPI bus launcher puts its socket in the runtime folder, named after
    # the display. Without them all sessions share ~/.cache/at-spi/bus, which another
    # test's launcher takes away ("Couldn't connect to accessibility bus").
    ok("dbus-update-activation-environment", "DISPLAY", "XDG_RUNTIME_DIR")


def read_app(seconds=10):
    """The program's accessibility tree, once it is on the bus (or the test ends)."""
    global reader
    import a11y
    reader = a11y.Reader(app.pid)
    require(reader.wait(seconds), "the program is on the accessibility bus")
    return reader


def click_object(window, role, name):
    """Clicks the middle of an accessible object with a real pointer event."""
    box = reader.find(window, role, name)
    if box is None:
        print(f"no {role} '{name}' to click in '{window}'")
        return False
    x, y, w, h = box
    click(x + w // 2, y + h // 2)
    return True


def _menu_once(path):
    previous = None
    for entry in path:
        shows = lambda: reader.find("*", "menu item", entry) is not None
        if not wait_for(20, shows):
            # A submenu that did not open (clicked while its window was still
            # taking the focus): its entry once more.
            if previous is not None:
                click_object("*", "menu item", previous)
            if not wait_for(20, shows):
                print(f"no menu entry '{entry}'")
                return False
        if not click_object("*", "menu item", entry):
            return False
        previous = entry
    return True


def menu(*path):
    """Walks a menu path with the pointer: menu("Help", "Terminology", "Item Name").
    A path that fails is closed with Esc and tried once more."""
    window = focused()
    if _menu_once(path):
        return True
    # The open menus keep the focus on their window: Esc closes them there.
    if window is not None and wait_focus(window):
        ok("xdotool", "key", "--clearmodifiers", "Escape", "Escape", "Escape")
    time.sleep(0.3)
    if _menu_once(path):
        return True
    # For the reader of the failure: what the program shows, and where the focus is.
    print(f"menu {' > '.join(path)}: the program shows {reader.toplevels()}; "
          f"the focus is on '{out('xdotool', 'getwindowfocus', 'getwindowname', check=False)}'")
    return False


def help_menu(main, path):
    """Help's entry at `path` ("Terminology/# Uses/Limited."), chosen from the main window."""
    activate(main)
    return menu("Help", *path.split("/"))
