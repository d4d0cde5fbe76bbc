#!/usr/bin/env python3
"""CTest's counts of one run, from the JUnit file its test presets write.

    scripts/ctest-counts.py BUILD_DIR/ctest-results.xml

Prints "P passed, F failed, S skipped" and then, for each test that did not
pass, its name and the last line it wrote (the reason a skipped test gives).
A test not run because a fixture it needs failed counts as failed, as CTest
counts it.
"""
import sys
import xml.etree.ElementTree as ElementTree


def LastLine(case):
    out = case.findtext("system-out") or ""
    lines = [line.strip() for line in out.splitlines() if line.strip()]
    return lines[-1][:160] if lines else ""


def main():
    cases = ElementTree.parse(sys.argv[1]).getroot().iter("testcase")
    passed, failed, skipped = [], [], []
    for case in cases:
        status = case.get("status")
        skip = case.find("skipped")
        if status == "run":
            passed.append(case)
        elif status == "notrun" and skip is not None and \
                skip.get("message", "").startswith("SKIP_RETURN_CODE"):
            skipped.append(case)
        else:
            failed.append(case)
    print(f"{len(passed)} passed, {len(failed)} failed, {len(skipped)} skipped")
    for word, group in (("failed", failed), ("skipped", skipped)):
        for case in group:
            print(f"  {word}: {case.get('name')}: {LastLine(case)}")


if __name__ == "__main__":
    main()
