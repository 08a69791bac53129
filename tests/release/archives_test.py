#!/usr/bin/env python3
"""The downloads as a player and a server operator use them: each archive of scripts/release.sh
unpacked into an empty folder with only the game's two files beside, and the programs run
from there. The Windows programs run under Wine, in a prefix of this test's own.

Usage: archives_test.py DIST_FOLDER WINEPREFIX [unittest arguments]"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import corpus  # noqa: E402
from xsession import XSession, wait_for, windows_of, xdotool  # noqa: E402

DIST = None
WINEPREFIX = None
WINE = os.path.join(ROOT, "scripts", "wine.sh")
DESCRIPTIONS = {"Tavrin.exe": "Bot Personality Editor", "Olmach.exe": "SuperBot Editor",
                "botcfg.exe": "Command line tool for the bot configuration files"}


def archive(pattern):
    found = glob.glob(os.path.join(DIST, pattern))
    assert len(found) == 1, f"one {pattern} in {DIST}: {found}"
    return found[0]


def game_files(folder):
    """The game's two files, each with a value no default has, so that a save shows whether
    the file was read."""
    files = {"bot_personality.cfg": corpus.TAVRIN.expected("3", {(2, "melee_percent"): "75"}),
             "sbot.cfg": corpus.OLMACH.expected(None, {(2, "ki_gain"): "450"})}
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as file:
            file.write(data)
    return files


def version_strings(exe):
    """The strings of an executable's version resource, as Explorer's Properties shows them:
    in its UTF-16 text each key is followed, after the padding, by its value."""
    raw = subprocess.run(["wrestool", "-x", "--raw", "-t", "16", exe], capture_output=True,
                         check=True).stdout.decode("utf-16-le", "replace")
    keys = ("ProductName", "FileDescription", "FileVersion", "ProductVersion")
    found = {key: re.search(key + "\0+([^\0]+)", raw) for key in keys}
    return {key: match.group(1) for key, match in found.items() if match}


def wait_window(pid, title, timeout=60):
    found = wait_for(lambda: [wid for wid, name in windows_of(pid) if name == title], timeout)
    assert found, f"no window {title!r}"
    return found[0]


def save_and_confirm(pid, window, title):
    """Ctrl+S, and Return on the box it gives (whose title is empty)."""
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "ctrl+s")
    box = wait_for(lambda: [wid for wid, name in windows_of(pid) if name != title], 30)
    assert box, "no box after Ctrl+S"
    xdotool("windowfocus", "--sync", box[0])
    xdotool("key", "Return")
    wait_for(lambda: box[0] not in [wid for wid, _ in windows_of(pid)], 10)


class ArchivesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="voltara-archive-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def read(self, name):
        with open(os.path.join(self.folder, name), "rb") as file:
            return file.read()

    def test_the_windows_zip_runs_in_the_game_folder_under_wine(self):
        with zipfile.ZipFile(archive("*-windows-x64.zip")) as zipped:
            self.assertEqual(sorted(zipped.namelist()),
                             ["Olmach.exe", "README.txt", "Tavrin.exe", "botcfg.exe"])
            zipped.extractall(self.folder)
        self.assertIn(b"\r\n", self.read("README.txt"))
        self.assertNotIn(b"\n", self.read("README.txt").replace(b"\r\n", b""))
        for exe, description in DESCRIPTIONS.items():
            strings = version_strings(os.path.join(self.folder, exe))
            self.assertEqual((strings.get("ProductName"), strings.get("FileDescription")),
                             ("Voltara Bot Editor", description))
            self.assertRegex(strings.get("FileVersion", ""), r"^\d+\.\d+\.\d+$")
        files = game_files(self.folder)
        environment = dict(os.environ, WINEPREFIX=WINEPREFIX, WINEDEBUG="-all")
        checked = subprocess.run(["bash", WINE, "botcfg.exe", "check", *files], cwd=self.folder,
                                 capture_output=True, env=environment, timeout=120)
        self.assertEqual((checked.returncode, checked.stdout, checked.stderr), (0, b"", b""))

        with XSession(WINEPREFIX) as session:
            tavrin = session.start(os.path.join(self.folder, "Tavrin.exe"), self.folder)
            window = wait_window(None, corpus.TAVRIN.caption)
            save_and_confirm(None, window, corpus.TAVRIN.caption)
            self.assertEqual(self.read("bot_personality.cfg"), files["bot_personality.cfg"])
            # "Superbot Editor", the menu bar's third item, starts the other from this folder.
            xdotool("windowfocus", "--sync", window)
            for key in ("alt", "Right", "Right", "Return"):
                xdotool("key", key)
                time.sleep(0.3)
            olmach = wait_window(None, corpus.OLMACH.caption)
            save_and_confirm(None, olmach, corpus.OLMACH.caption)
            self.assertEqual(self.read("sbot.cfg"), files["sbot.cfg"])
            tavrin.kill()
        self.assertEqual(sorted(os.listdir(self.folder)), sorted(
            ["Olmach.exe", "README.txt", "Tavrin.exe", "botcfg.exe", *files]))

    def test_the_linux_tar_runs_with_nothing_beside_it(self):
        with tarfile.open(archive("*-linux-x86_64.tar.gz")) as tarred:
            self.assertEqual(sorted(tarred.getnames()), ["Olmach", "README", "Tavrin", "botcfg"])
            tarred.extractall(self.folder)
        botcfg = os.path.join(self.folder, "botcfg")
        dynamic = subprocess.run(["readelf", "-d", botcfg], capture_output=True, text=True).stdout
        self.assertNotIn("NEEDED", dynamic)
        version = subprocess.run([botcfg, "--version"], capture_output=True, text=True, env={})
        self.assertRegex(version.stdout, r"^botcfg \(Voltara Bot Editor\) version \d+\.\d+\.\d+ "
                                         r"\(commit [0-9a-f]{12}(-modified)?\)\n$")
        for _, source, _, expected in corpus.cases("personality", {"exponent.cfg"}):
            out = os.path.join(self.folder, "fixed.cfg")
            fixed = subprocess.run([botcfg, "fix", source, "--kind", "personality", "-o", out],
                                   capture_output=True, env={})
            self.assertEqual(fixed.returncode, 0, fixed.stderr)
            self.assertEqual(self.read("fixed.cfg"), expected)
        files = game_files(self.folder)
        with XSession() as session:
            for program in (corpus.TAVRIN, corpus.OLMACH):
                started = session.start(os.path.join(self.folder, program.name), self.folder)
                wait_window(started.pid, program.caption)
                started.kill()
                started.wait()
        self.assertEqual(self.read("bot_personality.cfg"), files["bot_personality.cfg"])


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    DIST = os.path.abspath(sys.argv.pop(1))
    WINEPREFIX = os.path.abspath(sys.argv.pop(1))
    unittest.main()
