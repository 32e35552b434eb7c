"""Wine prefixes for the Windows tests: each test runs in a view of its own of the
prepared prefix, an overlay thrown away after (docs/windows.md).

    prefix = prepared()                      the prepared prefix, made once
    view = make_view(prefix)                 a new view of it
    machine(view, "win10", 96, sans=True)    the view as a Windows machine
    set_reg(view, r"Control Panel\\Desktop", {"LogPixels": 144})   values of its HKEY_CURRENT_USER
    drop(view)                               its Wine ended, the view gone

Run as a script: CMD in a view of its own of the prepared prefix (WINEPREFIX_BASE), as a
machine that reports Windows VERSION at DPI, with MS Sans Serif (SANS=1) or not (0); the
view is dropped after, whatever happens, and CMD's exit code is the script's. Wine hands
Linux's QT_* variables to no Windows program: NAME=VALUE words before CMD go into the
view's Windows environment (its registry).

    wineprefix.py VERSION DPI SANS [NAME=VALUE...] CMD...
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def prepared():
    """The prepared prefix, made once by tools/setup.sh's qi_wine_prefix (or the one WINEPREFIX
    names), with the Wine environment qi_wine_prefix exports set here too."""
    variables = ("WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES", "WINEARCH")
    script = ('source "$0"; qi_wine_prefix "${WINEPREFIX:-}" >&2; '
              'for v in "$@"; do printf "%s=%s\\0" "$v" "${!v}"; done')
    shown = subprocess.run(["bash", "-c", script, os.path.join(ROOT, "tools", "setup.sh"), *variables],
                           stdout=subprocess.PIPE, text=True)
    if shown.returncode:
        sys.exit("no prepared Wine prefix")
    for pair in shown.stdout.split("\0")[:-1]:
        name, _, value = pair.partition("=")
        os.environ[name] = value
    return os.environ["WINEPREFIX"]


def make_view(prefix):
    """A new view of the prefix: an overlay mount, or (without root) a full copy, warned of."""
    if not os.path.isfile(os.path.join(prefix, "system.reg")):
        sys.exit(f"no Wine prefix at '{prefix}'")
    top = tempfile.mkdtemp(prefix="qi-prefix.")
    for folder in ("upper", "work", "prefix"):
        os.mkdir(os.path.join(top, folder))
    view = os.path.join(top, "prefix")
    layers = f"lowerdir={prefix},upperdir={top}/upper,workdir={top}/work"
    mount = ["mount", "-t", "overlay", "qi-prefix", "-o", layers, view]
    if os.geteuid() != 0 or subprocess.run(mount).returncode:
        print(f"warning: no overlay for a view of the Wine prefix (it needs root): a full copy of {prefix}",
              file=sys.stderr)
        if subprocess.run(["cp", "-a", f"{prefix}/.", f"{view}/"]).returncode:
            sys.exit(f"could not copy the Wine prefix {prefix}")
    return view


def drop(view):
    """Ends the view's Wine, unmounts it and removes it."""
    top = os.path.dirname(view)
    if os.path.basename(view) != "prefix" or not os.path.basename(top).startswith("qi-prefix."):
        sys.exit(f"not a view of a Wine prefix: {view}")
    env = dict(os.environ, WINEPREFIX=view)
    try:
        for argument in ("-k", "-w"):
            subprocess.run(["wineserver", argument], env=env, stderr=subprocess.DEVNULL)
    except FileNotFoundError:
        pass   # without Wine, no Wine ran there
    if os.path.ismount(view) and subprocess.run(["umount", view], stderr=subprocess.DEVNULL).returncode:
        subprocess.run(["umount", "-l", view])
    try:
        shutil.rmtree(top)
    except OSError as error:
        print(f"warning: the view of the Wine prefix is not all removed: {error}", file=sys.stderr)


def _reg_line(name, value):
    """A value as Wine writes it: a number as a dword, text quoted."""
    if isinstance(value, int):
        return f'"{name}"=dword:{value:08x}'
    text = value.replace("\\", "\\\\").replace('"', '\\"')
    return f'"{name}"="{text}"'


def set_reg(view, key, values):
    """Values ({name: number or text}) of the view's HKEY_CURRENT_USER key, written into
    user.reg before Wine runs there (quicker than starting Wine), as Wine writes them: the
    key's line "[KEY] TIME" with its backslashes doubled ('[Control Panel\\\\Desktop]'), each
    value a line below it ('"LogPixels"=dword:00000090')."""
    path = os.path.join(view, "user.reg")
    if not os.path.isfile(path):
        sys.exit(f"no registry at '{path}'")
    header = "[" + key.replace("\\", "\\\\") + "] "
    new = [_reg_line(name, value) for name, value in values.items()]
    names = {line.split("=", 1)[0] for line in new}
    with open(path, encoding="utf-8", errors="surrogateescape", newline="") as file:
        lines = file.read().split("\n")
    if lines[-1] == "":
        lines.pop()
    result = []
    inside = found = False
    for line in lines:
        # The key's section ends at the next key or a blank line: the values go there.
        if line.startswith("[") or line == "":
            if inside:
                result += new
            inside = False
        if line.startswith(header):
            inside = found = True
        if inside and line.startswith('"') and line.split("=", 1)[0] in names:
            continue
        result.append(line)
    if inside:
        result += new
    if not found:
        result += ["", f"{header}{int(time.time())}", *new]
    with open(path + ".new", "w", encoding="utf-8", errors="surrogateescape", newline="") as file:
        file.write("\n".join(result) + "\n")
    os.replace(path + ".new", path)


def machine(view, version, dpi, sans):
    """The view as a machine that reports Windows `version` as `winecfg -v` names them
    (win10, win11), in the value Wine reads it from, at `dpi`, with MS Sans Serif or not."""
    fonts = os.path.join(view, "drive_c", "windows", "Fonts")
    if not os.path.isdir(fonts):
        sys.exit(f"no Wine prefix at '{view}'")
    sans_serif = os.path.join(fonts, "sserife.fon")
    if not sans:
        if os.path.exists(sans_serif):
            os.remove(sans_serif)
    elif not os.path.exists(sans_serif):
        shutil.copy2("/usr/share/wine/fonts/sserife.fon", sans_serif)
    set_reg(view, r"Software\Wine", {"Version": version})
    set_reg(view, r"Control Panel\Desktop", {"LogPixels": dpi})


def in_view(argv):
    """The command line (see above): CMD's exit code."""
    if len(argv) < 4:
        sys.exit("usage: wineprefix.py VERSION DPI SANS [NAME=VALUE...] CMD...")
    version, dpi, sans, *command = argv
    environment = {}
    while command and re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*=.*", command[0], re.S):
        name, _, value = command.pop(0).partition("=")
        environment[name] = value
    base = os.environ.get("WINEPREFIX_BASE") or sys.exit("WINEPREFIX_BASE must name the prepared Wine prefix")
    # A test ended by a signal drops its view too; a second signal (timeout sends one to
    # the process and one to its group) does not cut that short.
    def ended(number, _):
        for each in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            signal.signal(each, signal.SIG_IGN)
        sys.exit(128 + number)

    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, ended)
    view = make_view(base)
    try:
        machine(view, version, int(dpi), sans == "1")
        if environment:
            set_reg(view, "Environment", environment)
        try:
            code = subprocess.run(command, env=dict(os.environ, WINEPREFIX=view)).returncode
        except FileNotFoundError as error:
            print(error, file=sys.stderr)
            code = 127
    finally:
        drop(view)
    return code if code >= 0 else 128 - code


if __name__ == "__main__":
    sys.exit(in_view(sys.argv[1:]))
