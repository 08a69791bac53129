#!/usr/bin/env python3
"""What a save costs and keeps when others are in the way: botcfg against a 1 GiB file,
concurrent writers, saves killed at random moments, and the system calls of one save.
Passes or fails nothing; prints a table.

Usage: bench/save_audit.py BOTCFG [ROUNDS]   (ROUNDS: concurrent rounds and kills, default 300)
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT = os.path.join(HERE, "..", "tests", "core", "data", "default_personality.cfg")


def peak_memory(botcfg, work):
    """Peak resident memory and wall time of `botcfg check` on a 1 GiB file."""
    big = os.path.join(work, "big.cfg")
    with open(big, "wb") as out:
        out.write(open(DEFAULT, "rb").read())
        block = b"# " + b"x" * ((1 << 20) - 4) + b"\r\n"
        for _ in range(1024):
            out.write(block)
    started = time.monotonic()
    run = subprocess.run(["/usr/bin/time", "-v", botcfg, "check", "--kind", "personality", big],
                         capture_output=True, text=True)
    seconds = time.monotonic() - started
    os.unlink(big)
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", run.stderr)
    return int(rss.group(1)) / 1024 if rss else float("nan"), seconds, run.returncode


def concurrent(botcfg, work, rounds):
    """Rounds of three `set`s on three records of one file at once: changes lost, bad files."""
    path = os.path.join(work, "bot_personality.cfg")
    lost = torn = 0
    for n in range(rounds):
        shutil.copy(DEFAULT, path)
        values = {bot: str(random.randint(0, 79)) for bot in (2, 5, 8)}
        runs = [subprocess.Popen([botcfg, "set", path, str(bot), "melee_percent", value],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                for bot, value in values.items()]
        for run in runs:
            run.wait()
        for bot, value in values.items():
            got = subprocess.run([botcfg, "get", path, str(bot), "melee_percent"],
                                 capture_output=True, text=True).stdout.split()
            lost += got != ["melee_percent", value]
        torn += subprocess.run([botcfg, "check", path], capture_output=True).returncode != 0
    return lost, 3 * rounds, torn


def killed(botcfg, work, rounds):
    """Saves killed at random moments: files neither old nor new, files left beside."""
    path = os.path.join(work, "bot_personality.cfg")
    old = open(DEFAULT, "rb").read()
    shutil.copy(DEFAULT, path)
    subprocess.run([botcfg, "set", path, "1", "melee_percent", "7"], capture_output=True)
    new = open(path, "rb").read()
    mixed = 0
    for _ in range(rounds):
        with open(path, "wb") as out:
            out.write(old)
        run = subprocess.Popen([botcfg, "set", path, "1", "melee_percent", "7"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0, 0.004))
        run.send_signal(signal.SIGKILL)
        run.wait()
        mixed += open(path, "rb").read() not in (old, new)
    left = len([name for name in os.listdir(work) if name != "bot_personality.cfg"])
    return mixed, left, rounds


def system_calls(botcfg, work):
    """The system calls of one `fix` of the default file, by name, as strace counts them."""
    path = os.path.join(work, "bot_personality.cfg")
    shutil.copy(DEFAULT, path)
    log = os.path.join(work, "strace.log")
    subprocess.run(["strace", "-f", "-o", log, botcfg, "fix", path], capture_output=True)
    lines = open(log).read().splitlines()
    os.unlink(log)
    # From the first mention of the file on: the save, not the loading of the program.
    start = next((i for i, line in enumerate(lines) if "bot_personality.cfg" in line), 0)
    calls = [re.sub(r"^\d+\s+", "", line) for line in lines[start:]]
    counts = {}
    for call in calls:
        name = call.split("(", 1)[0]
        counts[name] = counts.get(name, 0) + 1
    return len(calls), counts, calls


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    botcfg = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    work = tempfile.mkdtemp(prefix="voltara-audit-")
    try:
        rss, seconds, status = peak_memory(botcfg, work)
        print(f"1 GiB file, check: peak RSS {rss:.1f} MB, {seconds:.2f} s, exit {status}")
        lost, sets, torn = concurrent(botcfg, work, rounds)
        print(f"concurrent sets: {lost} of {sets} changes lost, {torn} of {rounds} files damaged")
        mixed, left, kills = killed(botcfg, work, rounds)
        print(f"killed saves: {mixed} of {kills} files neither old nor new, {left} files left beside")
        total, counts, calls = system_calls(botcfg, work)
        print(f"one fix: {total} system calls from the first mention of the file; "
              + ", ".join(f"{name} {n}" for name, n in sorted(counts.items(), key=lambda x: -x[1])))
        if os.environ.get("VOLTARA_AUDIT_TRACE"):
            print("\n".join(calls))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
