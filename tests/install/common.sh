# Shared by the install tests, on top of the bookkeeping and scratch folder
# ($TMP) of tests/lib.sh: what the package installs and how it starts.
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
BUILD=${1:?usage: $0 BUILD_DIR}
APP_ID=example.quorvath.Itemlist
ICON_SIZES=(16 32 48 64 128 256)

# The program should start from the given file and stay up, waiting on its
# intro window, until the time runs out: 124 is timeout's "still running".
runs_for_two_seconds() {
    local code=0
    QT_QPA_PLATFORM=offscreen timeout 2 "$1" >/dev/null 2>&1 || code=$?
    [ "$code" = 124 ]
}

# Ids of the PNG: "WxH".
png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
