"""The installer in a fresh view of the Wine prefix (docs/windows.md), and that neither
setup nor its uninstaller reports success for work not done:
    installer.py BUILD_DIR      (WINEPREFIX_BASE: the prepared prefix)
"""
import atexit
import filecmp
import glob
import os
import shutil
import subprocess
import sys
import time
from os.path import exists, isfile, join

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, join(HERE, "..", "e2e"))
build = os.path.abspath(sys.argv[1])
# The intro's caption, which names the version, as the build wrote it.
if not os.environ.get("QI_INTRO_CAPTION"):
    os.environ["QI_INTRO_CAPTION"] = open(join(build, "intro-caption.txt")).read().rstrip("\n")
import desktop as d
import wineprefix

setup = glob.glob(join(build, "quorvath-itemlist-*-setup.exe"))[0]
view = wineprefix.make_view(os.environ.get("WINEPREFIX_BASE") or sys.exit("WINEPREFIX_BASE is not set"))
os.environ["WINEPREFIX"] = view
# Ending the prefix's Wine ends the installed program too.
atexit.register(wineprefix.drop, view)
program = None

c = join(view, "drive_c")
folder = join(c, "Program Files", "Quorvath Itemlist")
apps = join(c, "Apps", "Quorvath")
link = join(c, "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Quorvath Itemlist.lnk")
entry = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorvathItemlist"


def value(name):
    """A value of the uninstall entry. Under load `wine reg` now and then answers
    nothing at all; a value that is there shows on the next try."""
    for _ in range(3):
        answer = d.out("wine", "reg", "query", entry, "/v", name, check=False).replace("\r", "")
        got = "\n".join(" ".join(fields[2:]) for fields in map(str.split, answer.splitlines())
                        if fields and fields[0] == name)
        if got:
            break
        time.sleep(1)
    return got


def registered():
    return d.ok("wine", "reg", "query", entry)


def windows_version(version):
    d.ok("wine", "reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f")
    subprocess.run(["wineserver", "-w"])


# A display from the start, without a window manager (desktop.py sets the focus
# itself): Wine's desktop process, started with the first program, keeps the
# display it found for the programs after it.
d.start_x("1024x768")


def step(what, expected, *command):
    """Runs a step and checks its exit code."""
    code = subprocess.run(command).returncode
    if command[0] == "wine" and program is None:
        subprocess.run(["wineserver", "-w"])
    d.check(f"{what} exits with {expected} (got {code})", code == expected)


def start_program(path):
    """The installed program, started and left running; stopped by its id."""
    global program
    program = d.spawn(["wine", path])
    d.check(f"the installed program starts on its intro window ({path})",
            d.wait_for(600, lambda: d.has_window(d.INTRO)))


def stop_program():
    global program
    program.terminate()
    program.wait()
    program = None


def setup_window(page):
    """Setup's window by its caption ("...Setup: PAGE"; its message boxes have
    none), waited for up to 30 s: its id, or None."""
    caption = f"Quorvath Itemlist 1.0.1 Setup{page}"
    return d.window_named(caption) if d.wait_for(300, lambda: d.has_window(caption)) else None


def mark(where):
    """A mark in the installed read-me: setup has not copied if it is still there."""
    with open(join(where, "README.txt"), "w") as readme:
        readme.write("before this setup\n")


def copied(where):
    try:
        return filecmp.cmp(join(build, "README.txt"), join(where, "README.txt"), shallow=False)
    except OSError:
        return False


# --- Older Windows: setup says what it needs and installs nothing.
for version in ("win7", "win81"):
    windows_version(version)
    step(f"setup /S on {version}", 2, "wine", setup, "/S")
    d.check("and installs nothing", not exists(folder) and not registered())

# --- A first install, silently, into Program Files, on Windows 11; all that
# follows on Windows 10.
windows_version("win11")
step("setup /S on win11", 0, "wine", setup, "/S")
d.check("the program is installed into Program Files",
        lambda: filecmp.cmp(join(build, "QuorvathItemlist.exe"),
                            join(folder, "QuorvathItemlist.exe"), shallow=False))
d.check("with its read-me and uninstaller",
        isfile(join(folder, "README.txt")) and isfile(join(folder, "uninstall.exe")))
