#!/usr/bin/python3
"""How legible a screenshot is: the share, in percent, of the words a window is
known to show that OCR (tesseract) reads back from the picture enlarged.

    ocr_share.py PICTURE.png "the words it shows" [ENOUGH]

Words are compared in lower case, without the punctuation around them; each
known word counts as often as it is known. A dialog's boxed texts confuse
tesseract's search for the lines of a page somewhere or other, so it reads the
picture enlarged three and four times, each finding the lines in three ways (as
a page, as sparse words, as one block); a word counts as read as often as the
best of the readings has it. With ENOUGH given, the reading stops once that
share is reached (a reading takes seconds). Glyphs drawn broken fail all six.
"""
import collections
import re
import subprocess
import sys
import tempfile


def words(text):
    return re.findall(r"[a-z0-9']+", text.lower())


def share(known, read):
    read = read.copy()
    found = 0
    for word in known:
        if read[word] > 0:
            read[word] -= 1
            found += 1
    return 100 * found // max(1, len(known))


def main(picture, known_text, enough="101"):
    known = words(known_text)
    read = collections.Counter()
    result = 0
    with tempfile.TemporaryDirectory() as work:
        for scale in (300, 400):
            subprocess.run(["convert", picture, "-resize", f"{scale}%", f"{work}/large.png"], check=True)
            for psm in (3, 12, 6):
                base = f"{work}/read{scale}-{psm}"
                subprocess.run(["tesseract", f"{work}/large.png", base, "--psm", str(psm)],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
                with open(base + ".txt", encoding="utf-8", errors="replace") as text:
                    read |= collections.Counter(words(text.read()))
                result = share(known, read)
                if result >= int(enough):
                    return result
    return result


if __name__ == "__main__":
    print(main(*sys.argv[1:]))
