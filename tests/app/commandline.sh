#!/usr/bin/env bash
# The built executable's command line without a display, and its man page
# (docs/command-line.md).
#   commandline.sh APP MANPAGE
source "$(dirname "$0")/../lib.sh"
APP=${1:?usage: $0 APP MANPAGE}
MAN=${2:?usage: $0 APP MANPAGE}

# Runs the program with only PATH and HOME set; out, err and code are kept.
run() {
    code=0
    env -i PATH=/usr/bin:/bin HOME="$TMP" timeout 10 "$APP" "$@" >"$TMP/out" 2>"$TMP/err" || code=$?
    out=$(cat "$TMP/out"); err=$(cat "$TMP/err")
}

# option | exit code | what stdout holds (grep -E) | what stderr holds
ROWS=(
    "--help|0|^Usage: QuorvathItemlist \[options\]|^$"
    "-h|0|^Usage: QuorvathItemlist \[options\]|^$"
    "--version|0|^Quorvath Itemlist 1\.0\.1$|^$"
    "--bogus|2|^$|Unknown option 'bogus'"
    "-x|2|^$|Unknown option 'x'"
    "stray|2|^$|Unexpected argument 'stray'"
    "-reverse=yes|2|^$|Unexpected value after '-reverse'"
)
for row in "${ROWS[@]}"; do
    IFS='|' read -r option want_code want_out want_err <<<"$row"
    run "$option"
    check "$option exits $want_code (got $code)" [ "$code" = "$want_code" ]
    check "$option: stdout matches '$want_out'" grep -qE "$want_out" <<<"$out"
    check "$option: stderr matches '$want_err'" grep -qE "$want_err" <<<"$err"
    [ "$want_code" = 2 ] && check "$option: the usage follows the error" grep -q "^Usage: " <<<"$err"
done

# An answer that cannot be written is a failure, said on stderr: stdout on a
# full device, or closed.
# option | how stdout is redirected
WRITE_FAILS=(
    "--version|>/dev/full"
    "--help|>/dev/full"
    "--version|>&-"
    "--help|>&-"
)
for row in "${WRITE_FAILS[@]}"; do
    IFS='|' read -r option redirect <<<"$row"
    code=0
    eval 'env -i PATH=/usr/bin:/bin HOME="$TMP" timeout 10 "$APP" "$option" 2>"$TMP/err" '"$redirect" || code=$?
    err=$(cat "$TMP/err")
    check "$option $redirect exits 1 (got $code)" [ "$code" = 1 ]
    check "$option $redirect: stderr says the write failed (got '$err')" grep -qE "^QuorvathItemlist: write error: " <<<"$err"
done

# Qt's options pass, as -name value, --name value, --name=value and
# -name=value: the program runs on the platform they name until the time
# runs out (124 is timeout's "still running").
QT_OPTIONS=(
    "-platform offscreen -reverse --style Fusion"
    "--platform=offscreen"
    "-platform=offscreen -style=fusion"
    "--platform offscreen --style=fusion -qwindowtitle=-platform=nosuch"
)
for options in "${QT_OPTIONS[@]}"; do
    code=0
    # shellcheck disable=SC2086 # the options are words
    env -i PATH=/usr/bin:/bin HOME="$TMP" timeout 2 "$APP" $options >/dev/null 2>&1 || code=$?
    check "$options runs the program (got $code)" [ "$code" = 124 ]
done

# No display to open (none is set here): one line that says so, exit 1, not
# Qt's abort. The arguments as the shell reads them.
NO_DISPLAY=(
    ""
    "-display :999"
    "-display=:999"
    "-platform nosuch"
    "-platform ''"
)
for args in "${NO_DISPLAY[@]}"; do
    eval "run $args"
    check "'$args' without a display exits 1 (got $code)" [ "$code" = 1 ]
    check "'$args': one line on stderr says there is no display (got '$err')" \
        sh -c '[ "$(wc -l <"$0")" = 1 ] && grep -q "^QuorvathItemlist: no display to open; " "$0"' "$TMP/err"
done

# Every option --help lists is in the man page.
run --help
for option in $(grep -- '^  -' <<<"$out" | grep -oE -- '-{1,2}[a-z][a-z-]*' | sort -u); do
    check "the man page names $option" grep -qF -- "${option//-/\\-}" "$MAN"
done
finish
