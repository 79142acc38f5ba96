#!/usr/bin/env python3
"""The completion scripts of pakorder in their shells: bash's function
called as bash calls it on Tab (COMP_WORDS set) on a test folder, fish's
through its own `complete -C`, zsh's loaded by compinit's rules.

    completion_test.py PAKORDER [--junit FILE]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cases import Skipped, expect, run_cases  # noqa: E402

# The folder's mods: a name with a space, one with a quote, a Chinese one.
MODS = ["DATA.PAK", "Better Loot.pak", "it's.G1O", "模组 一.G1O", "Zed.PAK"]


class Setup:
    def __init__(self, program):
        self.program = os.path.abspath(program)
        self.root = tempfile.mkdtemp(prefix="pakorder-completion-")
        self.paks = os.path.join(self.root, "game", "PAKS")
        os.makedirs(self.paks)
        for name in MODS:
            open(os.path.join(self.paks, name), "wb").close()
        self.elsewhere = os.path.join(self.root, "elsewhere")
        os.makedirs(self.elsewhere)
        # The program on PATH, as the scripts call it when "pakorder" is typed.
        self.bin = os.path.join(self.root, "bin")
        os.makedirs(self.bin)
        os.symlink(self.program, os.path.join(self.bin, "pakorder"))
        self.env = {"PATH": self.bin + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin"),
                    "HOME": self.root, "XDG_STATE_HOME": os.path.join(self.root, "state"),
                    "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "TERM": "dumb"}

    def script(self, shell):
        done = subprocess.run([self.program, "completion", shell], capture_output=True, env=self.env, timeout=30)
        expect(done.returncode == 0 and done.stdout, f"completion {shell}: {done.returncode} {done.stderr!r}")
        path = os.path.join(self.root, f"pakorder.{shell}")
        with open(path, "wb") as f:
            f.write(done.stdout)
        return path

    def shell(self, argv, cwd):
        return subprocess.run(argv, capture_output=True, env=self.env, cwd=cwd, timeout=60, text=True)


def bash_candidates(setup, words, cwd):
    """COMPREPLY of the script's function for the words, the last being typed:
    each as it is and as bash reads it back."""
    if not shutil.which("bash"):
        raise Skipped("bash is not installed")
    script = setup.script("bash")
    quoted = " ".join("'" + w.replace("'", "'\\''") + "'" for w in words)
    program = (f"source '{script}'\n"
               f"COMP_WORDS=({quoted}); COMP_CWORD={len(words) - 1}\n"
               "_pakorder\n"
               'for reply in "${COMPREPLY[@]}"; do eval "set -- $reply"; printf "%s\\t%s\\n" "$reply" "$*"; done\n')
    done = setup.shell(["bash", "--norc", "--noprofile", "-c", program], cwd)
    expect(done.returncode == 0 and not done.stderr, f"bash: {done.returncode} {done.stderr}")
    return [line.split("\t") for line in done.stdout.splitlines()]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("pakorder")
    parser.add_argument("--junit")
    options = parser.parse_args()
    setup = Setup(options.pakorder)

    def bash_commands():
        replies = bash_candidates(setup, ["pakorder", "en"], setup.elsewhere)
        expect(replies == [["enable", "enable"]], f"pakorder en<Tab>: {replies}")
        replies = bash_candidates(setup, ["pakorder", "list", "--"], setup.elsewhere)
        expect(sorted(r[1] for r in replies) == ["--folder", "--help", "--json", "--version"],
               f"pakorder list --<Tab>: {replies}")

    def bash_names_quoted():
        # In the game's folder, enable offers the disabled mods, each quoted
        # so that bash reads back the very name.
        replies = bash_candidates(setup, ["pakorder", "enable", ""], os.path.join(setup.root, "game"))
        expect(sorted(r[1] for r in replies) == sorted(["it's.G1O", "模组 一.G1O"]), f"pakorder enable <Tab>: {replies}")
        expect(all(r[0] != r[1] for r in replies), f"not quoted: {replies}")
        # Elsewhere the folder named on the line is the one in use, in any letter case.
        replies = bash_candidates(setup, ["pakorder", "--folder", setup.paks, "disable", "b"], setup.elsewhere)
        expect([r[1] for r in replies] == ["Better Loot.pak"], f"pakorder --folder PAKS disable b<Tab>: {replies}")
        expect(bash_candidates(setup, ["pakorder", "enable", ""], setup.elsewhere) == [], "names without a folder")

    def bash_files():
        os.makedirs(os.path.join(setup.elsewhere, "mods"), exist_ok=True)
        open(os.path.join(setup.elsewhere, "mods", "new mod.pak"), "wb").close()
        replies = bash_candidates(setup, ["pakorder", "install", "mods/"], setup.elsewhere)
        # As bash's own file completion gives it; bash quotes it on the line.
        expect([r[0] for r in replies] == ["mods/new mod.pak"], f"pakorder install mods/<Tab>: {replies}")

    def zsh_loads():
        if not shutil.which("zsh"):
            raise Skipped("zsh is not installed")
        script = setup.script("zsh")
        done = setup.shell(["zsh", "-f", "-c",
                            f"autoload -Uz compinit && compinit -u -d '{setup.root}/zcompdump' && source '{script}' "
                            "&& (( $+functions[_pakorder] )) && [[ $_comps[pakorder] == _pakorder ]]"], setup.elsewhere)
        expect(done.returncode == 0 and not done.stderr, f"zsh: {done.returncode} {done.stderr}")

    def fish_loads_and_completes():
        if not shutil.which("fish"):
            raise Skipped("fish is not installed")
        script = setup.script("fish")
        done = setup.shell(["fish", "--no-config", "-c", f"source '{script}'; and complete -C'pakorder en'; "
                            "and complete -C'pakorder enable '"], os.path.join(setup.root, "game"))
        expect(done.returncode == 0 and not done.stderr, f"fish: {done.returncode} {done.stderr}")
        lines = done.stdout.splitlines()
        expect(lines[:1] == ["enable"] and sorted(lines[1:]) == sorted(["it's.G1O", "模组 一.G1O"]), f"fish: {lines}")

    status = run_cases("completion_tests", [
        ("bash completes commands and options", bash_commands),
        ("bash completes the folder's mods, quoted", bash_names_quoted),
        ("bash completes files where a command takes one", bash_files),
        ("zsh loads the script", zsh_loads),
        ("fish loads the script and completes", fish_loads_and_completes),
    ], options.junit)
    shutil.rmtree(setup.root, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
