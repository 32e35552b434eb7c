#!/usr/bin/env bash
# How legible a screenshot is: the share, in percent, of the words a window
# is known to show that OCR (tesseract) reads back from the picture enlarged
# three times. Words are compared in lower case, without the punctuation
# around them; each known word counts as often as it is known. A dialog's
# boxed texts confuse tesseract's search for the lines of a page somewhere
# or other, so it reads the picture enlarged three and four times, each
# finding the lines in three ways (as a page, as sparse words, as one
# block); a word counts as read as often as the best of the readings has
# it. With ENOUGH given, the reading stops once that share is reached (a
# reading takes seconds). Glyphs drawn broken fail all six.
#   ocr_share.sh PICTURE.png "the words it shows" [ENOUGH]
set -euo pipefail
picture=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
share() {
    /usr/bin/python3 - "$known" "$work"/read*.txt <<'PY'
import collections, re, sys
words = lambda text: re.findall(r"[a-z0-9']+", text.lower())
read = collections.Counter()
for name in sys.argv[2:]:
    read |= collections.Counter(words(open(name, encoding="utf-8", errors="replace").read()))
known = words(sys.argv[1])
found = 0
for word in known:
    if read[word] > 0:
        read[word] -= 1
        found += 1
print(100 * found // max(1, len(known)))
PY
}
known=$2
enough=${3:-101}
for scale in 300 400; do
    convert "$picture" -resize $scale% "$work/large.png"
    for psm in 3 12 6; do
        tesseract "$work/large.png" "$work/read$scale-$psm" --psm $psm >/dev/null 2>&1
        result=$(share)
        [ "$result" -ge "$enough" ] && break 2
    done
done
echo "$result"
