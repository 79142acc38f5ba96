#!/usr/bin/env python3
"""Kills the native pakorder just before each of its mutating system calls in
turn (strace fault injection) and checks what is left: while an action is
unfinished every write is refused, `recover` puts the folder back exactly as
it was, `recover --keep` keeps it, and writes work again afterwards.

A second case runs a slowed-down install and checks that another pakorder
cannot write to the folder meanwhile.

    crash_test.py PAKORDER [--scenario NAME] [--keep-going] [--junit FILE]
"""

import argparse
import concurrent.futures
import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from xml.sax.saxutils import escape, quoteattr

# The calls that change something on disk (or take the folder's lock).
MUTATING = ["rename", "renameat", "renameat2", "link", "linkat", "unlink", "unlinkat", "utimensat",
            "futimesat", "utimes", "openat", "open", "creat", "write", "pwrite64", "fsync", "fdatasync",
            "ftruncate", "mkdir", "mkdirat", "flock"]

RUN_TIMEOUT = 60
OTHER_MOD = "Golf"  # never named by a scenario: the write tried after a kill
MB = 1 << 20


# ---------------------------------------------------------------- the folder

def ns(year, month, day, hour=0, minute=0, second=0, hundreds=0):
    """A time in ns since the epoch. Records keep 100-ns units (Windows'
    FILETIME), so the times are whole hundreds of ns: exact, but not round."""
    dt = datetime.datetime(year, month, day, hour, minute, second, tzinfo=datetime.timezone.utc)
    return int(dt.timestamp()) * 1_000_000_000 + hundreds * 100


# name, size, mtime; a ".MAN" of a pak follows it. The .MAN times differ a
# little from their paks' so that each is restored on its own.
MODS = [
    ("DATA.PAK", 3000, ns(2012, 9, 20, 8, 0, 0, 0)),
    ("Alpha.pak", 1100, ns(2021, 3, 1, 10, 11, 12, 1234567)),
    ("Alpha.pak.MAN", 210, ns(2021, 3, 1, 10, 11, 12, 1234570)),
    ("Bravo.PAK", 1200, ns(2021, 3, 2, 9, 1, 2, 2345678)),
    ("Charlie.G1O", 1300, ns(2021, 3, 3, 8, 2, 3, 3456789)),
    ("Charlie.G1O.MAN", 230, ns(2021, 3, 3, 8, 2, 3, 3456700)),
    ("Delta.PAK", 1400, ns(2021, 3, 4, 7, 3, 4, 4567891)),
    ("Delta.PAK.MAN", 240, ns(2021, 3, 4, 7, 3, 5, 4567891)),
    ("Echo.G1O", 1500, ns(2021, 3, 5, 6, 4, 5, 5678912)),
    ("Foxtrot.pak", 1600, ns(2021, 3, 6, 5, 5, 6, 6789123)),
    ("Foxtrot.pak.MAN", 260, ns(2021, 3, 6, 5, 5, 6, 6789124)),
    ("Golf.PAK", 1700, ns(2021, 3, 7, 4, 6, 7, 7891234)),
]
INSTALLED = [("Hotel.pak", 2 * MB + 12345, ns(2022, 2, 2, 2, 2, 2, 2222222)),
             ("Hotel.pak.MAN", 150 * 1024, ns(2022, 2, 2, 2, 2, 3, 3333333))]


