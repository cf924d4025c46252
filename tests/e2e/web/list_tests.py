"""Prints the id of every browser test, one a line, for ctest to run each
on its own: module.Class.method."""

import glob
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)


def ids(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from ids(item)
        else:
            yield item.id()


modules = sorted(os.path.basename(path)[:-3] for path in glob.glob(os.path.join(here, '*_test.py')))
for test_id in ids(unittest.defaultTestLoader.loadTestsFromNames(modules)):
    print(test_id)
