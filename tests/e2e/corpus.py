#!/usr/bin/env python3
"""Runs the damaged and unusual files of tests/e2e/personality and tests/e2e/superbot through
the real editors: each starts beside one file, its message boxes are dismissed and their
captions recorded, Ctrl+S saves, and the saved bytes and the captions are compared with what
the reading rules give (corpus_cases.py).

Usage: corpus.py [--wine] BIN_DIR [personality|superbot] [file name ...]

With --wine the programs are Tavrin.exe and Olmach.exe, run under Wine in the prefix named by
WINEPREFIX (default: the folder wineprefix beside BIN_DIR); the expectations are the same."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus_cases  # noqa: E402
from xsession import XSession, dismiss_boxes, windows_of, wait_for, xdotool  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "core", "data")
QUIET_SECONDS = 1.5


class Program:
    def __init__(self, name, caption, config_name, fixture, sections):
        self.name, self.caption, self.config_name = name, caption, config_name
        self.fixture = open(os.path.join(FIXTURES, fixture), "rb").read().decode()
        self.sections = sections

    def expected(self, default, changes):
        lines = self.fixture.split("\r\n")[:-1]
        if default is not None:
            lines[lines.index("default_personality -1")] = "default_personality " + default
        for (number, key), value in changes.items():
            start = lines.index(self.sections(number))
            index = next(i for i in range(start, len(lines)) if lines[i].startswith(key + " "))
            lines[index] = key + " " + value
        return ("\r\n".join(lines) + "\r\n").encode()


TAVRIN = Program("Tavrin", "Official Bot Personality Editor", "bot_personality.cfg",
                 "default_personality.cfg", lambda n: f"[BOT{n}]")
OLMACH = Program("Olmach", "Official SuperBot Editor", "sbot.cfg", "default_sbot.cfg",
                 lambda n: "[" + ("SUPERBOT", "MEGABOT", "ULTIMATEBOT")[n - 1] + "]")


def run_case(session, program, executable, source, expected_captions, expected_bytes):
    folder = tempfile.mkdtemp(prefix="voltara-e2e-")
    try:
        shutil.copy2(executable, folder)
        config = os.path.join(folder, program.config_name)
        shutil.copyfile(source, config)
        name = os.path.basename(executable)
        process = session.start(os.path.join(folder, name), folder)
        pid = None if session.wine_prefix else process.pid
        captions = []
        main = dismiss_boxes(pid, program.caption, captions, quiet=QUIET_SECONDS)
        xdotool("windowfocus", "--sync", main)
        xdotool("key", "ctrl+s")
        saved = []
        wait_for(lambda: [t for _, t in windows_of(pid) if t != program.caption])
        dismiss_boxes(pid, program.caption, saved, quiet=0.3)
        process.kill()
        process.wait()
        problems = []
        if captions != expected_captions:
            problems.append(f"captions {captions!r}, expected {expected_captions!r}")
        if saved != [""]:
            problems.append(f"save boxes {saved!r}, expected ['']")
        written = open(config, "rb").read()
        if written != expected_bytes:
            got, want = written.split(b"\r\n"), expected_bytes.split(b"\r\n")
            diff = [f"line {i + 1}: {g!r} != {w!r}" for i, (g, w) in enumerate(zip(got, want))
                    if g != w][:5]
            problems.append(f"saved file differs ({len(got)} vs {len(want)} parts): {diff}")
        leftovers = sorted(set(os.listdir(folder)) - {name, program.config_name})
        if leftovers:
            problems.append(f"files left behind: {leftovers}")
        return problems
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def cases(kind, names):
    if kind == "personality":
        table, program = corpus_cases.PERSONALITY, TAVRIN
        unpack = lambda c: (c[0], program.expected(c[1], c[2]))  # noqa: E731
    else:
        table, program = corpus_cases.SUPERBOT, OLMACH
        unpack = lambda c: (c[0], program.expected(None, c[1]))  # noqa: E731
    for name in sorted(table):
        if not names or name in names:
            yield program, os.path.join(HERE, kind, name), *unpack(table[name])


def main():
    args = sys.argv[1:]
    wine = args[:1] == ["--wine"]
    args = args[1:] if wine else args
    if not args:
        sys.exit(__doc__)
    bin_dir = args[0]
    kinds = [args[1]] if len(args) > 1 else ["personality", "superbot"]
    names = set(args[2:])
    wine_prefix = None
    if wine:
        wine_prefix = os.environ.get("WINEPREFIX") or os.path.join(bin_dir, "..", "wineprefix")
        wine_prefix = os.path.abspath(wine_prefix)
    for kind in kinds:
        listed = set(os.listdir(os.path.join(HERE, kind)))
        table = corpus_cases.PERSONALITY if kind == "personality" else corpus_cases.SUPERBOT
        if listed != set(table):
            sys.exit(f"{kind}: files and cases differ: {sorted(listed ^ set(table))}")
    passed = failed = 0
    with XSession(wine_prefix) as session:
        for kind in kinds:
            for program, source, captions, expected in cases(kind, names):
                executable = os.path.join(bin_dir, program.name + (".exe" if wine else ""))
                label = f"{kind}/{os.path.basename(source)}"
                try:
                    problems = run_case(session, program, executable, source, captions, expected)
                except Exception as error:  # a hung or crashed program is a failed case
                    problems = [f"{type(error).__name__}: {error}"]
                if problems:
                    failed += 1
                    print(f"FAIL {label}")
                    for problem in problems:
                        print(f"     {problem}")
                else:
                    passed += 1
                    print(f"ok   {label}")
                sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
