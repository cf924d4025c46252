"""A test case with the game's page in a fresh browser."""

import os
import unittest

from browser import OFFERED_BY, PageSession

HERE = os.path.dirname(os.path.abspath(__file__))


def needs(*what):
    """Marks a test that needs what not every engine's protocol offers
    (browser.OFFERED_BY): it is run only in the engines that offer it all,
    and fails in another."""
    for need in what:
        if need not in OFFERED_BY:
            raise KeyError(need)

    def mark(test):
        test.needs = what
        return test
    return mark


class PageCase(unittest.TestCase):
    def open_page(self, **options):
        """A fresh browser on the page, closed when the test ends."""
        session = PageSession(**options)
        self.addCleanup(session.close)
        session.open()
        return session

    def assertSamePixels(self, seen, expected, what='pixels'):
        """Pixel lists compared without a diff of a hundred thousand items."""
        self.assertEqual(len(seen), len(expected), what)
        wrong = [i for i, (a, b) in enumerate(zip(seen, expected)) if a != b]
        self.assertEqual(len(wrong), 0, '%s: %d differ, the first at %s' % (what, len(wrong), wrong[:5]))

    def assertStaysOpenWithTheFocus(self, session, dialog):
        self.assertTrue(session.wait_until(lambda: session.js(
            'const d = document.getElementById(arguments[0]); return d.open && d.contains(document.activeElement);',
            dialog)), session.open_dialogs())

    def start_watching(self, session):
        """Starts watching the falling piece on the canvas from inside the page."""
        with open(os.path.join(HERE, 'canvas_probe.js')) as file:
            session.js(file.read())
        session.js('canvasProbe.start();')

    def stop_watching(self, session):
        """The moves seen since start_watching: a list of {at, top, left,
        right} in ms and pixels, and when the first key was pressed."""
        return session.js('return canvasProbe.stop();')


def intervals(steps):
    return [later['at'] - earlier['at'] for earlier, later in zip(steps, steps[1:])]


def mean_interval(steps):
    """A tick that comes late shortens the next one, since the timers keep
    their rhythm, so the mean stays true on a busy machine."""
    return (steps[-1]['at'] - steps[0]['at']) / (len(steps) - 1) if len(steps) > 1 else 0


def median(values):
    ordered = sorted(values)
    return ordered[len(ordered) // 2] if ordered else 0
