#!/usr/bin/env python3
"""botcfg from the outside: the command line's refusals, the "nothing lost" rules, the round
trip with the editors' files, and the end-to-end corpus, where fix must write exactly what the
editor's Save writes and check must print the texts of the editor's message boxes.

Usage: botcfg_test.py PATH_TO_BOTCFG [unittest arguments]"""

import json
import os
import resource
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "e2e")
sys.path.insert(0, E2E)
import corpus  # noqa: E402
import corpus_cases  # noqa: E402

BOTCFG = None
# Under AddressSanitizer a process reserves more address space than any small limit allows.
SANITIZED = "ASAN_OPTIONS" in os.environ
NAMES = {"personality": "bot_personality.cfg", "superbot": "sbot.cfg"}
PROGRAMS = {"personality": corpus.TAVRIN, "superbot": corpus.OLMACH}
TEXTS = {"personality": corpus_cases.PERSONALITY_TEXTS, "superbot": corpus_cases.SUPERBOT_TEXTS}


def one_line(text):
    """The box text as botcfg prints it: CR LF after a colon a space, else ": "."""
    return text.replace(":\r\n", ": ").replace("\r\n", ": ")


def default_bytes(kind):
    return PROGRAMS[kind].expected(None, {})


class BotcfgCase(unittest.TestCase):
    """A temporary folder for each test, and botcfg run in it."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="botcfg-test-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def run_botcfg(self, *args, stdin=None):
        result = subprocess.run([BOTCFG, *args], capture_output=True, cwd=self.folder,
                                timeout=30, input=stdin)
        return result.returncode, result.stdout.decode("latin-1"), result.stderr.decode("latin-1")

    def place(self, kind, content, name=None):
        path = os.path.join(self.folder, name or NAMES[kind])
        with open(path, "wb") as file:
            file.write(content)
        return path

    def read(self, path):
        with open(path, "rb") as file:
            return file.read()


class BotcfgTest(BotcfgCase):
    def test_fix_writes_what_the_editors_save_writes_for_the_whole_corpus(self):
        for kind in ("personality", "superbot"):
            for _, source, _, expected in corpus.cases(kind, set()):
                with self.subTest(kind=kind, file=os.path.basename(source)):
                    path = self.place(kind, self.read(source))
                    status, _, _ = self.run_botcfg("fix", path, "--force")
                    self.assertEqual(status, 0)
                    self.assertEqual(self.read(path), expected)

    def test_check_prints_the_texts_of_the_editors_boxes_in_order(self):
        for kind, table in (("personality", corpus_cases.PERSONALITY),
                            ("superbot", corpus_cases.SUPERBOT)):
            folder = os.path.join(E2E, kind)
            for name, case in sorted(table.items()):
                with self.subTest(kind=kind, file=name):
                    texts = TEXTS[kind].get(name, [])
                    # Each text belongs to one recorded box: invalid lines carry "Error".
                    self.assertEqual([t.startswith("Invalid line:") for _, t in texts],
                                     [caption == corpus_cases.E for caption in case[0]])
                    path = os.path.join(folder, name)
                    status, out, err = self.run_botcfg("check", "--kind", kind, path)
                    expected = [f"{path}:{line}: " if line else f"{path}: " for line, _ in texts]
                    expected = [where + one_line(text) for where, (_, text) in zip(expected, texts)]
                    self.assertEqual(out.splitlines(), expected)
                    self.assertEqual((status, err), (1 if texts else 0, ""))

    def test_check_goes_through_every_file_and_prints_no_raw_control_bytes(self):
        clean = self.place("superbot", default_bytes("superbot"))
        missing = os.path.join(self.folder, "gone", NAMES["superbot"])
        damaged = self.place("superbot", b"[SUPERBOT]\r\nki\x1b[2J 5\r\n", "damaged.cfg")
        status, out, err = self.run_botcfg("check", "--kind", "superbot", clean, missing, damaged)
        self.assertEqual(status, 1)
        self.assertEqual(out, f"{damaged}:2: Invalid line: ki\\x1B[2J 5\n")
        self.assertIn(missing, err)

    def test_get_prints_any_stored_text_safely(self):
        path = self.place("personality", b"default_personality 1\r\n[BOT1]\r\n"
                          b"default_personality \"\xe9\x1b\tcaf\xc3\xa9\r\n")
        result = subprocess.run([BOTCFG, "get", path, "--json"], capture_output=True)
        # Valid UTF-8 passes as it is; a lone byte is the Latin-1 character of its number.
        self.assertEqual((result.returncode, json.loads(result.stdout.decode("utf-8"))
                          ["default_personality"]), (0, '"\xe9\x1b\tcaf\xe9'))
        self.assertEqual(self.run_botcfg("get", path, "default_personality")[1],
                         'default_personality "\xe9\\x1B\\x09caf\xc3\xa9\n')

    def test_wrong_command_lines_exit_2_with_one_usage_line_and_touch_nothing(self):
        personality = self.place("personality", default_bytes("personality"))
        superbot = self.place("superbot", default_bytes("superbot"))
        other = self.place("personality", default_bytes("personality"), "other.cfg")
        for args in ([], ["frobnicate"], ["check"], ["check", other], ["fix", personality, "-o"],
                     ["fix", personality, "--json"], ["get", personality, "1", "melee", "x"],
                     ["get", personality, "melee_percent"], ["check", other, "--kind", "bots"],
                     ["set", personality, "10", "melee_percent", "5"],
                     ["set", personality, "1", "melee", "5"],
                     ["set", personality, "melee_percent", "5"],
                     ["set", personality, "1", "melee_percent"],
                     ["set", superbot, "default_personality", "5"],
                     ["preset", personality, "1", "attacks", "aggressive"],
                     ["preset", personality, "1", "all", "random", "--seed", "-1"],
                     ["preset", superbot, "1", "chat", "noisy"], ["new", "bots"],
                     ["fix", personality, "-o", "a", "--output", "b"],
                     ["get", other, "--kind", "personality", "--kind=superbot"],
                     ["set", superbot, " MEGAB0T", "ki_gain", "5"]):
            with self.subTest(args=args):
                status, out, err = self.run_botcfg(*args)
                self.assertEqual((status, out), (2, ""))
                self.assertEqual(len(err.splitlines()), 1)
                self.assertIn("usage: botcfg", err)
        self.assertEqual(self.read(personality), default_bytes("personality"))
        self.assertEqual(self.read(superbot), default_bytes("superbot"))

    def test_options_and_records_are_named_as_given(self):
        superbot = self.place("superbot", default_bytes("superbot"))
        self.assertIn("botcfg: -o does not go with check;", self.run_botcfg("check", superbot,
                                                                            "-o", "x")[2])
        for record in (" MEGABOT", " 2 "):
            with self.subTest(record=record):
                self.assertEqual(self.run_botcfg("get", superbot, record, "ki_gain")[:2],
                                 (0, "ki_gain 200\n"))

    def test_set_refuses_values_the_controls_cannot_give_and_writes_nothing(self):
        percents = [("1", "melee_percent", v) for v in ("101", "-1", "050", "5.0", " 5")]
        refused = {"personality": percents
                   + [("1", "aggression_level", "Normal"), ("1", "transkiller", "2"),
                      ("1", "default_personality", "0"), ("1", "default_personality", "10")],
                   "superbot": [("1", "ki_gain", "1001"), ("1", "ki_gain", "-2"),
                                ("2", "health_gain", "181"), ("3", "transparency_val", "0"),
                                ("3", "transparency_val", "256"), ("1", "sbotlaser_percent", "-1"),
                                ("1", "sbotlaser_percent", "101"), ("1", "powerlevel", "0"),
                                ("1", "powerlevel", "abc"), ("1", "powerlevel", "123456789")]}
        for kind, cases in refused.items():
            path = self.place(kind, default_bytes(kind))
            for record, key, value in cases:
                with self.subTest(kind=kind, key=key, value=value):
                    good = ("melee_percent", "7") if kind == "personality" else ("ki_gain", "7")
                    status, _, err = self.run_botcfg("set", path, record, *good, key, value)
                    self.assertEqual(status, 1)
                    self.assertIn(f"botcfg: {path}: {key}", err)
                    self.assertIn(f'{key} "{value}" refused', err)
                    self.assertEqual(self.read(path), default_bytes(kind))

    def test_a_missing_file_is_an_error_and_is_never_created(self):
        path = os.path.join(self.folder, NAMES["personality"])
        for args in (["check", path], ["fix", path], ["fix", path, "-o", path + ".out"],
                     ["get", path], ["set", path, "1", "melee_percent", "5"],
                     ["preset", path, "1", "all", "default"]):
            with self.subTest(command=args[0]):
                status, out, err = self.run_botcfg(*args)
                self.assertEqual((status, out), (1, ""))
                self.assertIn(f'"{path}" doesn\'t exist', err)
                self.assertEqual(os.listdir(self.folder), [])

    def test_a_file_unread_before_its_records_is_replaced_only_with_force_or_o(self):
        damaged = b"# comments only\r\n"
        for kind, change in (("personality", ["1", "melee_percent", "5"]),
                             ("superbot", ["1", "ki_gain", "5"])):
            path = self.place(kind, damaged)
            for args in (["fix", path], ["set", path, *change],
                         ["preset", path, "1", "all", "default"]):
                with self.subTest(kind=kind, command=args[0]):
                    status, _, err = self.run_botcfg(*args)
                    self.assertEqual(status, 1)
                    self.assertIn("--force", err)
                    self.assertEqual(self.read(path), damaged)
            self.assertEqual(self.run_botcfg("get", path)[:2], (1, ""))  # no values to show
            self.assertEqual(self.run_botcfg("fix", path, "-o", path + ".out")[0], 0)
            self.assertEqual(self.read(path + ".out"), default_bytes(kind))
            self.assertEqual(self.run_botcfg("set", path, *change, "--force")[0], 0)
            self.assertEqual(self.read(path),
                             PROGRAMS[kind].expected(None, {(1, change[1]): change[2]}))

    def test_a_failed_save_keeps_the_file_and_gives_the_editors_reason(self):
        path = self.place("superbot", default_bytes("superbot"))
        os.chmod(path, 0o444)
        status, _, err = self.run_botcfg("set", path, "MEGABOT", "ki_gain", "5")
        self.assertEqual(status, 1)
        self.assertIn(f'File: "{path}" could not be saved: ', err)
        self.assertEqual(self.read(path), default_bytes("superbot"))

    def test_round_trip_with_the_editors_files(self):
        for kind in ("personality", "superbot"):
            status, out, _ = self.run_botcfg("new", kind)
            self.assertEqual((status, out.encode("latin-1")), (0, default_bytes(kind)))
        path = self.place("personality", default_bytes("personality"))
        self.assertEqual(self.run_botcfg("fix", path), (0, "", ""))
        self.assertEqual(self.read(path), default_bytes("personality"))
        changes = {(3, "melee_percent"): "0", (3, "aggression_level"): "defensive",
                   (3, "transkiller"): "0", (9, "block_percent"): "100"}
        self.assertEqual(self.run_botcfg("set", path, "3", "melee_percent", "0", "aggression_level",
                                         "defensive", "transkiller", "0", "default_personality",
                                         "7")[0], 0)
        self.assertEqual(self.run_botcfg("set", path, "9", "block_percent", "100")[0], 0)
        self.assertEqual(self.read(path), corpus.TAVRIN.expected("7", changes))
        _, out, _ = self.run_botcfg("get", path, "--json")
        values = json.loads(out)
        self.assertEqual((values["default_personality"], values["BOT3"]["aggression_level"],
                          values["BOT9"]["block_percent"]), ("7", "defensive", "100"))
        self.assertEqual(self.run_botcfg("get", path, "3", "transkiller"),
                         (0, "transkiller 0\n", ""))

        superbot = self.place("superbot", default_bytes("superbot"))
        self.assertEqual(self.run_botcfg("set", superbot, "ultimatebot", "ki_gain", "1000",
                                         "transparency_val", "-1", "powerlevel", " 2.5")[0], 0)
        self.assertEqual(self.read(superbot), corpus.OLMACH.expected(None, {
            (3, "ki_gain"): "1000", (3, "transparency_val"): "-1", (3, "powerlevel"): " 2.5"}))
        self.assertEqual(self.run_botcfg("preset", superbot, "3", "All", "Default")[0], 0)
        self.assertEqual(self.read(superbot), default_bytes("superbot"))

    def test_presets_by_caption_and_repeatable_random_values(self):
        path = self.place("personality", default_bytes("personality"))
        self.assertEqual(self.run_botcfg("preset", path, "4", "attacks", "Heavy", "guy")[0], 0)
        heavy = dict(zip(("melee", "kiblast", "lightbeam", "mediumbeam", "heavybeam", "disc",
                          "laser", "heavyball", "kametorp", "solarflare"),
                         ("10", "5", "0", "10", "95", "0", "0", "95", "95", "0")))
        self.assertEqual(self.read(path), corpus.TAVRIN.expected(
            None, {(4, key + "_percent"): value for key, value in heavy.items()}))
        randomized = []
        for _ in range(2):
            self.place("personality", default_bytes("personality"))
            self.run_botcfg("preset", path, "2", "all", "random", "--seed", "1234")
            randomized.append(self.read(path))
        self.assertEqual(randomized[0], randomized[1])
        self.assertNotEqual(randomized[0], default_bytes("personality"))

    def test_new_does_not_replace_a_file_without_force(self):
        path = self.place("superbot", b"kept")
        self.assertEqual(self.run_botcfg("new", "superbot", "-o", path)[0], 1)
        self.assertEqual(self.read(path), b"kept")
        self.assertEqual(self.run_botcfg("new", "superbot", "-o", path, "--force")[0], 0)
        self.assertEqual(self.read(path), default_bytes("superbot"))
        os.symlink("nowhere.cfg", os.path.join(self.folder, "dangling.cfg"))
        self.assertEqual(self.run_botcfg("new", "superbot", "-o", "dangling.cfg")[0], 1)
        self.assertFalse(os.path.exists(os.path.join(self.folder, "nowhere.cfg")))

    def test_what_is_not_a_regular_file_is_refused_and_stays_what_it_was(self):
        source = self.place("personality", default_bytes("personality"))
        fifo = os.path.join(self.folder, "pipe")
        os.mkfifo(fifo)
        os.symlink("pipe", os.path.join(self.folder, "stdout"))
        nodes = [fifo, os.path.join(self.folder, "stdout")]
        if os.geteuid() == 0:
            nodes.append(os.path.join(self.folder, "null"))
            os.mknod(nodes[-1], 0o666 | stat.S_IFCHR, os.makedev(1, 3))
        for node in nodes:
            for args in (["fix", source, "-o", node], ["new", "superbot", "-o", node],
                         ["new", "superbot", "-o", node, "--force"],
                         ["set", node, "1", "melee_percent", "5", "--kind", "personality"]):
                with self.subTest(node=node, command=args[0]):
                    status, _, err = self.run_botcfg(*args)
                    self.assertEqual(status, 1)
                    self.assertIn(" is not a regular file", err)
                    if args[0] == "new":
                        self.assertIn("-o - writes to standard output", err)
        self.assertTrue(stat.S_ISFIFO(os.stat(fifo).st_mode))
        if os.geteuid() == 0:
            self.assertTrue(stat.S_ISCHR(os.stat(nodes[-1]).st_mode))
        self.assertEqual(self.read(source), default_bytes("personality"))

    def test_fix_onto_the_same_file_by_another_name_keeps_an_unread_file(self):
        damaged = b"# comments only\r\n"
        path = self.place("personality", damaged)
        os.symlink(path, os.path.join(self.folder, "link.cfg"))
        for output in (path, "link.cfg", "./" + NAMES["personality"]):
            with self.subTest(output=output):
                status, _, err = self.run_botcfg("fix", path, "-o", output)
                self.assertEqual(status, 1)
                self.assertIn("--force", err)
                self.assertEqual(self.read(path), damaged)

    def test_a_file_larger_than_a_configuration_file_is_refused_before_it_is_read(self):
        path = self.place("personality", default_bytes("personality"))
        with open(path, "r+b") as file:
            file.truncate(1 << 30)
        limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (256 << 20, 256 << 20))
        for args in (["check", path], ["fix", path], ["get", path]):
            with self.subTest(command=args[0]):
                result = subprocess.run([BOTCFG, *args], capture_output=True, timeout=30,
                                        preexec_fn=None if SANITIZED else limit)
                self.assertEqual(result.returncode, 1)
                self.assertIn(b"was not read: It holds 1073741824 bytes", result.stdout + result.stderr)
        self.assertEqual(os.path.getsize(path), 1 << 30)

    def test_running_out_of_memory_is_one_line_and_exit_1(self):
        if SANITIZED:
            self.skipTest("no memory limit works under AddressSanitizer")
        path = self.place("personality", b"default_personality 1\r\n[BOT1]\r\nmelee_percent "
                          + b"9" * 1000000 + b"\r\n")
        said = set()
        for megabytes in range(4, 24):
            limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (megabytes << 20,) * 2)
            result = subprocess.run([BOTCFG, "get", path, "1", "melee_percent"],
                                    capture_output=True, timeout=30, preexec_fn=limit)
            self.assertGreaterEqual(result.returncode, 0, "no signal ends it")
            said.add(result.stderr)
        self.assertIn(b"botcfg: out of memory\n", said)

    def test_a_failed_write_to_standard_output_is_an_error(self):
        if os.geteuid() != 0:
            self.skipTest("a full device of its own needs root")
        full = os.path.join(self.folder, "full")
        os.mknod(full, 0o666 | stat.S_IFCHR, os.makedev(1, 7))
        path = self.place("superbot", default_bytes("superbot"))
        for args in (["get", path], ["get", path, "--json"], ["fix", path, "-o", "-"],
                     ["check", self.place("personality", b"")], ["--help"]):
            with self.subTest(args=args), open(full, "wb") as out:
                result = subprocess.run([BOTCFG, *args], stdout=out, stderr=subprocess.PIPE)
                self.assertEqual(result.returncode, 1)
                self.assertIn(b"standard output could not be written", result.stderr)

    def test_concurrent_writers_of_one_file_take_turns_and_lose_nothing(self):
        path = self.place("personality", default_bytes("personality"))
        for round_ in range(25):
            values = {bot: str((round_ * 7 + bot) % 100) for bot in (2, 5, 8)}
            runs = [subprocess.Popen([BOTCFG, "set", path, str(bot), "melee_percent", value],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                    for bot, value in values.items()]
            self.assertEqual([run.wait(timeout=30) for run in runs], [0, 0, 0])
            for run in runs:
                run.stderr.close()
            _, out, _ = self.run_botcfg("get", path, "--json")
            got = json.loads(out)
            self.assertEqual({bot: got[f"BOT{bot}"]["melee_percent"] for bot in values}, values)
        self.assertEqual(os.listdir(self.folder), [NAMES["personality"]])

    def test_a_save_killed_at_any_moment_leaves_the_old_file_or_the_new_one(self):
        old = default_bytes("personality")
        path = self.place("personality", old)
        self.run_botcfg("set", path, "1", "melee_percent", "7")
        new = self.read(path)
        for round_ in range(40):
            self.place("personality", old)
            run = subprocess.Popen([BOTCFG, "set", path, "1", "melee_percent", "7"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(round_ * 0.0001)
            run.kill()
            run.wait()
            self.assertIn(self.read(path), (old, new))
        self.run_botcfg("fix", path)  # clears what a killed save may have left under its lock
        self.assertEqual(os.listdir(self.folder), [NAMES["personality"]])


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    BOTCFG = os.path.abspath(sys.argv.pop(1))
    unittest.main()
