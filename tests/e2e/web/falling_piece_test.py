"""The falling piece under gravity and the Down key, timed on the canvas
with the page's clock held, so that they check the rhythm of the game's
timers, not the speed of the machine."""

import unittest

from browser import CELL
from page_case import PageCase, intervals, mean_interval, median


class FallingPiece(PageCase):
    def test_new_deals_a_piece_at_the_top_that_falls_one_row_per_second_at_level_0(self):
        page = self.open_page()
        self.assertIsNone(page.falling_piece_top())
        page.hold_clock()
        self.start_watching(page)
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        self.assertLess(page.falling_piece_top(), 56 + CELL)
        page.advance(3600)
        seen = self.stop_watching(page)
        steps = seen['steps']
        self.assertGreaterEqual(len(steps), 3, steps)
        for step in steps:
            self.assertEqual(step['top'], CELL, steps)
        # The first row a whole interval after the deal, then one a second.
        self.assertGreater(steps[0]['at'] - seen['appearedAt'], 950, seen)
        self.assertLess(steps[0]['at'] - seen['appearedAt'], 1080, seen)
        self.assertGreater(mean_interval(steps), 950, steps)
        self.assertLess(mean_interval(steps), 1080, steps)

    def test_held_down_drops_it_one_row_every_50_milliseconds(self):
        page = self.open_page()
        page.hold_clock()
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        self.start_watching(page)
        page.hold('Down')
        page.advance(500)
        page.release('Down')
        seen = self.stop_watching(page)
        steps = seen['steps']
        self.assertIsNotNone(seen['pressedAt'])
        self.assertGreaterEqual(len(steps), 6, steps)
        for step in steps:
            self.assertEqual(step['top'], CELL, steps)
        # The first row comes one interval after the press, not with it.
        self.assertGreater(steps[0]['at'] - seen['pressedAt'], 30, seen)
        self.assertGreater(median(intervals(steps)), 40, steps)
        self.assertLess(median(intervals(steps)), 70, steps)
        self.assertGreater(mean_interval(steps), 40, steps)
        self.assertLess(mean_interval(steps), 65, steps)


if __name__ == '__main__':
    unittest.main()
