#!/usr/bin/env bash
# Nothing leaks out of the program (sandbox_strace in docs/testing.md), traced
# with `strace -f`: qi_session driving every window in-process, then the real
# executable up to its main window under openbox; each with an empty HOME.
source "$(dirname "$0")/../e2e/lib.sh"
SESSION=${QI_SESSION:?QI_SESSION must name qi_session}
: "${APP:?QI_APP must name the QuorvathItemlist executable}" "${INTRO:?QI_INTRO_CAPTION must be set}"
TMP=$E2E_TMP
mkdir -p "$TMP/home"
mkdir -m 700 "$TMP/run"
stand_in_opener
start_x

# What a desktop session hands its programs, and nothing else.
run_clean() {
    # LeakSanitizer cannot work under ptrace: the sanitizer build runs its
    # leak checks in the other tests.
    env -i PATH="$TMP/bin:/usr/bin:/bin" HOME="$TMP/home" XDG_RUNTIME_DIR="$TMP/run" \
        ASAN_OPTIONS=detect_leaks=0 DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 "$@"
}
CHANGES='creat|mkdir|mkdirat|rename|renameat|renameat2|unlink|unlinkat|link|linkat|symlink|symlinkat'
CHANGES+='|truncate|chmod|fchmodat|chown|fchownat|mknod|mknodat'
SYSCALLS=socket,connect,bind,open,openat,openat2,execve,execveat,${CHANGES//|/,}

# none WHAT LINES: passes when no trace line is found, else fails showing them.
none() { if [ -z "$2" ]; then pass "$1"; else fail "$1:"$'\n'"$2"; fi; }
# check_trace NAME TRACE PROGRAM: the trace of the program at that path.
check_trace() {
    local name=$1 trace=$2 program=$3 browser own=$TMP/$1.own
    # The browser (a stand-in xdg-open) is not the program: every pid that started it.
    browser=$(grep -E '^[0-9]+ +execve\("[^"]*/xdg-open"' "$trace" | awk '{print $1}' | sort -u \
              | paste -sd '|' || true)
    grep -vE "^(${browser:-none}) " "$trace" >"$own" || true
    none "$name: no internet socket" \
        "$(grep -E 'socket\(AF_(INET|INET6)|connect\([0-9]+, \{sa_family=AF_INET' "$own")"
    none "$name: no socket but to the X server and the session bus" \
        "$(grep -E 'socket\(' "$own" | grep -vE 'socket\(AF_UNIX')"
    none "$name: binds no socket file" "$(grep -E 'bind\(' "$own" | grep -v 'sun_path=@')"
    none "$name: opens no file for writing" \
        "$(grep -E '(open|openat|openat2)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)' "$own" \
           | grep -vE '"/dev/null"')"
    # Qt makes sure XDG_RUNTIME_DIR exists by trying to create it: EEXIST.
    none "$name: creates, renames or removes nothing" "$(grep -E " ($CHANGES)\\(" "$own" \
        | grep -vE "^[0-9]+ +mkdir\\(\"$TMP/run\", 0700\) += -1 EEXIST")"
    none "$name: starts no other program" "$(grep -E 'execve(at)?\(' "$own" | grep -vF "execve(\"$program\"")"
}

# --- 1. the whole flow, in-process ------------------------------------------
code=0
run_clean dbus-run-session -- strace -f -qq -o "$TMP/session.trace" -e trace=$SYSCALLS \
    "$SESSION" >"$TMP/session.out" 2>&1 || code=$?
check "the scripted session ran to its end (qi_session exited with $code)" [ "$code" = 0 ]
[ "$code" = 0 ] || cat "$TMP/session.out"
check "the web buttons started the browser" \
    grep -qE 'execve\("[^"]*/xdg-open", \[[^]]*velmarch\.example' "$TMP/session.trace"
check_trace session "$TMP/session.trace" "$SESSION"

# --- 2. the real executable ------------------------------------------------
run_clean dbus-run-session -- bash -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    strace -f -qq -o "$1" -e trace="$2" "$3" &
    app=$!
    echo "$app" > "$4"
    wait "$app"
    kill "$wm"' _ "$TMP/app.trace" "$SYSCALLS" "$APP" "$TMP/app.pid" &
session=$!
E2E_PIDS+=($session)
if ! intro=$(wait_window "$INTRO" 200); then
    fail "no intro window"
else
    key "$intro" Return
    if main=$(wait_window "$MAIN"); then
        request_focus "$main"
        # The quit question and the end were traced in-process above; here
        # the real executable only has to get this far.
        sleep 1
        pass "the main window came up"
    else
        fail "no main window after Okay"
    fi
fi
# strace would only detach: end the traced program itself, by its id.
for pid in $(cat /proc/"$(cat "$TMP/app.pid")"/task/*/children 2>/dev/null); do
    kill "$pid" 2>/dev/null || true
done
wait "$session" 2>/dev/null || true
check_trace program "$TMP/app.trace" "$APP"

left=$(find "$TMP/home" "$TMP/run" -mindepth 1 -not -path '*/.cache/openbox*' -not -path '*/.config/openbox*' \
       | head)
[ -z "$left" ] && pass "HOME and XDG_RUNTIME_DIR are as empty as before" \
    || echo "note: left in HOME or XDG_RUNTIME_DIR (not by the program, its trace is clean above): $left"
finish
