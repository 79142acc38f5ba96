#!/usr/bin/env python3
"""Checks that includes point down the layers: each folder includes only
from itself and the folders its row below names.

    check_layers.py REPO [--junit FILE]

Prints one line per include that breaks the table and exits 1 when there is
one; --junit writes a report with one case per folder.
"""

import argparse
import os
import re
import sys
from xml.sax.saxutils import escape, quoteattr

# Who may include whom, bottom up. A folder always includes from itself.
ALLOWED = {
    "base": set(),
    "platform": {"base"},
    "mods": {"platform", "base"},
    "cli": {"mods", "platform", "base"},
    "framework": {"base"},
    "controls": {"framework", "base"},
    "dialogs": {"framework", "platform", "base"},
    "res": {"base"},  # the version number
    "app": {"controls", "dialogs", "framework", "mods", "platform", "base", "res"},
    "tools": set(),
    "tests": None,  # anything
}
SOURCES = (".h", ".cpp", ".def", ".rc")
SKIPPED = {"build", "cmake", "docs"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def source_folders(repo):
    for name in sorted(os.listdir(repo)):
        if not name.startswith(".") and name not in SKIPPED and os.path.isdir(os.path.join(repo, name)):
            yield name


def wrong_includes(repo, folder):
    """Lines "file:line: folder includes path" for the folder's wrong arrows."""
    allowed = ALLOWED.get(folder, set())
    found = []
    for root, dirs, files in os.walk(os.path.join(repo, folder)):
        dirs.sort()
        for name in sorted(files):
            if not name.endswith(SOURCES):
                continue
            path = os.path.join(root, name)
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = match.group(1).split("/")[0]
                    # A name without a folder is beside the file, or a system's.
                    if "/" not in match.group(1) or target == folder:
                        continue
                    if allowed is not None and target in ALLOWED and target not in allowed:
                        found.append(f"{os.path.relpath(path, repo)}:{number}: {folder} may not include {match.group(1)}")
    return found


def write_junit(path, results):
    failed = sum(1 for problems in results.values() if problems)
    lines = [f'<testsuites tests="{len(results)}" failures="{failed}">',
             f'  <testsuite name="layers_check" tests="{len(results)}" failures="{failed}">']
    for folder, problems in results.items():
        lines.append(f'    <testcase classname="layers_check" name={quoteattr(folder)}>')
        if problems:
            lines.append(f'      <failure message="{len(problems)} wrong includes">{escape(chr(10).join(problems))}</failure>')
        lines.append("    </testcase>")
    lines += ["  </testsuite>", "</testsuites>"]
    with open(path, "w", encoding="utf-8") as report:
        report.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description="Checks that includes point down the layers.")
    parser.add_argument("repo")
    parser.add_argument("--junit", help="write a JUnit report here")
    options = parser.parse_args()

    results = {}
    for folder in source_folders(options.repo):
        if folder not in ALLOWED:
            results[folder] = [f"{folder}: a folder without a row in the table of tools/check_layers.py"]
        else:
            results[folder] = wrong_includes(options.repo, folder)
    for problems in results.values():
        for problem in problems:
            print(problem)
    if options.junit:
        write_junit(options.junit, results)
    wrong = sum(len(problems) for problems in results.values())
    print(f"{wrong} wrong includes in {len(results)} folders")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
