#!/usr/bin/env python3
"""The docs state only what the tree holds.

    check_docs.py SOURCE_DIR BUILD_DIR

Reads README.md, CONTRIBUTING.md and docs/**/*.md and fails on
- a relative link whose file (or, for a Markdown file, heading) is not there;
- a path of the tree named in code (`tools/x.sh`, `support/forms.h`, a bare
  `name.cpp`) that no tracked file matches, a subcommand of one of our
  scripts (`bash tools/x.sh word`) that the script never mentions, a `qi_`
  name, a test (`tst_x`, `e2e_x`, ...) or a C++ name (`Class::member`) that
  the sources or `ctest -N` do not know, or a commit that the history lacks;
- a QI_* switch that nothing but the docs mentions;
- a count of tests ("N tests", "N of N" where the suite is meant) other than
  the number of tests `ctest -N` lists in BUILD_DIR.
Everything is read from the tree and the build at run time. Before the real
docs it checks itself: a dead link, QI_NOPE and a wrong count planted in a
copy of the README must each fail.
Files of other projects are named by their path there (`qtbase/src/...`,
`orca/...`), so a path whose first folder is not the tree's is left alone;
so is a placeholder in capitals (`tst_NAME`, `VERSION`).
"""
import glob
import os
import re
import subprocess
import sys

SRC, BUILD = sys.argv[1], sys.argv[2]


def git(*args):
    return subprocess.run(["git", "-C", SRC, *args], capture_output=True, text=True)


def tracked_files():
    out = git("ls-files", "-z")
    if out.returncode == 0:
        return [f for f in out.stdout.split("\0") if f and os.path.exists(os.path.join(SRC, f))]
    print("warning: not a git checkout; every file but the build folders counts as the tree")
    files = []
    for root, dirs, names in os.walk(SRC):
        dirs[:] = [d for d in dirs if not d.startswith(("build", ".git", "out"))]
        files += [os.path.relpath(os.path.join(root, n), SRC) for n in names]
    return files


FILES = tracked_files()
DIRS = {os.path.dirname(f) for f in FILES}
for d in list(DIRS):
    while d:
        d = os.path.dirname(d)
        DIRS.add(d)
PATHS = set(FILES) | DIRS
BASENAMES = {os.path.basename(f) for f in FILES}
TOP = {p.split("/")[0] for p in PATHS if p}
SRC_DIRS = {d.split("/")[1] for d in DIRS if d.startswith("src/") and d.count("/") >= 1}
DOCS = sorted(f for f in FILES if f in ("README.md", "CONTRIBUTING.md")
              or (f.startswith("docs/") and f.endswith(".md")))


def read(path):
    with open(os.path.join(SRC, path), encoding="utf-8", errors="replace") as f:
        return f.read()


# Everything but the docs: where switches, functions and names must live.
ME = os.path.relpath(os.path.abspath(__file__), os.path.abspath(SRC))
CODE = "\n".join(read(f) for f in FILES
                 if not f.endswith(".md") and f != ME and not f.endswith((".png", ".bmp", ".ico", ".gz"))
                 and os.path.getsize(os.path.join(SRC, f)) < 2_000_000)
CODE_WORDS = set(re.findall(r"[A-Za-z_][A-Za-z0-9_]*", CODE))

listing = subprocess.run(["ctest", "-N", "--test-dir", BUILD], capture_output=True, text=True).stdout
TESTS = set(re.findall(r"^\s*Test\s+#\d+: (\S+)", listing, re.M))
total = re.search(r"Total Tests: (\d+)", listing)
if not total or not TESTS:
    sys.exit(f"FAIL: `ctest -N --test-dir {BUILD}` lists no tests")
TOTAL = int(total.group(1))
# A test is meant where a code word begins as two or more tests do.
TEST_PREFIXES = {p for p in {t.split("_")[0] for t in TESTS if "_" in t}
                 if sum(t.startswith(p + "_") for t in TESTS) >= 2}
SHALLOW = git("rev-parse", "--is-shallow-repository").stdout.strip() != "false"


def slug(heading):
    text = re.sub(r"[`*_]", "", heading.strip().lower())
    return re.sub(r"\s", "-", re.sub(r"[^\w\- ]", "", text))


def anchors(text):
    return {slug(h) for h in re.findall(r"^#{1,6}\s+(.*)$", text, re.M)}


def code_parts(text):
    """The inline code spans and the code blocks' lines of a Markdown text."""
    blocks = re.findall(r"^(?: {4}|\t)(.+)$", text, re.M)
    blocks += re.findall(r"^```.*?\n(.*?)^```", text, re.M | re.S)
    prose = re.sub(r"^```.*?^```", "", text, flags=re.M | re.S)
    return re.findall(r"`([^`\n]+)`", prose) + blocks


def prose_of(text):
    text = re.sub(r"^```.*?^```", "", text, flags=re.M | re.S)
    return re.sub(r"`[^`\n]*`", "x", text)


def path_known(token):
    token = token.rstrip("/")
    first = token.split("/")[0]
    candidates = []
    if first in TOP:
        candidates.append(token)
    if first in SRC_DIRS:
        candidates.append("src/" + token)
    if not candidates:
        return None  # not a path of this tree
    for c in candidates:
        if any(ch in c for ch in "*?["):
            if any(glob.fnmatch.fnmatch(p, c) for p in PATHS):
                return True
        elif c in PATHS:
            return True
    return False


OURS = re.compile(r"\.(cpp|h|sh|py|cmake|nsi|in|supp|conf|tsv|md)$")


