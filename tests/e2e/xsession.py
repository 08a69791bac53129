"""A private X server for end-to-end tests and benchmarks, and the xdotool steps they share.

The server and every program started through it are ended whatever happens: on normal exit,
on an exception, and on SIGTERM/SIGINT (CTest's timeout). With a Wine prefix the programs are
Windows executables run under Wine there (scripts/wine.sh); the prefix's server is ended too.

As a command, runs another command with DISPLAY set to a private server, which ends with it:
    xsession.py COMMAND [ARGUMENT ...]      (the exit status is the command's)
or, on the display already set, dismisses a program's message boxes (dismiss_boxes), printing
the title of each in brackets on a line; 1 when the main window never stood alone:
    xsession.py --dismiss PID CAPTION [QUIET_SECONDS]"""

import atexit
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import time

WINE_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                           "wine.sh")
# How long Wine's server outlives its last program: it serves every case of a run, and still
# ends by itself should this driver be killed before it can end it.
WINE_SERVER_LINGER = 60


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
    root = None

    def __init__(self, wine_prefix=None):
        self.server = None
        self.programs = []
        self.wine_prefix = wine_prefix

    def __enter__(self):
        for tool in ("Xvfb", "xdotool"):
            if shutil.which(tool) is None:
                sys.exit(f"{tool} is missing: run scripts/setup.sh")
        display = self._start_server()
        if display is None:
            sys.exit("no X server could be started")
        XSession.env = dict(os.environ, DISPLAY=f":{display}", QT_QPA_PLATFORM="xcb")
        XSession.env.pop("WAYLAND_DISPLAY", None)
        if self.wine_prefix:
            # Qt on Windows has its own platform; xcb there would be a missing plugin.
            XSession.env.pop("QT_QPA_PLATFORM")
            XSession.env.update(WINEPREFIX=self.wine_prefix, WINEDEBUG="-all")
        atexit.register(self.close)
        for sig in (signal.SIGTERM, signal.SIGINT):
            signal.signal(sig, lambda *_: sys.exit(1))
        XSession.root = xdotool("search", "--maxdepth", "0", "--name", "").strip()
        if self.wine_prefix:
            quiet = dict(env=XSession.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["bash", WINE_SCRIPT], check=True, **quiet)
            subprocess.run(["wineserver", f"-p{WINE_SERVER_LINGER}"], **quiet)
        return self

    def _start_server(self):
        """Xvfb picks a free display itself and writes its number to a pipe once it accepts
        clients: no guessing at numbers, no race with another server for one."""
        reading, writing = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writing), "-noreset", "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"], pass_fds=(writing,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        os.close(writing)
        text = b""
        deadline = time.monotonic() + 20
        while not text.endswith(b"\n") and time.monotonic() < deadline:
            if select.select([reading], [], [], 0.5)[0]:
                chunk = os.read(reading, 16)
                if not chunk:
                    break
                text += chunk
        os.close(reading)
        if not text.strip().isdigit():
            self.server.kill()
            self.server.wait()
            self.server = None
            return None
        return text.strip().decode()

    def start(self, executable, cwd):
        if self.wine_prefix:
            return self.start_command(["bash", WINE_SCRIPT, executable], cwd)
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
        if self.wine_prefix:
            for option in ("-k", "-w"):
                subprocess.run(["wineserver", option], env=XSession.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.wine_prefix = None
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


def _managed(wid):
    """Whether a window is one a window manager would manage: Wine keeps a 1x1 window of its
    own mapped, and menus are windows too, both override-redirect. (Not cached: the server
    hands a closed program's window ids to the next program.)"""
    info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True,
                          env=XSession.env, timeout=30).stdout
    return "Override Redirect State: no" in info


def windows_of(pid):
    """Visible top-level windows of a process: [(id, title)]. With pid None, every visible
    top-level window of the display: Wine's windows carry Wine's own process ids, and a box
    with an empty title has no name to search for."""
    if pid is None:
        ids = xdotool("search", "--onlyvisible", "--maxdepth", "1", "--name", "").split()
        ids = [wid for wid in ids if wid != XSession.root and _managed(wid)]
    else:
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


def dismiss_boxes(pid, caption, captions=None, quiet=1.5, timeout=30.0, step=0.05):
    """Answers the program's message boxes with Return, one at a time, each gone before the
    next, until its main window (titled caption) has stood alone for `quiet` seconds; gives that
    window's id. The boxes' titles go into `captions` in order. With pid None every window of
    the display counts (under Wine, where one program runs at a time)."""
    main, alone_since = None, None
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        windows = windows_of(pid)
        boxes = [(wid, title) for wid, title in windows if title != caption]
        main = next((wid for wid, title in windows if title == caption), main)
        if boxes:
            wid, title = boxes[0]
            if captions is not None:
                captions.append(title)
            xdotool("windowfocus", "--sync", wid)
            xdotool("key", "Return")
            wait_for(lambda: wid not in [w for w, _ in windows_of(pid)],
                     timeout=max(deadline - time.monotonic(), step), step=step)
            alone_since = None
        elif main:
            alone_since = alone_since or time.monotonic()
            if time.monotonic() - alone_since >= quiet:
                return main
        time.sleep(step)
    raise RuntimeError(f"the main window {caption!r} never stood alone")


def main():
    """Runs the command line under a private server and gives back its exit status."""
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--dismiss":
        if len(sys.argv) not in (4, 5):
            sys.exit(__doc__)
        captions, status = [], 0
        try:
            dismiss_boxes(int(sys.argv[2]), sys.argv[3], captions,
                          *[float(quiet) for quiet in sys.argv[4:]])
        except RuntimeError as error:
            print(error, file=sys.stderr)
            status = 1
        for title in captions:
            print(f"[{title}]")
        return status
    with XSession():
        command = subprocess.Popen(sys.argv[1:], env=XSession.env, preexec_fn=_die_with_parent)
        try:
            return command.wait()
        finally:
            if command.poll() is None:
                command.kill()
                command.wait()


if __name__ == "__main__":
    sys.exit(main())
