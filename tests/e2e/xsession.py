"""A private X server for end-to-end tests, and the xdotool steps they share.

The server and every program started through it are ended whatever happens: on normal exit,
on an exception, and on SIGTERM/SIGINT (CTest's timeout)."""

import atexit
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time


def _die_with_parent():
    """Runs in a child before exec: the kernel sends it SIGTERM when this driver dies, even by
    SIGKILL (a test runner's timeout), so no server or program outlives the test."""
    try:
        ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def xdotool(*args, check=False):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True,
                            env=XSession.env, timeout=30)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout


class XSession:
    env = dict(os.environ)

    def __init__(self):
        self.server = None
        self.programs = []

    def __enter__(self):
        for tool in ("Xvfb", "xdotool"):
            if shutil.which(tool) is None:
                sys.exit(f"{tool} is missing: run scripts/setup.sh")
        for display in range(140 + os.getpid() % 50, 400):
            if os.path.exists(f"/tmp/.X{display}-lock"):
                continue
            self.server = subprocess.Popen(
                ["Xvfb", f":{display}", "-noreset", "-screen", "0", "1280x1024x24", "-nolisten",
                 "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                preexec_fn=_die_with_parent)
            XSession.env = dict(os.environ, DISPLAY=f":{display}", QT_QPA_PLATFORM="xcb")
            XSession.env.pop("WAYLAND_DISPLAY", None)
            if self._wait_ready():
                break
            self.server.kill()
            self.server = None
        if self.server is None:
            sys.exit("no X server could be started")
        atexit.register(self.close)
        for sig in (signal.SIGTERM, signal.SIGINT):
            signal.signal(sig, lambda *_: sys.exit(1))
        return self

    def _wait_ready(self):
        for _ in range(100):
            if self.server.poll() is not None:
                return False
            if subprocess.run(["xdotool", "getmouselocation"], env=XSession.env,
                              capture_output=True).returncode == 0:
                return True
            time.sleep(0.05)
        return False

    def start(self, executable, cwd):
        return self.start_command([executable], cwd)

    def start_command(self, command, cwd):
        program = subprocess.Popen(command, cwd=cwd, env=XSession.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   preexec_fn=_die_with_parent)
        self.programs.append(program)
        return program

    def close(self):
        for program in self.programs:
            if program.poll() is None:
                program.kill()
                program.wait()
        self.programs = []
        if self.server and self.server.poll() is None:
            # A terminated server removes its lock file; a killed one leaves it behind.
            self.server.terminate()
            try:
                self.server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()

    def __exit__(self, *exc):
        self.close()


def windows_of(pid):
    """Visible top-level windows of a process: [(id, title)]."""
    ids = xdotool("search", "--onlyvisible", "--pid", str(pid)).split()
    return [(wid, xdotool("getwindowname", wid).rstrip("\n")) for wid in ids]


def wait_for(condition, timeout=20.0, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None
