#!/usr/bin/env python3
"""Counts a CTest run's results case by case: count-tests.py LOG RESULTS_DIR.

A GoogleTest program registered as one CTest test leaves
RESULTS_DIR/<test>.xml, whose cases are counted one by one; any other test
counts as one. Prints "passed N", "failed N", then a line per failure.
A program that failed without a failing case in its report (it crashed, or
its report is missing) counts as one failure under its own name.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

LINE = re.compile(r"Test +#\d+: (\S+) [ .]*(\*\*\*)?(.*?)\s+[0-9.]+ sec")


def cases(report):
    """(passed, failed names) of a GoogleTest XML report, or None."""
    try:
        root = ET.parse(report).getroot()
    except (OSError, ET.ParseError):
        return None
    passed, failed = 0, []
    for case in root.iter("testcase"):
        if case.get("status") == "notrun":
            continue
        if case.find("failure") is not None:
            failed.append(f"{case.get('classname')}.{case.get('name')}")
        else:
            passed += 1
    return passed, failed


def main():
    log, results = sys.argv[1], sys.argv[2]
    passed, failures = 0, []
    with open(log, errors="replace") as f:
        for line in f:
            m = LINE.search(line)
            if not m:
                continue
            name, ok = m.group(1), m.group(2) is None or m.group(3).startswith("Skipped")
            report = cases(os.path.join(results, name + ".xml"))
            if report is None:
                passed += ok
                failures += [] if ok else [name]
                continue
            passed += report[0]
            failures += [f"{name}: {case}" for case in report[1]]
            if not ok and not report[1]:
                failures.append(f"{name} (the program failed: {m.group(3).strip()})")
    print(f"passed {passed}")
    print(f"failed {len(failures)}")
    for failure in failures:
        print(failure)


if __name__ == "__main__":
    main()
