"""Runs one browser test, as ctest runs each: python3 run_case.py
module.Class.method.

WebKitGTK's page process now and then dies of a fault of its own in the
middle of a test (about one test in fifty here: SIGILL at one assertion or
a corrupted heap, in any test, at any step, twice running in one test
once). A test that fails with such a crash under it is run again in a fresh
browser, up to twice, and says so each time. A failure without a crash
fails it at once."""

import sys
import unittest

import browser

RUNS_AFTER_A_CRASH = 2


def run_once(test_id):
    return unittest.main(module=None, argv=['run_case', test_id], exit=False).result.wasSuccessful()


def main(test_id):
    for run in range(1 + RUNS_AFTER_A_CRASH):
        del browser.PAGE_PROCESS_CRASHES[:]
        if run_once(test_id):
            return 0
        if not browser.PAGE_PROCESS_CRASHES or run == RUNS_AFTER_A_CRASH:
            return 1
        print('%s: the page process of %s crashed under the test; once more in a fresh browser'
              % (test_id, browser.PAGE_PROCESS_CRASHES[0]), file=sys.stderr, flush=True)


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
