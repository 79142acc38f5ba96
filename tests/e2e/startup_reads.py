#!/usr/bin/env python3
"""PakOrder.exe started by another program, as Explorer or a launcher starts
it, reads its PAKS folder once: every mod file is opened once before the
window settles, not again for the first activation. And a change in PAKS
that leaves every mod as it was (a readme written beside them) opens no mod
again: the folder's listing shows nothing to read.

Counts the opens of each file in PAKS with inotify while the program runs
under Wine, each time until no file has been opened for a few seconds.

    startup_reads.py PAKORDER_EXE WINE_RUN [--junit FILE]
"""

import argparse
import ctypes
import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
from xml.sax.saxutils import quoteattr

IN_OPEN = 0x20
IN_ISDIR = 0x40000000
MODS = 300
QUIET_SECONDS = 4.0
LIMIT_SECONDS = 90.0


def make_game(root, program):
    paks = os.path.join(root, "PAKS")
    os.makedirs(paks)
    base = 1_400_000_000
    for i, name in enumerate(["DATA.PAK"] + [f"mod{i:04d}.{'G1O' if i % 7 == 3 else 'PAK'}" for i in range(MODS)]):
        for file in [name] if name == "DATA.PAK" else [name, name + ".MAN"]:
            path = os.path.join(paks, file)
            with open(path, "wb") as f:
                f.write(b"x")
            os.utime(path, (base + i * 600, base + i * 600))
    shutil.copy(program, os.path.join(root, "PakOrder.exe"))
    return paks


def watch_opens(paks):
    libc = ctypes.CDLL(None, use_errno=True)
    fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
    if fd < 0 or libc.inotify_add_watch(fd, paks.encode(), IN_OPEN) < 0:
        raise OSError(ctypes.get_errno(), "inotify")
    return fd


def read_opens(fd, counts):
    """Adds the opens waiting on fd to counts; returns how many there were."""
    seen = 0
    while True:
        try:
            data = os.read(fd, 65536)
        except BlockingIOError:
            return seen
        offset = 0
        while offset < len(data):
            _, mask, _, length = struct.unpack_from("iIII", data, offset)
            name = data[offset + 16:offset + 16 + length].rstrip(b"\0").decode()
            offset += 16 + length
            if mask & IN_OPEN and not mask & IN_ISDIR and name:
                counts[name] = counts.get(name, 0) + 1
                seen += 1


def settle(fd, counts, waiting_for_first=True):
    """Counts opens until none has come for QUIET_SECONDS (after the first
    one, when waiting for it)."""
    started = last = time.monotonic()
    while time.monotonic() - started < LIMIT_SECONDS:
        select.select([fd], [], [], 0.2)
        if read_opens(fd, counts):
            last = time.monotonic()
        elif (counts or not waiting_for_first) and time.monotonic() - last > QUIET_SECONDS:
            return


def run(program, wine_run):
    """Returns the failure message, or None."""
    with tempfile.TemporaryDirectory(prefix="startup-reads-") as root:
        paks = make_game(root, program)
        fd = watch_opens(paks)
        counts = {}
        process = subprocess.Popen([wine_run, os.path.join(root, "PakOrder.exe")], cwd=root,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            settle(fd, counts)
            at_start = dict(counts)
            with open(os.path.join(paks, "readme.txt"), "w") as f:
                f.write("not a mod")
            settle(fd, counts, waiting_for_first=False)
        finally:
            process.kill()
            process.wait()
            os.close(fd)
        mods = [name for name in os.listdir(paks) if name.endswith((".PAK", ".G1O")) and name != "DATA.PAK"]
        opened = [counts.get(name, 0) for name in mods]
        if not any(opened):
            return f"no mod file was opened in {LIMIT_SECONDS:.0f} s: the program did not start, or reads times another way"
        twice = sorted(name for name in mods if at_start.get(name, 0) > 1)
        if twice:
            return (f"{len(twice)} of {len(mods)} mod files opened more than once at start-up "
                    f"(e.g. {twice[0]}: {at_start[twice[0]]} times)")
        again = sorted(name for name in mods if counts.get(name, 0) > at_start.get(name, 0))
        if again:
            return f"{len(again)} of {len(mods)} mod files opened again after a file that is not a mod was written"
        return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("wine_run")
    parser.add_argument("--junit")
    options = parser.parse_args()
    began = time.monotonic()
    failure = run(os.path.abspath(options.program), os.path.abspath(options.wine_run))
    seconds = time.monotonic() - began
    print(failure or "each mod file opened once at start-up, and not again for a readme")
    if options.junit:
        name = "ReadsTheFolderOnceAndNotAgainForWhatIsNotAMod"
        detail = f'<failure message={quoteattr(failure)}/>' if failure else ""
        with open(options.junit, "w") as f:
            f.write(f'<testsuites tests="1" failures="{int(bool(failure))}" time="{seconds:.1f}">\n'
                    f'  <testsuite name="startup_reads" tests="1" failures="{int(bool(failure))}">\n'
                    f'    <testcase classname="startup_reads" name="{name}" time="{seconds:.1f}">{detail}</testcase>\n'
                    f'  </testsuite>\n</testsuites>\n')
    return 1 if failure else 0


if __name__ == "__main__":
    sys.exit(main())
