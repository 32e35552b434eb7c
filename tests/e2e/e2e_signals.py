"""However the program ends (SIGTERM, SIGINT, SIGHUP, SIGKILL, xkill), a hanging
browser opener it started ends with it; started with standard descriptors
closed, it still works (docs/files-and-processes.md).
"""
import os
import signal

import desktop as d

d.start_display()
d.use_a11y()
d.stand_in_opener('echo $$ > "$QI_OPENER_PID.tmp" && mv "$QI_OPENER_PID.tmp" "$QI_OPENER_PID"\nexec sleep 600')

# How the program ends | its exit code (128 + the signal's number after the
# quiet shutdown; 137 is SIGKILL's, 1 is Qt's for a broken X connection) |
# the standard descriptors closed at its start
ENDINGS = [
    ("TERM", 143, ()),
    ("INT", 130, ()),
    ("HUP", 129, ()),
    ("KILL", 137, ()),
    ("xkill", 1, ()),
    ("TERM", 143, (2,)),
    ("TERM", 143, (0, 1, 2)),
]


def start_with_opener(name, closed):
    """Starts the program with the standard descriptors listed closed and clicks
    About's "Velmarch": the hanging opener's process id, or None."""
    pid_file = os.path.join(d.TMP, f"opener-{name}.pid")
    env = dict(os.environ, QI_OPENER_PID=pid_file)
    # Without XDG_RUNTIME_DIR Qt warns at once, into whatever took standard error's number.
    if closed:
        del env["XDG_RUNTIME_DIR"]
    # With every signal's default action: one ignored here would be ignored
    # there too, and the program respects an ignored SIGINT.
    def close_descriptors():
        for number in (signal.SIGINT, signal.SIGHUP, signal.SIGTERM):
            signal.signal(number, signal.SIG_DFL)
        for fd in closed:
            os.close(fd)
    d.start_app(env=env, preexec_fn=close_descriptors)
    intro = d.wait_window(d.INTRO)
    if intro is None or not d.send_keys(intro, "Return"):
        return None
    main = d.wait_window(d.MAIN)
    if main is None:
        return None
    ui = d.read_app()
    d.activate(main)
    if not d.menu("Help", "About Quorvath Itemlist") or d.wait_window(d.ABOUT, 40) is None:
        return None
    if not d.click_object(d.ABOUT, "push button", "Velmarch"):
        return None
    if not d.wait_for(50, lambda: os.path.getsize(pid_file) > 0):
        return None
    opener = int(open(pid_file).read())
    return opener


def gone(pid):
    """Gone, or a zombie that its new parent has yet to collect."""
    state = d.out("ps", "-o", "stat=", "-p", str(pid), check=False)
    return state == "" or state.startswith("Z")


for signal_name, want_code, closed in ENDINGS:
    how = signal_name + (f", descriptors {' '.join(map(str, closed))} closed" if closed else "")
    opener = start_with_opener(signal_name + "".join(map(str, closed)), closed)
    if opener is None:
        d.fail(f"{how}: the program starts an opener")
        # A program that hangs is ended here, not left to the cleanup.
        d.app.kill()
        continue
    d.check(f"{how}: the opener ({opener}) runs", not gone(opener))
    if signal_name == "xkill":
        d.ok("xkill", "-id", str(d.window_named(d.MAIN)))
    else:
        d.app.send_signal(getattr(signal, "SIG" + signal_name))
    code = d.exit_code(tenths=100)
    # Killed by a signal, Python reports it negative, as the shell does 128 + its number.
    code = 128 - code if code is not None and code < 0 else code
    d.check(f"{how}: the program ends with {want_code} (got {'running' if code is None else code})",
            code == want_code)
    if code is None:
        d.app.kill()
    d.check(f"{how}: the opener has ended with it", d.wait_for(10, lambda: gone(opener)))
    d.ok("kill", "-9", str(opener))
d.finish()
