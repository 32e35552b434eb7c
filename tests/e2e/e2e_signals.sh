#!/usr/bin/env bash
# However the program ends (SIGTERM, SIGINT, SIGHUP, SIGKILL, xkill), a hanging
# browser opener it started ends with it; started with standard descriptors
# closed, it still works (docs/files-and-processes.md).
source "$(dirname "$0")/lib.sh"
start_display
use_a11y

stand_in_opener 'echo $$ > "$QI_OPENER_PID.tmp" && mv "$QI_OPENER_PID.tmp" "$QI_OPENER_PID"
exec sleep 600'

# start_with_opener NAME [DESCRIPTORS]: starts the program with the
# standard descriptors listed closed and clicks About's "Velmarch"; sets
# OPENER to the hanging opener's process id.
start_with_opener() {
    export QI_OPENER_PID=$E2E_TMP/opener-$1.pid
    local closed=${2:-} unset=()
    # Without XDG_RUNTIME_DIR Qt warns at once, into whatever took standard error's number.
    [ -n "$closed" ] && unset=(-u XDG_RUNTIME_DIR)
    # With every signal's default action: a script's background job would
    # otherwise start with SIGINT ignored, which the program respects.
    (for fd in $closed; do exec {fd}>&-; done
     exec env "${unset[@]}" --default-signal "$APP") &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
    local intro main
    intro=$(wait_window "$INTRO") || return 1
    key "$intro" Return
    main=$(wait_window "$MAIN") || return 1
    wait_a11y 10 || return 1
    activate "$main"
    menu Help "About Quorvath Itemlist" || return 1
    wait_window "$ABOUT" 40 >/dev/null || return 1
    click_object "$ABOUT" "push button" Velmarch || return 1
    wait_for 50 test -s "$QI_OPENER_PID" || return 1
    OPENER=$(cat "$QI_OPENER_PID")
    E2E_PIDS+=($OPENER)
}

# Gone, or a zombie that its new parent has yet to collect.
gone() { local state; state=$(ps -o stat= -p "$1"); [ -z "$state" ] || [ "${state:0:1}" = Z ]; }

# How the program ends | its exit code (128 + the signal's number after the
# quiet shutdown; 137 is SIGKILL's, 1 is Qt's for a broken X connection) |
# the standard descriptors closed at its start
ENDINGS=(
    "TERM|143|"
    "INT|130|"
    "HUP|129|"
    "KILL|137|"
    "xkill|1|"
    "TERM|143|2"
    "TERM|143|0 1 2"
)
for row in "${ENDINGS[@]}"; do
    IFS='|' read -r signal want_code closed <<<"$row"
    how=$signal${closed:+, descriptors $closed closed}
    # A program that hangs is ended here, not left to the cleanup's wait.
    start_with_opener "$signal${closed// /}" "$closed" \
        || { fail "$how: the program starts an opener ($?)"; kill -9 "$APP_PID" 2>/dev/null || true; continue; }
    check "$how: the opener ($OPENER) runs" not gone "$OPENER"
    if [ "$signal" = xkill ]; then
        xkill -id "$(window_named "$MAIN")" >/dev/null
    else
        kill -s "$signal" "$APP_PID"
    fi
    app_exit_code 100
    check "$how: the program ends with $want_code (got $APP_EXIT)" [ "$APP_EXIT" = "$want_code" ]
    [ "$APP_EXIT" = running ] && { kill -9 "$APP_PID" 2>/dev/null || true; }
    check "$how: the opener has ended with it" wait_for 10 gone "$OPENER"
    kill -9 "$OPENER" 2>/dev/null || true
done
finish
