#!/usr/bin/env python3
"""botcfg's manual page, bash completion and installed layout: the page is clean roff, names
every command and option that the help names and no other, and states the help's exit status
word for word, as the README does; the completion offers what botcfg takes; cmake --install
puts the three files where a Linux packager expects them.

Usage: manual_test.py PATH_TO_BOTCFG SOURCE_DIR BUILD_DIR [unittest arguments]"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

BOTCFG = SOURCE = BUILD = None
PAGE = "src/botcfg/botcfg.1"
COMPLETION = "src/botcfg/botcfg.bash-completion"
SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "FILES",
            "EXAMPLES"]
# An option as the texts write it; "diff -u" names diff's option, not botcfg's.
OPTION = re.compile(r"(?<![\w/-])(?<!diff )(--[a-z][a-z-]*|-[a-z])(?![\w-])")


def botcfg(*args):
    return subprocess.run([BOTCFG, *args], capture_output=True, text=True, check=True).stdout


def plain(roff):
    """The words of roff source, without requests, font changes and escapes."""
    lines = [line for line in roff.splitlines() if not line.startswith(".")]
    text = re.sub(r"\\f[BIRP]", "", "\n".join(lines)).replace("\\-", "-").replace("\\e", "\\")
    return " ".join(text.split())


def sections(roff):
    """The page's sections by name, each as its roff source."""
    parts = re.split(r"^\.SH (.*)$", roff, flags=re.M)
    return {name.strip('"'): body for name, body in zip(parts[1::2], parts[2::2])}


def tags(section):
    """The lines that a .TP gives its paragraph as tag, as words."""
    return [plain(line) for line in re.findall(r"^\.TP\n(.*)$", section, flags=re.M)]


def exit_status(text):
    """The exit-status rule, from "Exit status:" to the end of its paragraph, as words."""
    start = text.index("Exit status:")
    end = text.find("\n\n", start)
    return " ".join(text[start:end if end >= 0 else None].replace("`", "").split())


class ManualTest(unittest.TestCase):
    def setUp(self):
        with open(os.path.join(SOURCE, PAGE), encoding="utf-8") as file:
            self.page = file.read()
        self.sections = sections(self.page)
        self.help = botcfg("--help")
        self.commands = re.findall(r"^  botcfg (\w+) ", self.help, flags=re.M)

    def test_the_page_has_the_conventional_sections_and_no_roff_warnings(self):
        self.assertEqual([name for name in self.sections if name in SECTIONS], SECTIONS)
        result = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8",
                                 os.path.join(SOURCE, PAGE)], capture_output=True, text=True)
        self.assertEqual((result.returncode, result.stderr), (0, ""))

    def test_the_page_and_the_help_name_the_same_commands_and_options(self):
        texts = [self.help] + [botcfg(command, "--help") for command in self.commands]
        help_options = {option for text in texts for option in OPTION.findall(text)}
        page_commands = [tag.split()[0] for tag in tags(self.sections["COMMANDS"])]
        page_options = {option for tag in tags(self.sections["OPTIONS"])
                        for option in OPTION.findall(tag)}
        self.assertEqual(page_commands, self.commands)
        self.assertEqual(page_options, help_options)
        for command in self.commands:
            self.assertIn(f"botcfg {command} ", plain(self.sections["SYNOPSIS"]))

    def test_the_page_and_the_readme_state_the_help_s_exit_status(self):
        rule = exit_status(self.help)
        self.assertEqual(exit_status(plain(self.sections["EXIT STATUS"])), rule)
        with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as file:
            readme = file.read()
        self.assertEqual(exit_status(readme), rule)

    def complete(self, *words):
        """What the completion offers for the last word of botcfg's command line."""
        script = (f'source "{os.path.join(SOURCE, COMPLETION)}"; COMP_WORDS=("$@"); '
                  'COMP_CWORD=$(($# - 1)); _botcfg; printf "%s\\n" "${COMPREPLY[@]}"')
        result = subprocess.run(["bash", "-c", script, "_", BOTCFG, *words], capture_output=True,
                                text=True, cwd=self.folder, check=True)
        return set(result.stdout.split())

    def test_the_completion_offers_commands_options_kinds_records_and_keys(self):
        self.folder = tempfile.mkdtemp(prefix="botcfg-completion-")
        self.addCleanup(shutil.rmtree, self.folder)
        for kind in ("personality", "superbot"):
            botcfg("new", kind, "-o", os.path.join(self.folder, kind + ".cfg"))
        personality = ("personality.cfg", "--kind", "personality")
        self.assertEqual(self.complete(""), set(self.commands) | {"--help", "--version"})
        self.assertEqual(self.complete("diff", "--"), {"--json", "--kind", "--help"})
        self.assertEqual(self.complete("new", ""), {"personality", "superbot"})
        self.assertEqual(self.complete("get", "--kind", "s"), {"superbot"})
        self.assertEqual(self.complete("set", "superbot.cfg", "--kind=superbot", "m"), {"MEGABOT"})
        self.assertEqual(self.complete("set", *personality, "1", "block_percent", "5", "trans"),
                         {"transkiller"})
        self.assertEqual(self.complete("get", *personality, "d"), {"default_personality"})
        self.assertIn("9", self.complete("preset", *personality, ""))

    def test_cmake_install_puts_program_page_and_completion_where_packagers_expect(self):
        prefix = tempfile.mkdtemp(prefix="botcfg-install-")
        self.addCleanup(shutil.rmtree, prefix)
        subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix, "--component", "botcfg"],
                       check=True, capture_output=True)
        installed = sorted(os.path.relpath(os.path.join(root, name), prefix)
                           for root, _, names in os.walk(prefix) for name in names)
        self.assertEqual(installed, ["bin/botcfg", "share/bash-completion/completions/botcfg",
                                     "share/man/man1/botcfg.1"])


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    BOTCFG, SOURCE, BUILD = (os.path.abspath(arg) for arg in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main()
