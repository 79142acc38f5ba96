"""Cases of a test written as a script: each a function that raises
CaseFailed (or an AssertionError) when its outcome is wrong, or Skipped
when what it needs is not installed. Prints one line per case, writes the
JUnit report the project's test command counts, and exits 1 on a failure.
"""

import sys
import time
import traceback
from xml.sax.saxutils import escape, quoteattr


class CaseFailed(Exception):
    pass


class Skipped(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CaseFailed(message)


def run_cases(suite, cases, junit_path=None):
    """cases: (name, function) pairs, run in order."""
    results = []  # name, seconds, outcome ("passed", "failed", "skipped"), detail
    for name, function in cases:
        started = time.monotonic()
        try:
            function()
            outcome, detail = "passed", ""
        except Skipped as why:
            outcome, detail = "skipped", str(why)
        except (CaseFailed, AssertionError) as failure:
            outcome, detail = "failed", str(failure)
        except Exception:  # the harness itself: a failure, with where
            outcome, detail = "failed", traceback.format_exc()
        results.append((name, time.monotonic() - started, outcome, detail))
        print(f"{outcome:7} {name}" + (f": {detail}" if detail else ""), flush=True)

    failed = sum(1 for r in results if r[2] == "failed")
    if junit_path:
        lines = [f'<testsuites tests="{len(results)}" failures="{failed}">',
                 f'  <testsuite name="{suite}" tests="{len(results)}" failures="{failed}">']
        for name, seconds, outcome, detail in results:
            lines.append(f'    <testcase classname="{suite}" name={quoteattr(name)} time="{seconds:.1f}">')
            if outcome == "skipped":
                lines.append(f"      <skipped message={quoteattr(detail)}/>")
            elif outcome == "failed":
                lines.append(f'      <failure message="failed">{escape(detail)}</failure>')
            lines.append("    </testcase>")
        lines += ["  </testsuite>", "</testsuites>"]
        with open(junit_path, "w", encoding="utf-8") as report:
            report.write("\n".join(lines) + "\n")
    print(f"{len(results) - failed} of {len(results)} cases passed or skipped, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit("a module of the script tests, not a test")
