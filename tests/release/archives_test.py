#!/usr/bin/env python3
"""The downloads as a player and a server operator use them: each archive of scripts/release.sh
unpacked into an empty folder with only the game's two files beside, and the programs run
from there. The Windows programs run under Wine, in a prefix of this test's own; the Linux
editors on this machine and in minimal Debian 12 and 13 systems (debootstrap, chroot) that
have no Qt and only the packages the guide names, showing their windows on this test's own X
server. Where such a system cannot be made (not root, no debootstrap, the archive out of
reach) its test is skipped, and the reason printed.

Usage: archives_test.py DIST_FOLDER WINEPREFIX [unittest arguments]"""

import glob
import os
import re
import shutil
import signal
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
GUIDE = "voltara-bot-editor-guide.txt"
MINIMAL_DEBIAN = os.path.join(HERE, "minimal-debian.sh")
# What the Linux editors may link: the C library, the X client library and xkbcommon,
# fontconfig and freetype, and what freetype itself needs. No Qt, no C++ runtime.
LINUX_LIBRARIES = {"libc.so.6", "libm.so.6", "ld-linux-x86-64.so.2", "libxcb.so.1",
                   "libxkbcommon.so.0", "libxkbcommon-x11.so.0", "libxcb-xkb.so.1",
                   "libfontconfig.so.1", "libfreetype.so.6", "libpng16.so.16", "libz.so.1"}


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
    keys = ("ProductName", "FileDescription", "FileVersion", "ProductVersion", "LegalCopyright")
    found = {key: re.search(key + "\0+([^\0]+)", raw) for key in keys}
    return {key: match.group(1) for key, match in found.items() if match}


def manifest(exe):
    """The application manifest of an executable (resource type 24), as text."""
    return subprocess.run(["wrestool", "-x", "--raw", "-t", "24", exe], capture_output=True,
                          check=True).stdout.decode("utf-8")


def start_sibling_by_keyboard(window):
    """Starts the other editor from Tavrin's window as a keyboard user does: F10 opens File,
    Left twice reaches "Superbot Editor", the menu bar's item without a menu, and Return starts
    it from the same folder."""
    xdotool("windowfocus", "--sync", window)
    for key in ("F10", "Left", "Left", "Return"):
        xdotool("key", key)
        time.sleep(0.3)


def guide_lines(path):
    with open(path, encoding="utf-8") as file:
        return file.read().splitlines()


def guide_packages(path, system):
    """The packages the guide names for SYSTEM ("Debian", "Ubuntu", "Fedora")."""
    for line in guide_lines(path):
        match = re.match(rf"\s*{system}:\s+sudo (?:apt|dnf) install (.+)$", line)
        if match:
            return match.group(1).split()
    raise AssertionError(f"the guide names no packages for {system}")