def check(docs):
    """Problems in {path: text}, one line each."""
    problems = []
    texts = dict(docs)
    for path, text in docs.items():
        where = os.path.dirname(path)
        lines = text.splitlines()

        def at(fragment):
            for n, line in enumerate(lines, 1):
                if fragment in line:
                    return f"{path}:{n}"
            return path

        for target in re.findall(r"\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)", text):
            if re.match(r"[a-z][a-z0-9+.-]*:", target):
                continue
            file, _, anchor = target.partition("#")
            resolved = os.path.normpath(os.path.join(where, file)) if file else path
            if resolved not in PATHS and resolved not in texts:
                problems.append(f"{at(target)}: dead link {target}")
                continue
            if anchor and resolved.endswith(".md"):
                body = texts.get(resolved) or read(resolved)
                if anchor not in anchors(body):
                    problems.append(f"{at(target)}: link {target}: no such heading")

        for part in code_parts(text):
            words = part.split()
            for i, word in enumerate(words):
                token = word.strip("()[]{},;:.'\"")
                # Placeholders (NAME, VERSION) and other machines' paths name nothing here.
                if not token or re.search(r"[<>$~=@|]|\.\.\.|…|(?<![A-Za-z])[A-Z]{4,}(?![A-Za-z])", token) \
                        or token.startswith(("/", "-", "http")):
                    continue
                if "/" in token:
                    known = path_known(token)
                    if known is False:
                        problems.append(f"{at(token)}: no {token} in the tree")
                    elif known and token.endswith(".sh") and i + 1 < len(words) and i > 0 \
                            and words[i - 1] == "bash":
                        sub = words[i + 1]
                        if re.fullmatch(r"[a-z][a-z0-9-]*", sub) \
                                and not re.search(r"\b%s\b" % re.escape(sub), read(token)):
                            problems.append(f"{at(token)}: {token} has no command {sub}")
                elif OURS.search(token) and not any(ch in token for ch in "*?") and token not in BASENAMES:
                    problems.append(f"{at(token)}: no file {token} in the tree")
                elif re.fullmatch(r"qi_[a-z0-9_]+", token) and token not in CODE_WORDS:
                    problems.append(f"{at(token)}: {token} is named nowhere in the code")
                elif re.fullmatch(r"[a-z][a-z0-9]*(_[a-z0-9]+)+", token) \
                        and token.split("_")[0] in TEST_PREFIXES and token not in TESTS \
                        and token not in CODE_WORDS:
                    problems.append(f"{at(token)}: no test {token} (ctest -N)")
                elif "::" in token and not re.match(r"(Q[A-Z]|std::)", token):
                    for name in re.findall(r"[A-Za-z_]\w*", token.split("(")[0]):
                        if name not in CODE_WORDS:
                            problems.append(f"{at(token)}: {name} of {token} is named nowhere in the code")
                elif re.fullmatch(r"[0-9a-f]{7,12}", token) and re.search(r"[a-f]", token) \
                        and re.search(r"[0-9]", token) and not SHALLOW \
                        and git("cat-file", "-e", token + "^{commit}").returncode != 0:
                    problems.append(f"{at(token)}: no commit {token}")

        prose = prose_of(text)
        for commit in set(re.findall(r"\b(?=[0-9a-f]*[a-f])(?=[0-9a-f]*[0-9])[0-9a-f]{7,12}\b", prose)):
            if not SHALLOW and git("cat-file", "-e", commit + "^{commit}").returncode != 0:
                problems.append(f"{at(commit)}: no commit {commit}")

        for switch in sorted(set(re.findall(r"\bQI_[A-Z0-9_]*[A-Z0-9]\b", text))):
            if switch not in CODE_WORDS:
                problems.append(f"{at(switch)}: {switch} is read nowhere in the code")

        for m in re.finditer(r"\b(\d+) of (\d+)\b(\s+([a-z]+))?|\b(\d+) tests\b", prose):
            if m.group(5):
                stated = int(m.group(5))
            else:
                n, of, noun = int(m.group(1)), int(m.group(2)), m.group(4)
                if noun == "tests":
                    stated = of
                elif n != of or (noun and noun.endswith("s")):
                    continue
                else:
                    # "N of N" counts tests where its sentence speaks of them.
                    start = max(prose.rfind(c, 0, m.start()) for c in (". ", "\n\n", "|", ": "))
                    ends = [e for e in (prose.find(c, m.end()) for c in (". ", "\n\n", "|")) if e >= 0]
                    sentence = prose[start + 1:min(ends) if ends else len(prose)]
                    if not re.search(r"\b(suite|tests?|ctest)\b", sentence, re.I):
                        continue
                    stated = of
            if stated != TOTAL:
                problems.append(f"{at(m.group(0))}: states {m.group(0).strip()!r}; ctest -N lists {TOTAL} tests")
    return problems


# The check itself first: each planted fault alone must be found.
real = {p: read(p) for p in DOCS}
wrong = 41 if TOTAL != 41 else 40
plants = {
    "a dead link": "\nSee [the notes](docs/no-such-notes.md).\n",
    "an unknown switch": "\n`QI_NOPE=1 bash tools/test.sh` skips nothing.\n",
    "a wrong test count": f"\nTen runs of the whole suite, {wrong} of {wrong} each.\n",
}
self_ok = True
for what, line in plants.items():
    planted = dict(real)
    planted["README.md"] = real["README.md"] + line
    found = [p for p in check(planted) if p.startswith("README.md")]
    found = [p for p in found if p not in check({"README.md": real["README.md"]})]
    print(f"{'ok' if found else 'FAIL'}: {what} planted in the README is found: {found[:1]}")
    self_ok = self_ok and bool(found)

problems = check(real)
for p in problems:
    print("FAIL:", p)
print(f"{len(DOCS)} docs checked against {len(FILES)} tracked files and {TOTAL} tests, "
      f"{len(problems)} problems")
sys.exit(0 if self_ok and not problems else 1)
