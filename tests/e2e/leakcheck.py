#!/usr/bin/env python3
"""One start-open-edit-save-quit cycle of each editor under valgrind's leak checker. Fails when
a block that is definitely lost was allocated by our own code (a frame in src/); leaks that
belong to the system's libraries alone are reported but do not fail.

Usage: leakcheck.py BIN_DIR [Tavrin|Olmach ...]"""

import os
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession, dismiss_boxes, windows_of, wait_for, xdotool  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SLOW = 120.0  # valgrind makes a Qt program many times slower

# caption, file name, sample, keys that change one value from the selector's focus, and the
# line that the edit gives in the saved file
PROGRAMS = {
    "Tavrin": ("Official Bot Personality Editor", "bot_personality.cfg",
               "personality/lf_only.cfg", ("Tab", "Down", "Tab"), b"\r\nmelee_percent 46\r\n"),
    "Olmach": ("Official SuperBot Editor", "sbot.cfg", "superbot/lf_only.cfg",
               ("Tab", "Tab", "Right", "Tab"), b"\r\nki_gain 121\r\n"),
}


def main_window(pid, caption):
    found = wait_for(lambda: [w for w, t in windows_of(pid) if t == caption], timeout=SLOW,
                     step=0.2)
    if not found:
        raise RuntimeError("the main window did not appear")
    return found[0]


def dismiss_all(pid, caption):
    """Dismisses boxes until none has come for a while."""
    dismiss_boxes(pid, caption, quiet=3.0, timeout=SLOW, step=0.2)


def cycle(session, name, executable, folder):
    caption, config_name, sample, edit_keys, edited_line = PROGRAMS[name]
    shutil.copy2(executable, folder)
    shutil.copyfile(os.path.join(HERE, sample), os.path.join(folder, config_name))
    other = os.path.join(folder, "other.cfg")
    shutil.copyfile(os.path.join(HERE, sample), other)
    log = os.path.join(folder, "valgrind.log")
    process = session.start_command(
        ["valgrind", "--leak-check=full", "--show-leak-kinds=definite", "--num-callers=50",
         f"--log-file={log}", os.path.join(folder, name)], folder)
    main = main_window(process.pid, caption)
    dismiss_all(process.pid, caption)

    # Open: the dialog's file-name field has the focus.
    xdotool("windowfocus", "--sync", main)
    xdotool("key", "ctrl+o")
    dialog = wait_for(lambda: [w for w, t in windows_of(process.pid) if t == "Open config-file"],
                      timeout=SLOW, step=0.2)
    if not dialog:
        raise RuntimeError("the open dialog did not appear")
    xdotool("windowfocus", "--sync", dialog[0])
    xdotool("type", "--delay", "30", other)
    xdotool("key", "Return")
    wait_for(lambda: not [w for w, t in windows_of(process.pid) if t == "Open config-file"],
             timeout=SLOW, step=0.2)
    dismiss_all(process.pid, caption)

    # Edit: the first value control after the selector takes one step with the keyboard.
    xdotool("windowfocus", "--sync", main)
    for key in edit_keys:
        xdotool("key", key)
        time.sleep(0.5)
    xdotool("key", "ctrl+s")
    time.sleep(1.0)
    dismiss_all(process.pid, caption)

    # Quit through File > Exit, the last entry of the first menu.
    x, y = geometry(main)
    xdotool("mousemove", str(x + 18), str(y + 10))
    xdotool("click", "1")
    time.sleep(2.0)
    xdotool("key", "Up")
    xdotool("key", "Return")
    try:
        process.wait(timeout=SLOW)
    except Exception:
        raise RuntimeError("the program did not end after File > Exit")
    if edited_line not in open(other, "rb").read():
        raise RuntimeError("the edit did not reach the opened file")
    return open(log, encoding="utf-8", errors="replace").read()


def geometry(window):
    text = xdotool("getwindowgeometry", window)
    match = re.search(r"Position: (-?\d+),(-?\d+)", text)
    return (int(match.group(1)), int(match.group(2))) if match else (0, 0)


def our_leaks(report):
    """The definitely-lost records whose block our own code allocated: the frame right below
    the allocator is in a source file of src/ (by its debug information) or in the executable.
    A library that allocates lazily while our code happens to call it (Qt's accessibility
    bridge starting its D-Bus thread inside QLabel::setText, say) is the library's."""
    sources = {name for _, _, names in os.walk(os.path.join(SOURCE_ROOT, "src")) for name in names}
    ours = []
    for record in re.split(r"(?m)^==\d+== $", report):
        if "definitely lost" not in record:
            continue
        callers = re.findall(r"(?m)^==\d+==\s+by 0x[0-9A-F]+: (.*)$", record)
        if not callers:
            continue
        caller = callers[0]
        source = re.search(r"\(([\w.+-]+):\d+\)$", caller)
        if (source and source.group(1) in sources) or re.search(
                r"\(in [^)]*/(?:Tavrin|Olmach)\)$", caller):
            ours.append(record.strip())
    return ours


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if shutil.which("valgrind") is None:
        sys.exit("valgrind is missing: run scripts/setup.sh")
    names = sys.argv[2:] or list(PROGRAMS)
    failed = 0
    with XSession() as session:
        for name in names:
            folder = tempfile.mkdtemp(prefix="voltara-leak-")
            try:
                report = cycle(session, name, os.path.join(sys.argv[1], name), folder)
                summary = re.findall(r"(definitely lost: .*)", report)
                ours = our_leaks(report)
                print(f"{name}: {summary[-1] if summary else 'no leak summary'}")
                if os.environ.get("VOLTARA_LEAK_REPORT"):
                    print(report)
                if ours:
                    failed += 1
                    print(f"FAIL {name}: {len(ours)} leak(s) in our code")
                    for record in ours[:5]:
                        print(record)
                elif not summary and "All heap blocks were freed" not in report:
                    failed += 1
                    print(f"FAIL {name}: valgrind gave no report")
                    print(report[-3000:])
            except Exception as error:
                failed += 1
                print(f"FAIL {name}: {type(error).__name__}: {error}")
            finally:
                shutil.rmtree(folder, ignore_errors=True)
    print(f"{len(names) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
