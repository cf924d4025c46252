"""Prints every browser test with each engine it runs in, one a line, for
ctest to run each on its own: engine:module.Class.method. A test marked
with page_case.needs is listed only for the engines that offer what it
needs (browser.OFFERED_BY).

With --needs it prints those tests instead, each with what it needs and the
engines it runs in."""

import glob
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)

from browser import ENGINES, OFFERED_BY  # noqa: E402


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


modules = sorted(os.path.basename(path)[:-3] for path in glob.glob(os.path.join(here, '*_test.py')))
for case in cases(unittest.defaultTestLoader.loadTestsFromNames(modules)):
    needs = getattr(getattr(case, case._testMethodName), 'needs', ())
    engines = [engine for engine in ENGINES if all(engine in OFFERED_BY[need] for need in needs)]
    if '--needs' in sys.argv[1:]:
        if needs:
            print('%s: %s (%s)' % (case.id(), ', '.join(needs), ', '.join(engines)))
        continue
    for engine in engines:
        print('%s:%s' % (engine, case.id()))
