#!/usr/bin/env python3
"""The Debian packages a build used, for a release's buildinfo, and this
machine's against a buildinfo's.

    buildinfo.py packages PKG...        every installed package PKG... need,
                                        PKG... included, one " name (= version),"
                                        line each, as Debian's .buildinfo lists
                                        Installed-Build-Depends
    buildinfo.py compare FILE PART      this machine's packages against the
                                        buildinfo's for PART (Linux, Windows):
                                        names each that differs, exits 1 if any

The list follows Depends and Pre-Depends of what is installed (the first
installed choice of each alternative, virtual packages through what provides
them), so it holds the compiler, binutils, CMake, Qt, their libraries and
everything under them, as they are here.
"""
import re
import subprocess
import sys


def installed():
    fields = "${Package}\t${Architecture}\t${Version}\t${db:Status-Abbrev}\t${Provides}\t${Pre-Depends}\t${Depends}\n"
    out = subprocess.run(["dpkg-query", "-W", "-f", fields], capture_output=True, text=True, check=True).stdout
    native = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True).stdout.strip()
    packages, provides = {}, {}
    for line in out.splitlines():
        name, arch, version, status, prov, pre, dep = (line.split("\t") + [""] * 7)[:7]
        if not status.startswith("ii"):
            continue
        # One entry a name; the machine's own architecture wins over a foreign one.
        if name in packages and arch not in (native, "all"):
            continue
        packages[name] = (version, pre + ", " + dep)
        for p in prov.split(","):
            p = p.strip().split(" ")[0]
            if p:
                provides.setdefault(p, []).append(name)
    return packages, provides


def closure(roots):
    packages, provides = installed()

    def resolve(alternatives):
        for alt in alternatives.split("|"):
            name = alt.strip().split(" ")[0].split(":")[0]
            if name in packages:
                return name
            if name in provides:
                return sorted(provides[name])[0]
        return None

    missing = [r for r in roots if resolve(r) is None]
    seen, todo = set(), [resolve(r) for r in roots if resolve(r)]
    while todo:
        name = todo.pop()
        if name in seen:
            continue
        seen.add(name)
        for group in packages[name][1].split(","):
            if group.strip():
                found = resolve(group)
                if found and found not in seen:
                    todo.append(found)
    return {n: packages[n][0] for n in seen}, missing


def field(text, name):
    """A buildinfo field's value: its first line and its continuation lines."""
    m = re.search(rf"^{re.escape(name)}:(.*(?:\n .*)*)", text, re.M)
    return m.group(1) if m else None


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "packages":
        found, missing = closure(sys.argv[2:])
        if missing:
            print(f"warning: not installed, so not recorded: {' '.join(missing)}", file=sys.stderr)
        for name in sorted(found):
            print(f" {name} (= {found[name]}),")
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "compare":
        text, part = open(sys.argv[2], encoding="utf-8").read(), sys.argv[3]
        roots, listed = field(text, f"{part}-Build-Roots"), field(text, f"Installed-Build-Depends-{part}")
        if roots is None or listed is None:
            sys.exit(f"{sys.argv[2]} records no {part} build")
        recorded = dict(re.findall(r"^\s*(\S+) \(= ([^)]+)\)", listed, re.M))
        here, missing = closure(roots.split())
        differ = 0
        for name in sorted(set(recorded) | set(here)):
            was, now = recorded.get(name), here.get(name)
            if was != now:
                differ += 1
                print(f"  {name}: {was or 'not used'} in the release, {now or 'not installed'} here")
        print(f"{part} toolchain: {len(recorded)} packages recorded, "
              + ("all the same here" if not differ else f"{differ} differ here"))
        return 1 if differ else 0
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
