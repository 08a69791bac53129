#!/usr/bin/env python3
"""botcfg saves killed before each of their system calls, on every path a save can take: the
ordinary replacement, a new file, another user's file saved by root, a folder that may be
written but not read, and the writes in place (a file bind-mounted over the target, another
user's file in a sticky folder, a folder that refuses new files, a file with two names).

For each path one save is traced with strace to list its system calls from the first mention of
the file on; then, one run per call, the save is killed with SIGKILL as it enters that call
(strace --inject=CALL:signal=SIGKILL:when=N), `botcfg get` reads the file, and the test checks
that the file holds exactly the old or the new bytes with its old mode, owner and group, that no
lock is left held, and that the next save succeeds and leaves nothing beside the file.

Needs root (other users, bind mounts), strace, and for the bind mount a mount namespace; it skips
with the reason where one is missing.

Usage: killed_save_test.py BOTCFG [unittest arguments]
       killed_save_test.py BOTCFG --report   (prints the outcomes per path, asserts nothing)"""

import fcntl
import json
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT = os.path.join(HERE, "..", "core", "data", "default_personality.cfg")
NAME = "bot_personality.cfg"
BOTCFG = None
OWNER, STRANGER = 65534, 65533  # the file's owner and another user, where a path needs them
SET = ["set", None, "1", "melee_percent", "7"]
NEXT_SET = ["set", None, "1", "melee_percent", "9"]
CALL = re.compile(r"^(?:\d+\s+)?([a-z0-9_]+)\(")


def as_user(uid):
    """A preexec_fn that makes the child that user (its own group, no others)."""
    if uid == 0:
        return None

    def become():
        os.setgroups([])
        os.setresgid(uid, uid, uid)
        os.setresuid(uid, uid, uid)
    return become