def write_file(path, size, mtime, seed):
    block = bytes((seed * 31 + i) % 251 for i in range(4096))
    with open(path, "wb") as f:
        for _ in range(size // len(block)):
            f.write(block)
        f.write(block[:size % len(block)])
    os.utime(path, ns=(mtime, mtime))


class Game:
    """A game folder with its own history: a private HOME and XDG_STATE_HOME."""

    def __init__(self, program, root, big_install=INSTALLED):
        self.program = program
        self.root = root
        self.paks = os.path.join(root, "game", "PAKS")
        self.state = os.path.join(root, "state")
        self.incoming = os.path.join(root, "incoming")
        for folder in (self.paks, self.state, self.incoming, os.path.join(root, "home")):
            os.makedirs(folder)
        for seed, (name, size, mtime) in enumerate(MODS):
            write_file(os.path.join(self.paks, name), size, mtime, seed)
        for seed, (name, size, mtime) in enumerate(big_install):
            write_file(os.path.join(self.incoming, name), size, mtime, 100 + seed)
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8",
                    "HOME": os.path.join(root, "home"), "XDG_STATE_HOME": self.state}

    def command(self, args, strace):
        cmd = [self.program, "--folder", os.path.join(self.root, "game")] + list(args)
        return ["strace", "-f", "-qq"] + strace + ["--"] + cmd if strace else cmd

    def run(self, *args, strace=None):
        return subprocess.run(self.command(args, strace), env=self.env, cwd=self.root, capture_output=True,
                              text=True, errors="replace", timeout=RUN_TIMEOUT)

    def start(self, *args, strace=None):
        return subprocess.Popen(self.command(args, strace), env=self.env, cwd=self.root, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, errors="replace")

    def snapshot(self):
        files = {}
        for entry in os.scandir(self.paks):
            st = entry.stat(follow_symlinks=False)
            files[entry.name] = (st.st_size, st.st_mtime_ns)
        return files

    def unfinished(self):
        """The records of actions that neither finished nor were recovered
        (a recovery does not complete the record it undid)."""
        result = self.run("history", "--json")
        if result.returncode != 0:
            raise HarnessError(f"history --json exited {result.returncode}: {brief(result.stderr)}")
        try:
            records = json.loads(result.stdout)["records"]
        except (ValueError, KeyError) as error:
            raise HarnessError(f"history --json is not a history: {error}")
        # A completed recovery takes back what it steps through, and, where
        # that was a recovery that did not finish, what that one stepped through.
        by_sequence = {r["sequence"]: r for r in records}
        recovered = set()
        for r in records:
            if r["action"] == "recover" and r["complete"]:
                step = r["stepOf"]
                while step is not None and step not in recovered:
                    recovered.add(step)
                    earlier = by_sequence.get(step)
                    step = earlier["stepOf"] if earlier and earlier["action"] == "recover" else None
        return [r for r in records if not r["complete"] and r["sequence"] not in recovered]


class HarnessError(Exception):
    pass


# ---------------------------------------------------------------- comparing folders

def show_time(mtime):
    seconds, rest = divmod(mtime, 1_000_000_000)
    stamp = datetime.datetime.fromtimestamp(seconds, datetime.timezone.utc).strftime("%Y-%m-%d %H:%M:%S")
    return f"{stamp}.{rest:09d}"


def differences(now, expected):
    """What differs between two snapshots, one phrase per file."""
    out = []
    for name in sorted(set(now) | set(expected)):
        if name not in now:
            out.append(f"{name} is missing")
        elif name not in expected:
            out.append(f"{name} is left over")
        elif now[name][0] != expected[name][0]:
            out.append(f"{name} has {now[name][0]} bytes, not {expected[name][0]}")
        elif now[name][1] != expected[name][1]:
            out.append(f"{name} dated {show_time(now[name][1])}, not {show_time(expected[name][1])}")
    return out


def load_order(snapshot):
    return [name for name, _ in sorted(snapshot.items(), key=lambda item: (item[1][1], item[0]))]


def same_outcome(now, done, before):
    """Whether `now` is what the action left in a clean run (`done`). The
    times a smart sort writes depend on the clock, so a file it re-timed
    must hold the same place in the load order and the same time as its
    pak or .MAN where they were equal; every other time is exact."""
    if {n: s for n, (s, _) in now.items()} != {n: s for n, (s, _) in done.items()}:
        return False
    for name, (_, mtime) in done.items():
        retimed = name not in before or before[name][1] != mtime
        if not retimed and now[name][1] != mtime:
            return False
    if load_order(now) != load_order(done):
        return False
    for name in done:
        if is_companion(name) and name[:-4] in done:
            if (done[name][1] == done[name[:-4]][1]) != (now[name][1] == now[name[:-4]][1]):
                return False
    return True


def is_companion(name):
    return name.endswith(".MAN")


