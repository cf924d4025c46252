"""Writes a screenshot of the page during a game, for the documentation;
not a test. The game is dealt and played with the clock held as in the
row-removal test, so its first pieces are the same every time.

usage: screenshot.py OUTPUT.png  (QUADRAFALL_PAGE names the page's index.html)
"""

import sys

from browser import PageSession
from row_removal_test import RowRemoval


def drop(page, moves):
    for key, times in moves:
        for _ in range(times):
            page.tap(key, gap_ms=0)
            page.advance(220)
    page.hold('Down')
    page.advance(1300)
    page.release('Down')
    page.advance(300)


def main():
    with PageSession(width=520, height=420) as page:
        page.open()
        RowRemoval('test_a_full_row_blinks_half_a_second_goes_and_a_key_pressed_meanwhile_acts_after') \
            .deal_bar_bar_square(page)
        drop(page, [('Left', 4)])
        drop(page, [('Up', 1), ('Right', 4)])
        drop(page, [('Right', 1)])
        page.advance(2500)
        with open(sys.argv[1], 'wb') as file:
            file.write(page.screenshot_png())


if __name__ == '__main__':
    main()