d.check("a Start menu shortcut for all users", isfile(link))
for name, expected, what in [("DisplayName", "Quorvath Itemlist", "Apps and features names it"),
                             ("DisplayVersion", "1.0.1", "with version 1.0.1"),
                             ("Publisher", "Emberlight Hollow Software", "its publisher")]:
    got = value(name)
    d.check(f"{what} (got '{got}')", got == expected)
d.check("its icon", value("DisplayIcon").endswith("QuorvathItemlist.exe,0"))
d.check("and a silent uninstall", value("QuietUninstallString").endswith('uninstall.exe" /S'))
files = [join(folder, f) for f in ("QuorvathItemlist.exe", "README.txt", "uninstall.exe")]
kb = sum(os.path.getsize(f) for f in files if exists(f)) // 1024
size = value("EstimatedSize")
size = int(size, 0) if size else 0
d.check(f"its size is the folder's, uninstaller included ({kb} KB, got {size})", kb - 2 <= size <= kb + 1)
resource = d.out("x86_64-w64-mingw32-windres", "-i", setup, "-O", "rc", check=False)
d.check("setup's version resource has the product version", 'VALUE "ProductVersion", "1.0.1"' in resource)
windows_version("win10")

# --- Over the running program: silently it stops with an exit code; asked,
# Cancel stops and Retry goes on once the program is closed.
start_program(r"C:\Program Files\Quorvath Itemlist\QuorvathItemlist.exe")
mark(folder)
step("setup /S while the program runs", 2, "wine", setup, "/S")
d.check("and copies nothing", not copied(folder))
for answer in ("Escape", "Return"):
    interactive = d.spawn(["wine", setup])
    page = setup_window(": Installation Folder")
    if page:
        d.key(page, "Return")   # Install
    box = setup_window("")
    d.check("setup asks to close the running program", box is not None)
    if answer == "Return":
        stop_program()
    if box:
        d.key(box, answer)   # Cancel, or Retry
    if answer == "Return":
        done = setup_window(": Completed")
        if done:
            d.key(done, "Return")   # Close
        d.check("Retry after closing the program finishes the install", done is not None)
    code = d.exit_code(interactive, 600)
    if code is None:
        interactive.terminate()
        code = interactive.wait()
    if answer == "Escape":
        d.check(f"Cancel ends setup with exit code 1 (got {code})", code == 1)
        d.check("and copies nothing", not copied(folder))
    else:
        d.check(f"with exit code 0 (got {code})", code == 0)
        d.check("and copies the files", copied(folder))
if program:
    stop_program()

# --- An update goes where the program is, also without /D.
step("the uninstaller /S", 0, "wine", join(folder, "uninstall.exe"), "/S")
step(r"setup /S /D=C:\Apps\Quorvath", 0, "wine", setup, "/S", r"/D=C:\Apps\Quorvath")
mark(apps)
step("a later setup /S", 0, "wine", setup, "/S")
d.check("updates the program in its folder", copied(apps))
d.check("and puts no second copy into Program Files", not exists(folder))
location = value("InstallLocation")
d.check(f"the entry still points at it (got '{location}')", location == r"C:\Apps\Quorvath")

# --- Uninstall while the program runs (in place, _?=, so that its exit code
# is the uninstaller's own): refused, and everything stays.
start_program(r"C:\Apps\Quorvath\QuorvathItemlist.exe")
step("the uninstaller /S while the program runs", 2,
     "wine", join(apps, "uninstall.exe"), "/S", r"_?=C:\Apps\Quorvath")
d.check("leaves the program and its shortcut",
        isfile(join(apps, "QuorvathItemlist.exe")) and isfile(link))
d.check("and its entry", registered())
stop_program()

step("the uninstaller /S", 0, "wine", join(apps, "uninstall.exe"), "/S")
d.check("the uninstaller removes the program's folder", not exists(apps))
d.check("the shortcut", not exists(link))
d.check("and the Apps and features entry", not registered())

# --- A file that cannot be written (here a folder in the way): a first
# install stops with an exit code, takes back what it wrote and registers nothing.
shutil.rmtree(folder, ignore_errors=True)
os.makedirs(join(folder, "README.txt"))
step("setup /S that cannot write a file", 2, "wine", setup, "/S")
d.check("leaves no program and no uninstaller",
        not exists(join(folder, "QuorvathItemlist.exe")) and not exists(join(folder, "uninstall.exe")))
d.check("no shortcut", not exists(link))
d.check("and no entry", not registered())

d.finish()