def parted(snapshot):
    """Paks parted from their .MAN: a .MAN whose pak is not there under its name."""
    out = []
    for name in sorted(snapshot):
        if is_companion(name) and name[:-4] not in snapshot:
            stem = os.path.splitext(name[:-4])[0]
            paks = [p for p in snapshot if not is_companion(p) and os.path.splitext(p)[0] == stem]
            out.append(f"{name} without its pak" + (f" ({', '.join(sorted(paks))} is there)" if paks else ""))
    return out


def temporaries(snapshot):
    return sorted(n for n in snapshot if n.lower().endswith(".tmp"))


def brief(text, limit=300):
    text = " ".join(text.split())
    return text if len(text) <= limit else text[:limit] + "..."


# ---------------------------------------------------------------- system calls

STRING = re.compile(r'"(?:[^"\\]|\\.)*"(?:\.\.\.)?')
RESULT = re.compile(r"\s*(= .*|<unfinished \.\.\.>)$")
RECORDS_ID = re.compile(r"(pakorder/)[0-9a-f]{16}")
CALL = re.compile(r"^(?:\[pid\s+)?\d+\]?\s+([a-z0-9_]+)\((.*)$")


def is_mutating(name, args):
    if name in ("openat", "open"):
        return re.search(r"\b(O_CREAT|O_WRONLY|O_RDWR)\b", STRING.sub('""', args)) is not None
    if name in ("write", "pwrite64"):
        fd = args.split(",", 1)[0].strip()
        return not fd.isdigit() or int(fd) > 2
    return True


