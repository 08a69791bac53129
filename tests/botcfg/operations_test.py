#!/usr/bin/env python3
"""botcfg as provisioning tools and CI use it: diff of two files, dry runs that write nothing,
JSON in through apply, saves that leave an unchanged file alone, and check's JSON lines.

Usage: operations_test.py PATH_TO_BOTCFG [unittest arguments]"""

import json
import os
import subprocess
import sys
import unittest

import botcfg_test
from botcfg_test import E2E, NAMES, BotcfgCase, default_bytes


def identity(path):
    """What a rewrite would change even where the bytes stay: the inode and the time."""
    status = os.stat(path)
    return status.st_ino, status.st_mtime_ns


def corpus(kind, name):
    return os.path.join(E2E, kind, name)


class OperationsTest(BotcfgCase):
    def fixed(self, kind, source):
        """The source in the layout of the editor's Save, as a file of this test's folder."""
        path = self.place(kind, self.read(source))
        for _ in range(2):  # the second reading settles what the first repair left
            self.run_botcfg("fix", path, "--force")
        return path

    def test_diff_of_corpus_files_names_each_differing_setting_in_file_order(self):
        a = corpus("personality", "default_twelve.cfg")
        b = corpus("personality", "sections_one_to_three.cfg")
        self.assertEqual(self.run_botcfg("diff", "--kind", "personality", a, b),
                         (1, "default_personality: 12 -> 2\n1 jump_percent: 100 -> 1\n"
                             "2 jump_percent: 100 -> 2\n3 jump_percent: 100 -> 3\n", ""))
        status, out, _ = self.run_botcfg("diff", "--kind", "personality", a, b, "--json")
        self.assertEqual(json.loads(out)[:2], [
            {"record": None, "key": "default_personality", "a": "12", "b": "2"},
            {"record": "1", "key": "jump_percent", "a": "100", "b": "1"}])
        # A tier is named as on the command line; the reading messages go to standard error.
        a = self.place("superbot", self.read(corpus("superbot", "section_order.cfg")))
        b = self.place("superbot", self.read(corpus("superbot", "fourth_section.cfg")), "b.cfg")
        self.assertEqual(self.run_botcfg("diff", a, b), (
            1, "SUPERBOT ki_gain: 11 -> 1\nMEGABOT ki_gain: 22 -> 2\nULTIMATEBOT ki_gain: 33 -> 3\n",
            f"{b}:7: Error with reading config file\n"))
        self.assertEqual(json.loads(self.run_botcfg("diff", a, b, "--json")[1])[1]["record"],
                         "MEGABOT")

    def test_diff_sees_files_that_read_alike_as_alike_and_trouble_as_2(self):
        self.assertEqual(self.run_botcfg("diff", "--kind", "superbot",
                                         corpus("superbot", "cr_only.cfg"),
                                         corpus("superbot", "lf_only.cfg")), (0, "", ""))
        for kind in NAMES:
            saved = self.place(kind, default_bytes(kind))
            edited = self.place(kind, b"# edited by hand\n\n" + default_bytes(kind).replace(
                b"\r\n#", b"\n\n# ").replace(b"\r\n", b"\n"), "edited.cfg")
            self.assertEqual(self.run_botcfg("diff", saved, edited, "--json"), (0, "[]\n", ""))
        personality = self.place("personality", default_bytes("personality"))
        unread = self.place("personality", b"# no section\r\n", "unread.cfg")
        superbot = self.place("superbot", default_bytes("superbot"))
        for args in ([personality, "missing.cfg"], [personality, unread], [personality, superbot],
                     [personality, "--kind", "bots"], ["a.cfg", "b.cfg"]):
            with self.subTest(args=args):
                status, out, err = self.run_botcfg("diff", *args)
                self.assertEqual((status, out), (2, ""))
                self.assertTrue(err)

    def change_commands(self, kind):
        """One run of each command that saves, each changing the file."""
        record, key, value = ("3", "melee_percent", "75") if kind == "personality" else (
            "MEGABOT", "ki_gain", "20")
        document = json.dumps({record if kind == "superbot" else "BOT3": {key: value}})
        return [(["fix", "{path}"], None), (["set", "{path}", record, key, value], None),
                (["preset", "{path}", "1", "all", "default"], None),
                (["apply", "{path}", "-"], document.encode())]

    def test_a_dry_run_writes_nothing_and_prints_what_the_run_would_write_as_diff_u(self):
        for kind in NAMES:
            original = self.read(corpus(kind, "lf_only.cfg"))  # fix changes every line end
            for args, stdin in self.change_commands(kind):
                with self.subTest(kind=kind, command=args[0]):
                    path = self.place(kind, original)
                    args = [arg.format(path=path) for arg in args]
                    before, names = identity(path), sorted(os.listdir(self.folder))
                    status, out, _ = self.run_botcfg(*args, "--dry-run", stdin=stdin)
                    self.assertEqual((status, identity(path), self.read(path)),
                                     (0, before, original))
                    self.assertEqual(sorted(os.listdir(self.folder)), names)
                    self.assertEqual(self.run_botcfg(*args, stdin=stdin)[0], 0)
                    old = self.place(kind, original, "old.cfg")
                    expected = subprocess.run(
                        ["diff", "-u", "--label", "a/" + path, "--label", "b/" + path, old, path],
                        capture_output=True).stdout
                    self.assertEqual(out.encode("latin-1"), expected)
                    os.remove(old)

    def test_a_dry_run_is_refused_where_the_run_would_be_and_silent_where_nothing_changes(self):
        unread = self.place("superbot", b"# no section\r\n")
        self.assertEqual(self.run_botcfg("set", unread, "1", "ki_gain", "5", "--dry-run")[:2],
                         (1, ""))
        self.assertEqual(self.run_botcfg("set", unread, "1", "ki_gain", "5", "--dry-run",
                                         "--force")[0], 0)
        path = self.place("superbot", default_bytes("superbot"))
        self.assertEqual(self.run_botcfg("set", path, "1", "ki_gain", "1001", "--dry-run")[:2],
                         (1, ""))
        self.assertEqual(self.run_botcfg("fix", path, "--dry-run"), (0, "", ""))

    def test_saves_that_change_no_byte_leave_the_file_alone(self):
        for kind in NAMES:
            path = self.place(kind, default_bytes(kind))
            before = identity(path)
            record, key = ("3", "melee_percent") if kind == "personality" else ("2", "ki_gain")
            value = self.run_botcfg("get", path, record, key)[1].split()[1]
            for args in (["set", path, record, key, value], ["fix", path],
                         ["preset", path, record, "all", "default"],
                         ["fix", path, "-o", path]):
                with self.subTest(kind=kind, command=args[0]):
                    self.assertEqual(self.run_botcfg(*args), (0, "", ""))
                    self.assertEqual(identity(path), before)

    def test_get_json_piped_into_apply_gives_back_the_same_bytes(self):
        for kind in NAMES:
            for name in sorted(os.listdir(os.path.join(E2E, kind))):
                with self.subTest(kind=kind, file=name):
                    path = self.fixed(kind, corpus(kind, name))
                    before, content = identity(path), self.read(path)
                    whole = self.run_botcfg("get", path, "--json")[1].encode("latin-1")
                    record = self.run_botcfg("get", path, "2", "--json")[1].encode("latin-1")
                    self.assertEqual(self.run_botcfg("apply", path, "-", stdin=whole)[0], 0)
                    self.assertEqual(self.run_botcfg("apply", path, "2", "-", stdin=record)[0], 0)
                    self.assertEqual((self.read(path), identity(path)), (content, before))

    def test_apply_sets_a_partial_document_and_refuses_a_wrong_one_whole(self):
        path = self.place("personality", default_bytes("personality"))
        good = {"default_personality": "4", "BOT3": {"melee_percent": 75}}
        self.assertEqual(self.run_botcfg("apply", path, "-", stdin=json.dumps(good).encode())[0],
                         0)
        self.assertEqual(self.read(path), botcfg_test.PROGRAMS["personality"].expected(
            "4", {(3, "melee_percent"): "75"}))
        changed = self.read(path)
        for document, named in (
                ({"BOT2": {"melee_percent": "5", "block_percent": "101"}}, "2 block_percent"),
                ({"BOT2": {"melee_percent": "5", "melee": "5"}}, "2 melee"),
                ({"BOT2": {"melee_percent": "5"}, "BOT10": {}}, '"BOT10"'),
                ({"melee_percent": "5"}, "melee_percent"),
                ({"BOT2": {"melee_percent": ["5"]}}, "2 melee_percent"),
                ('{"BOT2": {"melee_percent": "5",}}', "standard input:1:")):
            with self.subTest(document=document):
                text = document if isinstance(document, str) else json.dumps(document)
                status, _, err = self.run_botcfg("apply", path, "-", stdin=text.encode())
                self.assertEqual(status, 1)
                self.assertIn(named, err)
                self.assertIn("nothing was written", err)
                self.assertEqual(self.read(path), changed)

    def test_check_json_prints_one_object_a_line(self):
        damaged = self.place("superbot", b"[SUPERBOT]\r\nki 5\r\n", "damaged.cfg")
        unread = self.place("superbot", b"", "empty.cfg")
        status, out, _ = self.run_botcfg("check", "--kind", "superbot", "--json", damaged, unread)
        self.assertEqual(status, 1)
        self.assertEqual([json.loads(line) for line in out.splitlines()], [
            {"file": damaged, "line": 2, "text": "Invalid line: ki 5"},
            {"file": unread, "line": None, "text": "Error with reading config file"}])


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    botcfg_test.BOTCFG = os.path.abspath(sys.argv.pop(1))
    unittest.main()
