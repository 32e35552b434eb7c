#!/usr/bin/env bash
# Checks a release by making it again (docs/reproducible-builds.md):
#   bash tools/check-release.sh FOLDER      FOLDER holds SHA256SUMS and the .buildinfo
# The buildinfo's commit is built in a git worktree of its own with its own tools/release.sh;
# every file SHA256SUMS lists, in FOLDER and made here, must match it. QI_CHECK_WORKTREE=DIR
# builds in DIR and keeps it. Needs root on Debian 12.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
FOLDER=$(realpath "${1:?usage: $0 FOLDER}")
[ -f "$FOLDER/SHA256SUMS" ] || { echo "No SHA256SUMS in $FOLDER" >&2; exit 2; }
buildinfo=$(ls "$FOLDER"/*.buildinfo 2>/dev/null | head -n 1)
[ -n "$buildinfo" ] || { echo "No .buildinfo in $FOLDER" >&2; exit 2; }
field() { sed -n "s/^$1: *//p" "$buildinfo" | head -n 1; }
COMMIT=$(field Commit)
VERSION=$(field Version)
qi_install_missing python3 git

echo "== Release $VERSION of $COMMIT =="
git -C "$QI_ROOT" cat-file -e "$COMMIT^{commit}" 2>/dev/null \
    || { echo "This repository lacks commit $COMMIT: fetch it first (git fetch origin)." >&2; exit 2; }

echo "== A worktree of its own at $COMMIT =="
if [ -n "${QI_CHECK_WORKTREE:-}" ]; then
    WORKTREE=$(realpath -m "$QI_CHECK_WORKTREE")
    if [ -d "$WORKTREE/.git" ] || [ -f "$WORKTREE/.git" ]; then
        git -C "$WORKTREE" checkout -q --detach "$COMMIT"
    else
        git -C "$QI_ROOT" worktree add -q --detach "$WORKTREE" "$COMMIT"
    fi
else
    WORKTREE=$(mktemp -d "${TMPDIR:-/tmp}/quorvath-check.XXXXXX")
    git -C "$QI_ROOT" worktree add -q --detach "$WORKTREE/src" "$COMMIT"
    trap 'git -C "$QI_ROOT" worktree remove --force "$WORKTREE/src"; rm -rf "$WORKTREE"' EXIT
    WORKTREE=$WORKTREE/src
fi
echo "== This machine's packages against the buildinfo's =="
mkdir -p "$WORKTREE/out"
cp "$buildinfo" "$WORKTREE/out/release.buildinfo"
python3 "$WORKTREE/tools/buildinfo.py" compare "$WORKTREE/out/release.buildinfo" Linux || true
if grep -q '^Windows-Files:' "$buildinfo"; then
    if [ "$(qi_release)" = "debian 12" ]; then
        bash "$WORKTREE/tools/debian13.sh" windows python3 tools/buildinfo.py compare out/release.buildinfo Windows || true
    else
        python3 "$WORKTREE/tools/buildinfo.py" compare "$WORKTREE/out/release.buildinfo" Windows || true
    fi
fi

echo "== Making the release again in $WORKTREE =="
windows=()
grep -q '^Windows-Files:' "$buildinfo" || windows=(QI_NO_WINDOWS=1)
made=$WORKTREE/out/check
env -u QI_RELEASE_BUILD_DIR -u QI_WINDOWS_BUILD_DIR -u QI_BUILD_DIR "${windows[@]}" \
    SOURCE_DATE_EPOCH="$(field Source-Date-Epoch)" \
    bash "$WORKTREE/tools/release.sh" "$made" >"$WORKTREE/out/check.log" 2>&1 \
    || { tail -40 "$WORKTREE/out/check.log"; echo "FAIL: the release could not be made again" >&2; exit 1; }

# Where two files differ: how many bytes, the first offsets, an archive's members. Only tells.
explain() (
    set +e +o pipefail
    local a=$1 b=$2 tmp
    echo "  $(cmp -l "$a" "$b" | wc -l) bytes differ (sizes $(stat -c %s "$a") and $(stat -c %s "$b")); first offsets:"
    cmp -l "$a" "$b" | head -8 | awk '{ printf "    %d (0x%x): %s %s\n", $1 - 1, $1 - 1, $2, $3 }'
    tmp=$(mktemp -d)
    case $a in
        *.deb) for f in a b; do
                   mkdir -p "$tmp/$f/data"
                   (cd "$tmp/$f" && ar x "${!f}" && tar xf data.tar.* -C data) 2>/dev/null || echo "  the data of ${!f} does not unpack"
               done
               diff -r "$tmp/a" "$tmp/b" | sed 's/^/  /' | head -10 ;;
        *.zip) diff <(unzip -Zl "$a" | tail -n +2) <(unzip -Zl "$b" | tail -n +2) | sed 's/^/  /' | head -10 ;;
    esac
    rm -rf "$tmp"
)

echo "== The files =="
# As downloaded, every file SHA256SUMS lists; as made here, every one but the buildinfo,
# the record the rebuild followed.
fails=0 checks=$WORKTREE/out/files.check
(cd "$FOLDER" && sha256sum --check --strict SHA256SUMS 2>&1 | sed 's/^/downloaded: /') >"$checks" || fails=1
grep -v '\.buildinfo$' "$FOLDER/SHA256SUMS" >"$WORKTREE/out/made.sums"
(cd "$made" && sha256sum --check --strict "$WORKTREE/out/made.sums" 2>&1 | sed 's/^/made here: /') \
    >>"$checks" || fails=1
cat "$checks"
for name in $(sed -n 's/^[a-z ]*: \(.*\): FAILED.*$/\1/p' "$checks" | sort -u); do
    [ -f "$FOLDER/$name" ] && [ -f "$made/$name" ] && ! cmp -s "$FOLDER/$name" "$made/$name" \
        && explain "$FOLDER/$name" "$made/$name"
done
[ $fails -eq 0 ] && echo "Every file the same as released"
