#!/usr/bin/env python3
"""The release files tools/package.sh builds: the .deb unpacked (not
installed) into a temporary folder and its pakorder run from there, and the
contents of the zip and the .tar.gz. Skipped when build/dist holds no
packages of this version (tools/package.sh makes them; tools/test.sh runs it).

    package_test.py DIST VERSION [--junit FILE]
"""

import argparse
import gzip
import os
import shutil
import stat
import subprocess
import sys
import tarfile
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cases import Skipped, expect, run_cases  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
COMPLETIONS = {"bash": "usr/share/bash-completion/completions/pakorder",
               "zsh": "usr/share/zsh/vendor-completions/_pakorder",
               "fish": "usr/share/fish/vendor_completions.d/pakorder.fish"}


def run(argv, **kwargs):
    return subprocess.run(argv, capture_output=True, timeout=60, **kwargs)


def readmes():
    return sorted(name for name in os.listdir(REPO) if name.startswith("README") and name.endswith(".md"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dist")
    parser.add_argument("version")
    parser.add_argument("--junit")
    options = parser.parse_args()
    version = options.version
    names = os.listdir(options.dist) if os.path.isdir(options.dist) else []
    deb = next((os.path.join(options.dist, n) for n in names if n.startswith(f"pakorder_{version}_") and n.endswith(".deb")), None)
    zipped = os.path.join(options.dist, f"pakorder-{version}-windows-x64.zip")
    tarred = os.path.join(options.dist, f"pakorder-{version}-linux-x86_64.tar.gz")
    missing = None if deb and os.path.exists(zipped) and os.path.exists(tarred) else \
        f"no packages of {version} in {options.dist}: run tools/package.sh"
    unpacked = tempfile.mkdtemp(prefix="pakorder-package-")

    def need_packages():
        if missing:
            raise Skipped(missing)

    def deb_puts_each_file_in_its_place():
        need_packages()
        fields = run(["dpkg-deb", "-f", deb, "Package", "Version", "Architecture"], text=True)
        expect(fields.returncode == 0, fields.stderr)
        expect(fields.stdout.splitlines()[:2] == ["Package: pakorder", f"Version: {version}"], fields.stdout)
        done = run(["dpkg-deb", "-x", deb, unpacked])
        expect(done.returncode == 0, done.stderr)
        for path in ["usr/bin/pakorder", "usr/share/man/man1/pakorder.1.gz", "usr/share/doc/pakorder/copyright",
                     *COMPLETIONS.values()]:
            expect(os.path.isfile(os.path.join(unpacked, path)), f"{path} is not in the .deb")
        mode = os.stat(os.path.join(unpacked, "usr/bin/pakorder")).st_mode
        expect(mode & stat.S_IXOTH, "usr/bin/pakorder is not executable")
        with gzip.open(os.path.join(unpacked, "usr/share/man/man1/pakorder.1.gz")) as page, \
                open(os.path.join(REPO, "docs/pakorder.1"), "rb") as source:
            expect(page.read() == source.read(), "the manual page is not docs/pakorder.1")

    def unpacked_program_runs():
        need_packages()
        program = os.path.join(unpacked, "usr/bin/pakorder")
        expect(os.path.exists(program), "the .deb was not unpacked")
        said = run([program, "--version"], text=True)
        expect(said.returncode == 0 and said.stdout.startswith(f"pakorder {version}"), f"--version: {said}")
        game = tempfile.mkdtemp(prefix="pakorder-game-")
        try:
            paks = os.path.join(game, "PAKS")
            os.makedirs(paks)
            for name, day in [("DATA.PAK", 1), ("Better Loot.pak", 2), ("模组.G1O", 3)]:
                path = os.path.join(paks, name)
                open(path, "wb").close()
                os.utime(path, (0, 1609459200 + day * 86400))  # 2021-01-0N
            environment = {"HOME": game, "PATH": "/usr/bin:/bin", "LANG": "C.UTF-8"}
            listed = run([program, "--folder", game, "list"], text=True, env=environment)
            expect(listed.returncode == 0 and listed.stderr == "", f"list: {listed}")
            expect(listed.stdout == "   1  [x]  ?   2021-1-3    Better Loot.pak\n   2  [ ]      2021-1-4    模组.G1O\n"
                                    "2 mods, 1 enabled\n", f"list: {listed.stdout!r}")
            for shell, path in COMPLETIONS.items():
                made = run([program, "completion", shell])
                with open(os.path.join(unpacked, path), "rb") as script:
                    expect(script.read() == made.stdout, f"{path} is not the program's {shell} script")
        finally:
            shutil.rmtree(game, ignore_errors=True)

    def zip_holds_the_windows_programs():
        need_packages()
        with zipfile.ZipFile(zipped) as archive:
            names = sorted(archive.namelist())
            texts = [readme[:-3] + ".txt" for readme in readmes()]
            expect(names == sorted(["PakOrder.exe", "pakorder.com", "NOTICE.txt", *texts]), f"the zip holds {names}")
            for program in ["PakOrder.exe", "pakorder.com"]:
                expect(archive.read(program)[:2] == b"MZ", f"{program} is not a Windows program")
                with open(os.path.join(REPO, "build/windows", program), "rb") as built:
                    expect(archive.read(program) == built.read(), f"{program} is not the one built")
            with open(os.path.join(REPO, "README.md"), "rb") as readme:
                expect(archive.read("README.txt") == readme.read().replace(b"\n", b"\r\n"), "README.txt is not the README")
            expect(b"winpthreads" in archive.read("NOTICE.txt"), "NOTICE.txt lacks the runtime's licence")

    def tarball_holds_the_linux_files():
        need_packages()
        top = f"pakorder-{version}-linux-x86_64/"
        with tarfile.open(tarred) as archive:
            members = {m.name: m for m in archive.getmembers() if m.isfile()}
            expected = ["pakorder", "pakorder.1", "NOTICE.txt", "completions/pakorder.bash", "completions/_pakorder",
                        "completions/pakorder.fish", *readmes()]
            expect(sorted(members) == sorted(top + name for name in expected), f"the .tar.gz holds {sorted(members)}")
            expect(members[top + "pakorder"].mode & 0o111, "pakorder is not executable")
            with open(os.path.join(unpacked, "usr/bin/pakorder"), "rb") as packed:
                expect(archive.extractfile(top + "pakorder").read() == packed.read(), "not the .deb's pakorder")

    status = run_cases("package_check", [
        ("the .deb puts each file in Debian's place", deb_puts_each_file_in_its_place),
        ("pakorder unpacked from the .deb runs", unpacked_program_runs),
        ("the zip holds the Windows programs, the README and the notices", zip_holds_the_windows_programs),
        ("the .tar.gz holds the program, its manual and completions", tarball_holds_the_linux_files),
    ], options.junit)
    shutil.rmtree(unpacked, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