def guide_glibc(path):
    """The oldest C library the guide names, as a tuple of numbers."""
    for line in guide_lines(path):
        match = re.search(r"GNU C library (\d+)\.(\d+) or later", line)
        if match:
            return tuple(int(part) for part in match.groups())
    raise AssertionError("the guide names no oldest C library")


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
                             ["Olmach.exe", "Tavrin.exe", "botcfg.exe", GUIDE])
            zipped.extractall(self.folder)
        self.assertIn(b"\r\n", self.read(GUIDE))
        self.assertNotIn(b"\n", self.read(GUIDE).replace(b"\r\n", b""))
        for exe, description in DESCRIPTIONS.items():
            strings = version_strings(os.path.join(self.folder, exe))
            self.assertEqual((strings.get("ProductName"), strings.get("FileDescription")),
                             ("Voltara Bot Editor", description))
            self.assertRegex(strings.get("FileVersion", ""), r"^\d+\.\d+\.\d+$")
            self.assertRegex(strings.get("LegalCopyright", ""), r"^Copyright © \d{4} \S")
            # Made for Windows 10 and 11, long paths; DPI awareness is Qt's.
            text = manifest(os.path.join(self.folder, exe))
            self.assertIn('<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>', text)
            self.assertRegex(text, r"<longPathAware[^>]*>true</longPathAware>")
            self.assertNotIn("dpiAware", text)
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
            start_sibling_by_keyboard(window)
            olmach = wait_window(None, corpus.OLMACH.caption)
            save_and_confirm(None, olmach, corpus.OLMACH.caption)
            self.assertEqual(self.read("sbot.cfg"), files["sbot.cfg"])
            tavrin.kill()
        self.assertEqual(sorted(os.listdir(self.folder)), sorted(
            ["Olmach.exe", "Tavrin.exe", "botcfg.exe", GUIDE, *files]))

    def unpack_tar(self):
        """Unpacks the Linux tar into self.folder, checks that everything in it is in the folder
        voltara-bot-editor-VERSION/, and makes that folder self.folder."""
        path = archive("*-linux-x86_64.tar.gz")
        top = os.path.basename(path)[:-len("-linux-x86_64.tar.gz")]
        with tarfile.open(path) as tarred:
            self.assertEqual(sorted(tarred.getnames()), [top] + [
                f"{top}/{name}" for name in ("Olmach", "Tavrin", "botcfg", "botcfg.1",
                                             "botcfg.bash-completion", GUIDE)])
            self.assertTrue(tarred.getmember(top).isdir())
            tarred.extractall(self.folder)
        self.assertEqual(os.listdir(self.folder), [top])
        self.folder = os.path.join(self.folder, top)

    def test_the_linux_tar_runs_with_nothing_beside_it(self):
        self.unpack_tar()
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

    def test_the_linux_editors_need_no_qt_nor_a_newer_c_library_and_reach_screen_readers(self):
        self.unpack_tar()
        oldest = guide_glibc(os.path.join(self.folder, GUIDE))
        for program in ("Tavrin", "Olmach"):
            path = os.path.join(self.folder, program)
            dynamic = subprocess.run(["readelf", "-d", path], capture_output=True, text=True,
                                     check=True).stdout
            needed = set(re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]", dynamic))
            self.assertTrue(needed, program)
            self.assertFalse([name for name in needed if "Qt" in name], program)
            self.assertLessEqual(needed, LINUX_LIBRARIES, program)
            symbols = subprocess.run(["objdump", "-T", path], capture_output=True, text=True,
                                     check=True).stdout
            versions = {tuple(int(part) for part in version.split("."))
                        for version in re.findall(r"GLIBC_(\d+(?:\.\d+)+)", symbols)}
            self.assertLessEqual(max(versions), oldest, program)
            # Screen readers reach the editors through Qt's AT-SPI bridge, over a D-Bus that Qt
            # loads when the program starts (linked, it would be among the libraries above).
            with open(path, "rb") as file:
                self.assertIn(b"org.a11y.Bus", file.read(), program)

    def in_minimal_debian(self, suite):
        """Both editors in a minimal Debian SUITE with only the guide's packages: they start
        beside the game's files, save them byte-exact, and Tavrin starts Olmach."""
        self.unpack_tar()
        packages = guide_packages(os.path.join(self.folder, GUIDE), "Debian")
        if os.geteuid() != 0:
            reason = "a minimal Debian system needs root (debootstrap, chroot, mount)"
        elif shutil.which("chroot") is None or shutil.which("mount") is None:
            reason = "chroot or mount is missing"
        else:
            made = subprocess.run(["bash", MINIMAL_DEBIAN, suite, *packages],
                                  capture_output=True, text=True)
            reason = None if made.returncode == 0 else (
                f"debootstrap could not make a minimal Debian {suite}: "
                + (made.stderr.strip().splitlines() or ["no reason given"])[-1])
        if reason:
            print(f"\nskipped: {reason}", file=sys.stderr)
            self.skipTest(reason)
        system = made.stdout.strip().splitlines()[-1]
        qt = subprocess.run(["chroot", system, "dpkg-query", "-W", "-f", "${Package}\n"],
                            capture_output=True, text=True, check=True).stdout.split()
        self.assertFalse([name for name in qt if "qt" in name.lower()], f"Qt in {system}")

        # The unpacked folder, moved inside the system; /proc (the editors find their own folder
        # through /proc/self/exe) and the X server's socket folder mounted there.
        inside = tempfile.mkdtemp(prefix="voltara-game-", dir=os.path.join(system, "tmp"))
        self.addCleanup(shutil.rmtree, inside, ignore_errors=True)
        for name in os.listdir(self.folder):
            shutil.move(os.path.join(self.folder, name), inside)
        self.folder = inside
        game = "/" + os.path.relpath(inside, system)
        files = game_files(self.folder)
        mounts = [("proc", os.path.join(system, "proc"), ["-t", "proc", "proc"]),
                  ("X", os.path.join(system, "tmp", ".X11-unix"), ["--bind", "/tmp/.X11-unix"])]
        with XSession() as session:
            for _, target, arguments in mounts:
                os.makedirs(target, exist_ok=True)
                subprocess.run(["mount", *arguments, target], check=True)
                self.addCleanup(subprocess.run, ["umount", "-l", target])
            environment = ["DISPLAY=" + XSession.env["DISPLAY"], "HOME=/root", "LANG=C.UTF-8",
                           "PATH=/usr/bin:/bin"]
            tavrin = session.start_command(["chroot", system, "/usr/bin/env", "-i", *environment,
                                            f"{game}/Tavrin"], self.folder)
            window = wait_window(tavrin.pid, corpus.TAVRIN.caption)
            save_and_confirm(tavrin.pid, window, corpus.TAVRIN.caption)
            self.assertEqual(self.read("bot_personality.cfg"), files["bot_personality.cfg"])
            start_sibling_by_keyboard(window)
            olmach = wait_window(None, corpus.OLMACH.caption)
            # Olmach, which Tavrin started, is a process of its own: its window names it.
            olmach_pid = int(xdotool("getwindowpid", olmach).strip())
            try:
                save_and_confirm(olmach_pid, olmach, corpus.OLMACH.caption)
                self.assertEqual(self.read("sbot.cfg"), files["sbot.cfg"])
            finally:
                os.kill(olmach_pid, signal.SIGKILL)
                tavrin.kill()
                tavrin.wait()

    def test_the_linux_editors_run_in_a_minimal_debian_12(self):
        self.in_minimal_debian("bookworm")

    def test_the_linux_editors_run_in_a_minimal_debian_13(self):
        self.in_minimal_debian("trixie")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    DIST = os.path.abspath(sys.argv.pop(1))
    WINEPREFIX = os.path.abspath(sys.argv.pop(1))
    unittest.main()
