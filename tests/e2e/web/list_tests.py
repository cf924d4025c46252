"""Prints every browser test with each engine it runs in, one a line, for
ctest to run each on its own: engine:module.Class.method. A test marked
chromium_only (page_case.py) is listed for Chromium alone.

With --chromium-only it prints those tests instead, each with what it needs."""

import glob
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)

from browser import ENGINES  # noqa: E402


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


modules = sorted(os.path.basename(path)[:-3] for path in glob.glob(os.path.join(here, '*_test.py')))
for case in cases(unittest.defaultTestLoader.loadTestsFromNames(modules)):
    needs = getattr(getattr(case, case._testMethodName), 'chromium_only', None)
    if '--chromium-only' in sys.argv[1:]:
        if needs:
            print('%s: %s' % (case.id(), needs))
        continue
    for engine in ENGINES:
        if engine == 'chromium' or not needs:
            print('%s:%s' % (engine, case.id()))