class Path:
    """One path of a save: where the file is, who saves it, and what is to be found beside it."""

    def __init__(self, work, name, saver=0, folder_mode=0o755, folder_owner=0, owner=0,
                 mode=0o644, exists=True, linked=False, mounted=False):
        self.name, self.saver, self.exists = name, saver, exists
        self.folder = os.path.join(work, name.replace(" ", "-"))
        self.file = os.path.join(self.folder, NAME)
        self.state = os.path.join(work, name.replace(" ", "-") + "-state")
        self.host = os.path.join(work, name.replace(" ", "-") + "-host") if mounted else None
        self.expected = [NAME] + (["linked.cfg"] if linked else [])
        os.makedirs(self.folder)
        os.makedirs(self.state, mode=0o700)
        os.chown(self.state, saver, saver)
        if exists:
            real = os.path.join(self.host, NAME) if mounted else self.file
            if mounted:
                os.makedirs(self.host)
                open(self.file, "wb").close()
            shutil.copy(DEFAULT, real)
            os.chown(real, owner, owner)
            os.chmod(real, mode)
            if linked:
                os.link(self.file, os.path.join(self.folder, "linked.cfg"))
        os.chown(self.folder, folder_owner, folder_owner)
        os.chmod(self.folder, folder_mode)
        self.env = dict(os.environ, XDG_STATE_HOME=self.state, HOME=self.state)

    def mount(self):
        return subprocess.run(["mount", "--bind", os.path.join(self.host, NAME), self.file],
                              capture_output=True).returncode == 0

    def run(self, args, **extra):
        args = [arg if arg is not None else self.file for arg in args]
        return subprocess.run(args, preexec_fn=as_user(self.saver), env=self.env,
                              capture_output=True, timeout=60, **extra)

    def bytes(self):
        try:
            with open(self.file, "rb") as file:
                return file.read()
        except FileNotFoundError:
            return None

    def owner_and_mode(self):
        if not os.path.exists(self.file):
            return None
        info = os.stat(self.file)
        return info.st_uid, info.st_gid, stat.S_IMODE(info.st_mode), info.st_nlink

    def other_names_differ(self):
        """True when another name of the file shows other bytes: the names are no longer one
        file."""
        return any(path != self.file and open(path, "rb").read() != self.bytes()
                   for path in (os.path.join(self.folder, name) for name in self.expected))

    def strays(self):
        """Whatever a save left beside the file or in the user's own folder for journals."""
        left = [name for name in os.listdir(self.folder) if name not in self.expected]
        if self.host:
            left += [name for name in os.listdir(self.host) if name != NAME]
        for folder, _, names in os.walk(self.state):
            left += [os.path.join(folder, name) for name in names]
        return left

    def reset(self, old):
        """Puts the old bytes back in place (the file keeps its inode, owner and mode), and
        removes what a killed save left."""
        for name in os.listdir(self.folder):
            if name not in self.expected:
                os.unlink(os.path.join(self.folder, name))
        shutil.rmtree(os.path.join(self.state, "voltara"), ignore_errors=True)
        if old is None:
            if os.path.exists(self.file):
                os.unlink(self.file)
            return
        with open(self.file, "r+b") as file:
            file.write(old)
            file.truncate()

    def lock_is_free(self):
        if not os.path.exists(self.file):
            return True
        with open(self.file, "rb") as file:
            try:
                fcntl.flock(file, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return True
            except OSError:
                return False


def kill_points(path, save):
    """(call, occurrence) for every system call of one save from the first mention of the file."""
    log = os.path.join(path.state, "trace")
    path.run(["strace", "-qq", "-o", log, BOTCFG, *save])
    os.chmod(log, 0o644)
    with open(log) as file:
        lines = file.read().splitlines()
    os.unlink(log)
    seen, points, started = {}, [], False
    for line in lines:
        match = CALL.match(line)
        if not match:
            continue
        seen[match.group(1)] = seen.get(match.group(1), 0) + 1
        started = started or NAME in line
        if started:
            points.append((match.group(1), seen[match.group(1)]))
    return points


def audit(path, save, next_save):
    """Kills one save at each point and counts the outcomes."""
    old, attributes = path.bytes(), path.owner_and_mode()
    path.run([BOTCFG, *save])
    new, attributes = path.bytes(), attributes or path.owner_and_mode()
    path.reset(old)
    counts = dict.fromkeys(("points", "killed", "torn on disk", "old", "new", "torn",
                            "get failed", "attributes changed", "names differ", "lock held",
                            "left before next save", "next save failed", "left after next save"),
                           0)
    for call, when in kill_points(path, save):
        path.reset(old)
        counts["points"] += 1
        run = path.run(["strace", "-qq", "-o", "/dev/null",
                        f"--inject={call}:signal=SIGKILL:when={when}", BOTCFG, *save])
        counts["killed"] += run.returncode in (137, -9)
        counts["torn on disk"] += path.bytes() not in (old, new)
        counts["lock held"] += not path.lock_is_free()
        got = path.run([BOTCFG, "get", path.file])
        now = path.bytes()
        counts["get failed"] += got.returncode != 0 and now is not None
        counts["old" if now == old else "new" if now == new else "torn"] += 1
        counts["attributes changed"] += now is not None and path.owner_and_mode() != attributes
        counts["names differ"] += path.other_names_differ()
        counts["left before next save"] += bool(path.strays())
        counts["next save failed"] += path.run([BOTCFG, *next_save]).returncode != 0
        counts["left after next save"] += bool(path.strays())
    path.reset(old)
    return counts


def make_paths(work):
    return {
        "ordinary": lambda: Path(work, "ordinary"),
        "new file": lambda: Path(work, "new file", exists=False),
        "another user's file, saved by root": lambda: Path(work, "root saves", owner=OWNER,
                                                           mode=0o640),
        "folder written but not read (0733)": lambda: Path(work, "write only", saver=OWNER,
                                                           folder_mode=0o733, owner=OWNER),
        "bind mount": lambda: Path(work, "bind", mounted=True),
        "another user's file in a sticky folder": lambda: Path(
            work, "sticky", saver=STRANGER, folder_mode=0o1777, owner=OWNER, mode=0o666),
        "folder refusing new files": lambda: Path(work, "refusing", saver=OWNER,
                                                  folder_mode=0o555, folder_owner=OWNER,
                                                  owner=OWNER),
        "file with two names": lambda: Path(work, "linked", linked=True),
    }


def audit_path(name):
    """The counts of one path, in a scratch folder of its own; None where it cannot be set up."""
    work = tempfile.mkdtemp(prefix="voltara-killed-")
    try:
        os.chmod(work, 0o755)
        botcfg = os.path.join(work, "botcfg")
        shutil.copy(BOTCFG_SOURCE, botcfg)  # where every user of the test may run it
        global BOTCFG
        BOTCFG = botcfg
        path = make_paths(work)[name]()
        if path.host and not path.mount():
            return None
        if path.exists:
            return audit(path, SET, NEXT_SET)
        return audit(path, ["new", "personality", "-o", path.file],
                     ["new", "personality", "-o", path.file, "--force"])
    finally:
        if name == "bind mount":
            subprocess.run(["umount", "-l", os.path.join(work, "bind", NAME)],
                           capture_output=True)
        shutil.rmtree(work, ignore_errors=True)


def audit_in_own_mounts(name):
    """audit_path in a mount namespace of its own, so that its bind mount goes with it."""
    run = subprocess.run(["unshare", "-m", "--propagation", "private", sys.executable,
                          os.path.abspath(__file__), BOTCFG_SOURCE, "--inside", name],
                         capture_output=True, text=True, timeout=600)
    return json.loads(run.stdout) if run.returncode == 0 and run.stdout.strip() else None


def why_not():
    if os.geteuid() != 0:
        return "needs root: saves as other users and bind mounts"
    if not shutil.which("strace"):
        return "needs strace (apt-get install strace)"
    probe = subprocess.run(["strace", "-qq", "-o", "/dev/null",
                            "--inject=getpid:signal=SIGKILL:when=1", sys.executable, "-c",
                            "import os; os.getpid()"], capture_output=True)
    if probe.returncode not in (137, -9):
        return "strace cannot inject a signal here"
    work = tempfile.mkdtemp(prefix="voltara-killed-")
    try:
        shutil.copy(BOTCFG_SOURCE, work)
        if subprocess.run([os.path.join(work, os.path.basename(BOTCFG_SOURCE)), "--version"],
                          capture_output=True).returncode != 0:
            return "programs cannot run from the temporary folder"
    except OSError:
        return "programs cannot run from the temporary folder"
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if "ASAN_OPTIONS" in os.environ:
        return "the sanitized build's system calls are mostly the sanitizer's"
    return None


def audit_all():
    results = {}
    for name in make_paths("/nowhere"):
        results[name] = audit_in_own_mounts(name) if name == "bind mount" else audit_path(name)
    return results


class KilledSaveTest(unittest.TestCase):
    def test_a_save_killed_before_any_system_call_leaves_the_old_file_or_the_new_one(self):
        reason = why_not()
        if reason:
            self.skipTest(reason)
        for name, counts in audit_all().items():
            with self.subTest(path=name):
                if counts is None and name == "bind mount":
                    self.skipTest("no bind mount in a mount namespace of its own can be made here")
                self.assertIsNotNone(counts)
                self.assertEqual(counts["killed"], counts["points"], counts)
                self.assertEqual(counts["old"] + counts["new"], counts["points"], counts)
                for outcome in ("get failed", "attributes changed", "names differ", "lock held",
                                "next save failed", "left after next save"):
                    self.assertEqual(counts[outcome], 0, f"{outcome}: {counts}")


def report():
    reason = why_not()
    if reason:
        sys.exit(reason)
    for name, counts in audit_all().items():
        print(f"{name}: " + (", ".join(f"{key} {value}" for key, value in counts.items())
                             if counts else "not possible here"))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    BOTCFG_SOURCE = os.path.abspath(sys.argv.pop(1))
    os.umask(0o022)
    if sys.argv[1:2] == ["--inside"]:
        print(json.dumps(audit_path(sys.argv[2])))
    elif sys.argv[1:2] == ["--report"]:
        report()
    else:
        unittest.main()
