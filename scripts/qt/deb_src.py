#!/usr/bin/env python3
"""Prints a deb-src entry (deb822, for /etc/apt/sources.list.d/) made from this machine's own
apt sources: the URIs and suites of every "deb" entry of Debian's archive (Origin Debian, the
component main), with the Signed-By of the entry it comes from, so that a mirror or a proxy
that the machine uses serves the source packages too. Exits 1 when apt knows no such entry
(run apt-get update first). apt itself reads the sources (apt-get indextargets): both the
one-line format (sources.list, *.list) and the deb822 one (*.sources).

Usage: deb_src.py             the deb-src entry
       deb_src.py --mirror    only the URI of the machine's Debian archive (for debootstrap)"""

import re
import subprocess
import sys

FIELDS = ("TARGET_OF", "ORIGIN", "REPO_URI", "RELEASE", "COMPONENT", "SOURCESENTRY")


def index_targets():
    fmt = "\t".join(f"$({field})" for field in FIELDS)
    out = subprocess.run(["apt-get", "indextargets", "--format", fmt], capture_output=True,
                         text=True, check=True).stdout
    for line in out.splitlines():
        values = line.split("\t")
        if len(values) == len(FIELDS):
            yield dict(zip(FIELDS, values))


def signed_by(entry):
    """The Signed-By of the entry at FILE:N (N: the line of a one-line entry, or the number of
    a deb822 paragraph), or None."""
    path, _, number = entry.rpartition(":")
    try:
        text = open(path, encoding="utf-8").read()
        number = int(number)
    except (OSError, ValueError):
        return None
    if path.endswith(".sources"):
        paragraphs, current = [], []
        for line in text.splitlines() + [""]:
            if line.startswith("#"):
                continue
            if line.strip():
                current.append(line)
            elif current:
                paragraphs.append(current)
                current = []
        for paragraph in paragraphs[number - 1:number]:
            value = None
            for line in paragraph:
                if re.match(r"(?i)signed-by:", line):
                    value = [line.split(":", 1)[1].strip()]
                elif value is not None and line[:1] in (" ", "\t"):
                    value.append(line.rstrip())
                elif value is not None:
                    break
            if value:
                return "\n".join(value)
        return None
    lines = text.splitlines()
    if 0 < number <= len(lines):
        match = re.search(r"\[([^]]*)\]", lines[number - 1])
        if match:
            for option in match.group(1).split():
                key, _, value = option.partition("=")
                if key.lower() == "signed-by":
                    return value
    return None


def main():
    entries = {}  # URI -> (suites, signed-by), in the machine's order
    for target in index_targets():
        if (target["TARGET_OF"], target["ORIGIN"], target["COMPONENT"]) != ("deb", "Debian", "main"):
            continue
        uri = target["REPO_URI"].rstrip("/")
        suites, key = entries.setdefault(uri, ([], signed_by(target["SOURCESENTRY"])))
        if target["RELEASE"] not in suites:
            suites.append(target["RELEASE"])
    if not entries:
        sys.exit(1)
    if sys.argv[1:] == ["--mirror"]:
        # The archive of the machine's own release, not its security updates.
        for uri, (suites, _) in entries.items():
            if not any(suite.endswith("-security") for suite in suites):
                print(uri)
                return
        sys.exit(1)
    print("# Source packages from the machine's own Debian archive entries (written by Voltara's")
    print("# scripts/static-qt.sh, which needs Debian's qt6-base source package).")
    for uri, (suites, key) in entries.items():
        print()
        print("Types: deb-src")
        print(f"URIs: {uri}")
        print(f"Suites: {' '.join(suites)}")
        print("Components: main")
        if key:
            print(f"Signed-By: {key}")


if __name__ == "__main__":
    main()
