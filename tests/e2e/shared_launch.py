#!/usr/bin/env python3
"""From Tavrin's menu bar start Olmach, see Olmach's window appear, and close both.

Both programs are copied into a fresh folder, where each finds the other beside itself.
Usage: shared_launch.py <folder holding Tavrin and Olmach>. Exits 77 (skipped) when either
program has not been built."""

import os
import shutil
import signal
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession, dismiss_boxes, wait_for, xdotool  # noqa: E402

SKIPPED = 77
TAVRIN_TITLE = "Official Bot Personality Editor"
OLMACH_TITLE = "Official SuperBot Editor"


def menu_bar(window, *keys):
    """Alt alone puts the keyboard into the menu bar; the keys then move and choose."""
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "alt")
    time.sleep(0.2)
    for key in keys:
        xdotool("key", key)
        time.sleep(0.2)


def exit_from_file_menu(window):
    # Down opens File; Up wraps round to its last item, Exit.
    menu_bar(window, "Down", "Up", "Return")


def process_gone(pid):
    """True when the process has ended (an unreaped zombie counts as ended)."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True


def main():
    built = sys.argv[1]
    programs = [os.path.join(built, name) for name in ("Tavrin", "Olmach")]
    if not all(os.path.isfile(program) for program in programs):
        print(f"skipped: Tavrin and Olmach are not both built in {built}")
        return SKIPPED

    sibling_pid = None
    with tempfile.TemporaryDirectory() as folder, XSession() as session:
        try:
            for program in programs:
                shutil.copy2(program, folder)
            tavrin = session.start(os.path.join(folder, "Tavrin"), folder)
            # Each start-up reports its missing configuration file.
            tavrin_window = dismiss_boxes(tavrin.pid, TAVRIN_TITLE, quiet=1.0)

            # "Superbot Editor" is the third item of the menu bar, a command of its own.
            menu_bar(tavrin_window, "Right", "Right", "Return")
            olmach_window = wait_for(
                lambda: xdotool("search", "--onlyvisible", "--name", OLMACH_TITLE).split())
            assert olmach_window, "Olmach's window did not appear"
            assert len(olmach_window) == 1, "one choice started more than one Olmach"
            sibling_pid = int(xdotool("getwindowpid", olmach_window[0]))
            started = os.path.realpath(f"/proc/{sibling_pid}/exe")
            assert started == os.path.realpath(os.path.join(folder, "Olmach")), started
            assert tavrin.poll() is None, "Tavrin ended when it started Olmach"
            olmach_window = dismiss_boxes(sibling_pid, OLMACH_TITLE, quiet=1.0)

            exit_from_file_menu(olmach_window)
            assert wait_for(lambda: process_gone(sibling_pid)), "Olmach did not end"
            assert tavrin.poll() is None, "Tavrin ended with Olmach"
            exit_from_file_menu(tavrin_window)
            tavrin.wait(timeout=20)
        finally:
            if sibling_pid and not process_gone(sibling_pid):
                os.kill(sibling_pid, signal.SIGKILL)
    print("passed: Tavrin started Olmach; both closed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