def read_calls(log, root):
    """The calls of a trace in order: (name, text of the call), with the
    temporary folder as ROOT and the folder's records as ID (a hash of it)."""
    calls = []
    with open(log, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = RECORDS_ID.sub(r"\1ID", line.rstrip("\n").replace(root, "ROOT"))
            match = CALL.match(line)
            if match and "resumed>" not in line:
                calls.append((match.group(1), match.group(1) + "(" + match.group(2)))
    return calls


class KillPoint:
    def __init__(self, name, index, call):
        self.name, self.index, self.call = name, index, call

    def label(self):
        return f"{self.name}#{self.index}"

    def describe(self):
        return f"{self.label()} {brief(re.sub(RESULT, '', self.call), 160)}"


def kill_points(calls):
    """Each mutating call as the Nth call of its name: strace counts every
    call of the injected name, the read-only ones too."""
    points, seen = [], {}
    for name, call in calls:
        seen[name] = seen.get(name, 0) + 1
        if name in MUTATING and is_mutating(name, call[len(name) + 1:]):
            points.append(KillPoint(name, seen[name], call))
    return points


def kill_args(point, log):
    return ["-s", "200", "-o", log, "-e", f"trace={point.name}",
            "-e", f"inject={point.name}:signal=KILL:when={point.index}"]


def killed_by_sigkill(result):
    # strace ends itself with its tracee's signal.
    return result.returncode in (-9, 128 + 9)


# ---------------------------------------------------------------- scenarios

MOD_LIST_HEADER = "# PakOrder mod list 1\n"


class Scenario:
    """One pakorder command. `prepare` runs on a fresh folder before it and
    may return the state recovery must give back (else the state it leaves)."""

    def __init__(self, name, command, prepare=None):
        self.name, self.command, self.prepare = name, command, prepare

    def args(self, game):
        return [a.format(incoming=game.incoming, root=game.root) for a in self.command]


def write_list(game, name, lines):
    with open(os.path.join(game.root, name), "w", encoding="utf-8") as f:
        f.write(MOD_LIST_HEADER + "".join(line + "\n" for line in lines))


def must(result, what):
    if result.returncode != 0:
        raise HarnessError(f"{what} exited {result.returncode}: {brief(result.stderr)}")


def prepare_order_list(game):
    write_list(game, "order.txt", ["+ Foxtrot", "+ Bravo", "- Charlie", "+ Delta", "- Echo", "+ Alpha"])


def prepare_switch_list(game):
    write_list(game, "switch.txt", ["+ Delta", "+ Charlie", "+ Alpha", "+ Echo", "- Foxtrot", "+ Bravo"])


def prepare_undo(game):
    must(game.run("move", "Alpha", "--bottom"), "move")


def prepare_redo(game):
    prepare_undo(game)
    must(game.run("undo"), "undo")


def prepare_restore(game):
    prepare_undo(game)
    must(game.run("disable", "Delta"), "disable")


SCENARIOS = [
    Scenario("move", ["move", "Alpha", "--bottom"]),
    Scenario("import-order", ["import", "{root}/order.txt"], prepare_order_list),
    Scenario("import-switch", ["import", "{root}/switch.txt"], prepare_switch_list),
    Scenario("disable", ["disable", "Delta"]),
    Scenario("enable", ["enable", "Charlie"]),
    Scenario("set-time", ["set-time", "Foxtrot", "2022-06-01"]),
    Scenario("install", ["install", "{incoming}/Hotel.pak"]),
    Scenario("undo", ["undo"], prepare_undo),
    Scenario("redo", ["redo"], prepare_redo),
    Scenario("restore", ["restore", "1", "--yes"], prepare_restore),
    # prepared by run_scenario: a move killed half-way
    Scenario("recover", ["recover"]),
]


class MoveKilledHalfway:
    """Kills `move` at its middle time write, leaving a pak dated apart from
    its .MAN; the recovery is what the scenario kills."""

    def __init__(self, point):
        self.point = point

    def __call__(self, game):
        baseline = game.snapshot()
        log = os.path.join(game.root, "move.trace")
        result = game.run("move", "Alpha", "--bottom", strace=kill_args(self.point, log))
        if not killed_by_sigkill(result):
            raise HarnessError(f"move was not killed at {self.point.label()} (exit {result.returncode})")
        if not game.unfinished() or game.snapshot() == baseline:
            raise HarnessError(f"move killed at {self.point.label()} left nothing to recover")
        return baseline


# ---------------------------------------------------------------- one kill point

class Outcome:
    def __init__(self):
        self.failures = []  # invariants broken
        self.notes = []     # worth saying, not failures
        self.unfinished = False
        self.reached = True


class Runner:
    def __init__(self, program, workdir):
        self.program = program
        self.workdir = workdir
        self.counter = 0
        self.lock = threading.Lock()

    def fresh(self, scenario):
        with self.lock:
            self.counter += 1
            root = os.path.join(self.workdir, f"{scenario.name}-{self.counter}")
        game = Game(self.program, root)
        baseline = game.snapshot()
        if scenario.prepare:
            given = scenario.prepare(game)
            baseline = given if given is not None else game.snapshot()
        return game, baseline

    def clean_run(self, scenario):
        """The scenario's kill points and the folder it leaves when it ends."""
        game, _ = self.fresh(scenario)
        log = os.path.join(game.root, "clean.trace")
        result = game.run(*scenario.args(game), strace=["-s", "200", "-o", log, "-e", "trace=" + ",".join(MUTATING)])
        must(result, f"{scenario.name} (clean run)")
        points = kill_points(read_calls(log, game.root))
        done = game.snapshot()
        shutil.rmtree(game.root, ignore_errors=True)
        return points, done

    def check(self, scenario, point, result_state, keep):
        game, baseline = self.fresh(scenario)
        outcome = Outcome()
        try:
            self.check_in(game, baseline, scenario, point, result_state, keep, outcome)
        finally:
            shutil.rmtree(game.root, ignore_errors=True)
        return outcome

    def check_in(self, game, baseline, scenario, point, result_state, keep, o):
        fail = o.failures.append
        log = os.path.join(game.root, "kill.trace")
        killed = game.run(*scenario.args(game), strace=kill_args(point, log))
        if not killed_by_sigkill(killed):
            o.reached = False
            o.notes.append(f"not reached: {scenario.name} exited {killed.returncode}")
            return
        calls = [c for n, c in read_calls(log, game.root) if n == point.name]
        if len(calls) != point.index or not same_call(calls[-1], point.call):
            raise HarnessError(f"{point.label()} is another call than in the clean run: "
                               f"{brief(calls[-1] if calls else 'none', 160)}")
        after_kill = game.snapshot()
        o.unfinished = bool(game.unfinished())
        recover = ["recover", "--keep"] if keep else ["recover"]

        if not o.unfinished:
            # Killed before the record was begun or after it was completed.
            if after_kill != baseline and not same_outcome(after_kill, result_state, baseline):
                fail("no unfinished record, yet the folder is neither as before nor as the action leaves it: "
                     + "; ".join(differences(after_kill, baseline)))
            r = game.run(*recover)
            if r.returncode != 0:
                fail(f"'{' '.join(recover)}' with nothing to recover exited {r.returncode}: {brief(r.stderr)}")
            if game.snapshot() != after_kill:
                fail(f"'{' '.join(recover)}' with nothing to recover changed the folder: "
                     + "; ".join(differences(game.snapshot(), after_kill)))
        else:
            r = game.run("set-time", OTHER_MOD, "2023-01-01")
            if r.returncode == 0:
                fail("set-time ran while an action was unfinished")
            if game.snapshot() != after_kill:
                fail("a refused set-time changed the folder: " + "; ".join(differences(game.snapshot(), after_kill)))
            r = game.run(*recover)
            recovered = game.snapshot()
            if r.returncode != 0:
                fail(f"'{' '.join(recover)}' exited {r.returncode}: {brief(r.stderr)}")
            if keep:
                if recovered != after_kill:
                    fail("recover --keep changed the folder: " + "; ".join(differences(recovered, after_kill)))
                o.notes.extend(f"kept parted: {p}" for p in parted(recovered))
            else:
                if parted(recovered):
                    fail("after recover: " + "; ".join(parted(recovered)))
                if temporaries(recovered):
                    fail("after recover, temporary files in PAKS: " + ", ".join(temporaries(recovered)))
                if recovered != baseline:
                    fail("recover did not put the folder back: " + "; ".join(differences(recovered, baseline)))
            stale = [f for _, _, files in os.walk(game.state) for f in files if f.endswith(".tmp")]
            if stale:
                o.notes.append("temporary files left in the records' folder: " + ", ".join(sorted(stale)))
            left = game.unfinished()
            if left:
                fail(f"after '{' '.join(recover)}' the history still shows unfinished: "
                     + ", ".join(f"{r['action']} (record {r['sequence']})" for r in left))
        r = game.run("set-time", OTHER_MOD, "2023-01-01")
        if r.returncode != 0:
            fail(f"set-time after '{' '.join(recover)}' exited {r.returncode}: {brief(r.stderr)}")


TEMPORARY_NAME = re.compile(r"\.\d+-\d+\.tmp")


def same_call(a, b):
    """Whether a killed call is the clean run's: the same file or paths
    (a write's bytes and a time set aside: they hold the clock)."""
    def arguments(call):
        if call.startswith(("write(", "pwrite64(")):
            return call.split(",", 1)[0]
        # The paths (a time set depends on the clock; a temporary file's
        # name holds the process id).
        names = [TEMPORARY_NAME.sub(".tmp", name) for name in STRING.findall(call)]
        return names or re.sub(RESULT, "", call)
    return arguments(a) == arguments(b)


# ---------------------------------------------------------------- a second writer

def concurrent_writer(runner):
    """A second pakorder writing while an install copies: refused, and the
    copy is left alone. Returns the broken invariants."""
    failures = []
    game = Game(runner.program, os.path.join(runner.workdir, "concurrent"),
                big_install=[("Hotel.pak", 4 * MB, INSTALLED[0][2]), INSTALLED[1]])
    before = game.snapshot()
    installer = game.start("install", os.path.join(game.incoming, "Hotel.pak"),
                           strace=["-o", "/dev/null", "-e", "inject=write:delay_enter=50000"])
    try:
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and installer.poll() is None:
            has_record = any(f.startswith("change-") for _, _, files in os.walk(game.state) for f in files)
            if has_record and os.path.exists(os.path.join(game.paks, "Hotel.pak")):
                break
            time.sleep(0.02)
        else:
            raise HarnessError("the install did not begin its copy in time" if installer.poll() is None
                               else "the install ended before its copy was seen")

        r = game.run("set-time", OTHER_MOD, "2023-01-01")
        if r.returncode != 1:
            failures.append(f"set-time during the install exited {r.returncode}, not 1")
        if "another" not in r.stderr.lower():
            failures.append(f"set-time during the install does not say another PakOrder is writing: {brief(r.stderr)}")
        if game.snapshot()[OTHER_MOD + ".PAK"] != before[OTHER_MOD + ".PAK"]:
            failures.append("set-time during the install changed the mod's time")

        r = game.run("recover")
        still_there = os.path.exists(os.path.join(game.paks, "Hotel.pak"))
        says_busy = "another" in (r.stdout + r.stderr).lower()
        if r.returncode == 0 and not says_busy:
            failures.append(f"recover during the install ran: {brief(r.stdout + r.stderr)}")
        if not still_there:
            failures.append("recover during the install removed Hotel.pak as it was being copied")
        if installer.poll() is not None:
            raise HarnessError("the install ended before the second writer's checks")
    finally:
        try:
            _, err = installer.communicate(timeout=RUN_TIMEOUT)
        except subprocess.TimeoutExpired:
            installer.kill()
            _, err = installer.communicate()
    if installer.returncode != 0:
        failures.append(f"the install exited {installer.returncode}: {brief(err)}")
    for name in ("Hotel.pak", "Hotel.pak.MAN"):
        copied, source = os.path.join(game.paks, name), os.path.join(game.incoming, name)
        if not os.path.exists(copied):
            failures.append(f"after the install {name} is not in PAKS")
        elif not same_bytes(copied, source):
            failures.append(f"after the install {name} is not whole ({os.path.getsize(copied)} of {os.path.getsize(source)} bytes)")
    leftover = parted(game.snapshot())
    if leftover:
        failures.append("after the install: " + "; ".join(leftover))
    shutil.rmtree(game.root, ignore_errors=True)
    return failures


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


# ---------------------------------------------------------------- the run

class CaseResult:
    def __init__(self, name):
        self.name = name
        self.failures = []
        self.error = None
        self.seconds = 0.0
        self.points = 0
        self.failing_points = 0
        self.skipped = None


def run_scenario(runner, pool, scenario, keep_going, verbose):
    case = CaseResult(scenario.name)
    started = time.monotonic()
    try:
        if scenario.name == "recover":
            move_points, _ = runner.clean_run(SCENARIOS[0])
            times = [p for p in move_points if p.name == "utimensat"]
            if len(times) < 2:
                raise HarnessError("move writes fewer than two times: no middle to kill it at")
            # The last time write: the moved pak is re-timed, its .MAN not yet.
            scenario = Scenario(scenario.name, scenario.command, MoveKilledHalfway(times[-1]))
        points, result_state = runner.clean_run(scenario)
        case.points = len(points)
        # Plain recovery at every point, then --keep where something was left unfinished.
        stop = threading.Event()

        def one(point):
            if stop.is_set():
                return None
            plain = runner.check(scenario, point, result_state, keep=False)
            kept = runner.check(scenario, point, result_state, keep=True) if plain.unfinished else None
            if not keep_going and (plain.failures or (kept and kept.failures)):
                stop.set()
            return plain, kept

        for point, done in zip(points, pool.map(one, points)):
            if done is None:
                continue
            plain, kept = done
            if verbose:
                state = "unfinished" if plain.unfinished else "nothing unfinished" if plain.reached else "not reached"
                print(f"  {scenario.name} {point.describe()}: {state}")
            for note in plain.notes + (kept.notes if kept else []):
                print(f"  {scenario.name} {point.label()}: {note}")
            for failure in plain.failures:
                case.failures.append(f"{point.describe()}: {failure}")
            for failure in kept.failures if kept else []:
                case.failures.append(f"{point.describe()} (recover --keep): {failure}")
            if plain.failures or (kept and kept.failures):
                case.failing_points += 1
            if case.failures and not keep_going:
                break  # the points still queued see `stop` and return at once
    except HarnessError as error:
        case.error = str(error)
    except subprocess.TimeoutExpired as error:
        case.error = f"timed out: {error}"
    case.seconds = time.monotonic() - started
    return case


def junit(cases, path, seconds):
    failed = sum(1 for c in cases if c.failures or c.error)
    lines = [f'<testsuites tests="{len(cases)}" failures="{failed}" time="{seconds:.1f}">',
             f'  <testsuite name="crash_tests" tests="{len(cases)}" failures="{failed}" time="{seconds:.1f}">']
    for c in cases:
        lines.append(f'    <testcase classname="crash_tests" name={quoteattr(c.name)} time="{c.seconds:.1f}">')
        if c.skipped:
            lines.append(f'      <skipped message={quoteattr(c.skipped)}/>')
        elif c.error:
            lines.append(f'      <failure message={quoteattr("harness: " + c.error)}/>')
        elif c.failures:
            message = (f"{c.failing_points} of {c.points} kill points broke an invariant" if c.points
                       else f"{len(c.failures)} invariant(s) broken")
            lines.append(f'      <failure message={quoteattr(message)}>{escape(chr(10).join(c.failures))}</failure>')
        lines.append("    </testcase>")
    lines += ["  </testsuite>", "</testsuites>"]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("pakorder", help="the native pakorder to test")
    parser.add_argument("--scenario", action="append",
                        help="run only this scenario (repeatable): " + ", ".join(s.name for s in SCENARIOS) + ", concurrent")
    parser.add_argument("--keep-going", action="store_true", help="report every failing kill point, not the first of each scenario")
    parser.add_argument("--junit", help="write a JUnit report here")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--verbose", action="store_true", help="name every kill point and what it left")
    options = parser.parse_args()

    program = os.path.abspath(options.pakorder)
    names = options.scenario or [s.name for s in SCENARIOS] + ["concurrent"]
    unknown = set(names) - {s.name for s in SCENARIOS} - {"concurrent"}
    if unknown:
        parser.error("unknown scenario: " + ", ".join(sorted(unknown)))
    if not shutil.which("strace"):
        parser.error("strace is not installed")
    # Where tracing is not allowed (a container without ptrace) nothing can be tested.
    probe = subprocess.run(["strace", "-qq", "-o", "/dev/null", "--", "true"], capture_output=True, text=True)
    if probe.returncode != 0:
        why = "strace cannot trace here: " + brief(probe.stderr)
        print(why)
        if options.junit:
            cases = [CaseResult(name) for name in names]
            for case in cases:
                case.skipped = why
            junit(cases, options.junit, 0.0)
        return 0

    started = time.monotonic()
    workdir = tempfile.mkdtemp(prefix="pakorder-crash-")
    runner = Runner(program, workdir)
    cases = []
    try:
        with concurrent.futures.ThreadPoolExecutor(options.workers) as pool:
            for scenario in SCENARIOS:
                if scenario.name not in names:
                    continue
                case = run_scenario(runner, pool, scenario, options.keep_going, options.verbose)
                cases.append(case)
                state = "error" if case.error else f"{case.failing_points} failing" if case.failures else "ok"
                print(f"{scenario.name}: {case.points} kill points, {state} ({case.seconds:.1f} s)")
                if case.error:
                    print(f"  harness: {case.error}")
                for failure in case.failures:
                    print(f"  {failure}")
        if "concurrent" in names:
            case = CaseResult("concurrent")
            t = time.monotonic()
            try:
                case.failures = concurrent_writer(runner)
            except HarnessError as error:
                case.error = str(error)
            case.seconds = time.monotonic() - t
            cases.append(case)
            print(f"concurrent: {'error' if case.error else 'ok' if not case.failures else 'failing'} ({case.seconds:.1f} s)")
            for line in ([f"harness: {case.error}"] if case.error else case.failures):
                print(f"  {line}")
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    seconds = time.monotonic() - started
    points = sum(c.points for c in cases)
    failed = [c.name for c in cases if c.failures or c.error]
    print(f"{points} kill points in {len(cases)} cases, {len(failed)} failing"
          + (f" ({', '.join(failed)})" if failed else "") + f"; {seconds:.1f} s")
    if options.junit:
        junit(cases, options.junit, seconds)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
