#!/usr/bin/env python3
"""What one ctest run gave, read from the JUnit file that `ctest --output-junit`
writes (not from ctest's text output, whose wording may change).

    ctest_junit.py summary FILE   one line of totals, then "skipped NAME: reason"
                                  for each test that skipped itself
    ctest_junit.py counts FILE [REGEX]
                                  "TESTS FAILED", two numbers for scripts, and
                                  with REGEX a third: the lines of the tests'
                                  output that it matches

A test that cannot apply to a build skips itself (SKIP_RETURN_CODE or
SKIP_REGULAR_EXPRESSION) and prints "skipped: REASON"; its reason is that
line. A test that did not run for any other cause (its program missing) counts
as failed, as ctest counts it.
"""
import re
import sys
import xml.etree.ElementTree as ET

SELF_SKIPS = ("SKIP_RETURN_CODE", "SKIP_REGULAR_EXPRESSION")


def outcome(case):
    """'passed', 'failed', 'skipped' or 'disabled'."""
    status = case.get("status")
    if status == "run":
        return "passed"
    if status == "disabled":
        return "disabled"
    skipped = case.find("skipped")
    if status == "notrun" and skipped is not None and skipped.get("message", "").startswith(SELF_SKIPS):
        return "skipped"
    return "failed"


def skip_reason(case):
    for line in (case.findtext("system-out") or "").splitlines():
        if line.startswith("skipped: "):
            return line[len("skipped: "):].strip()
    return "no reason given"


def main(argv):
    if len(argv) < 3 or (argv[1], len(argv)) not in (("summary", 3), ("counts", 3), ("counts", 4)):
        sys.exit(__doc__)
    cases = list(ET.parse(argv[2]).getroot().iter("testcase"))
    by = {"passed": [], "failed": [], "skipped": [], "disabled": []}
    for case in cases:
        by[outcome(case)].append(case)
    total = len(cases)
    if argv[1] == "counts":
        figures = [total, len(by["failed"])]
        if len(argv) == 4:
            pattern = re.compile(argv[3])
            figures.append(sum(len(pattern.findall(case.findtext("system-out") or "")) for case in cases))
        print(*figures)
        return
    if total == 0:
        print("no tests were found")
        return
    line = f"{len(by['passed'])} of {total} tests passed"
    if by["failed"]:
        line += "; failed: " + ", ".join(c.get("name") for c in by["failed"])
    for kind in ("skipped", "disabled"):
        if by[kind]:
            line += f"; {len(by[kind])} {kind}"
    print(line)
    for case in by["skipped"]:
        print(f"   skipped {case.get('name')}: {skip_reason(case)}")


if __name__ == "__main__":
    main(sys.argv)
