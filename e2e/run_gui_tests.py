#!/usr/bin/env python3
"""GUI tests of tavro.exe under Wine and Xvfb: run_gui_tests.py BUILD_DIR [CASE...]

BUILD_DIR is the windows preset's build folder; screenshots go to BUILD_DIR/e2e-artifacts, the
Wine prefix is BUILD_DIR/wineprefix. Prints one line per case, then "N passed, N failed".
"""

import os
import sys
import time
import traceback

from harness import TestFailure, Wine
from journeys import Journeys


def main(build_dir, *wanted):
    build_dir = os.path.abspath(build_dir)
    artifacts = os.path.join(build_dir, "e2e-artifacts")
    os.makedirs(artifacts, exist_ok=True)
    wine = Wine(os.path.join(build_dir, "wineprefix"))
    xvfb = wine.start_display()
    passed = failed = 0
    try:
        wine.prepare()
        cases = Journeys(wine, build_dir, artifacts)
        for name in sorted(n for n in dir(cases) if n.startswith("test_") and (not wanted or n[5:] in wanted)):
            # Wine under Xvfb is slow and busy machines make it slower: a case that fails is
            # run once more on a clean slate, and both outcomes are printed.
            for attempt in (1, 2):
                started = time.monotonic()
                try:
                    cases.run(name)
                    passed += 1
                    print("PASS %s (%.1f s)%s" % (name[5:], time.monotonic() - started,
                                                  " on the second attempt" if attempt == 2 else ""), flush=True)
                    break
                except Exception as error:  # a case's failure must not stop the others
                    print("%s %s: %s" % ("FAIL" if attempt == 2 else "RETRY", name[5:], error), flush=True)
                    if not isinstance(error, TestFailure):
                        traceback.print_exc()
                    # Whatever the case left running must not meet the next one.
                    wine.stop()
                    wine.prepare()
                    failed += attempt == 2
    finally:
        wine.stop()
        xvfb.terminate()
    print("screenshots: %s" % artifacts)
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) > 1 else __doc__)
