"""Writes screenshots of the page during a game, for the documentation;
not a test. The game is dealt and played with the clock held as in the
row-removal test, so its first pieces are the same every time.

usage: screenshot.py OUTPUT.png        a desktop's window
       screenshot.py --touch FOLDER    web-phone-playing.png, web-phone-name-entry.png
                                       and web-tablet-landscape.png, in Chromium's
                                       emulation of a touch screen
(QUADRAFALL_PAGE names the page's index.html)
"""

import os
import sys

import touch_screen
from browser import PageSession
from row_removal_test import RowRemoval
from top_ten_test import NEGATIVE_TABLE


def drop(page, moves):
    for key, times in moves:
        for _ in range(times):
            page.tap(key, gap_ms=0)
            page.advance(220)
    page.hold('Down')
    page.advance(1300)
    page.release('Down')
    page.advance(300)


def play(page):
    RowRemoval('test_a_full_row_blinks_half_a_second_goes_and_a_key_pressed_meanwhile_acts_after') \
        .deal_bar_bar_square(page)
    drop(page, [('Left', 4)])
    drop(page, [('Up', 1), ('Right', 4)])
    drop(page, [('Right', 1)])
    page.advance(2500)


def write(path, png):
    with open(path, 'wb') as file:
        file.write(png)


def touch_screens(folder):
    with PageSession() as page:
        page.open()
        for name, width, height, ratio in [('web-phone-playing.png', 390, 844, 3),
                                           ('web-tablet-landscape.png', 1024, 768, 2)]:
            touch_screen.emulate(page, width, height, ratio)
            page.reload()
            play(page)
            write(os.path.join(folder, name), page.screenshot_png())
        # A game that ends in the Top Ten; the name typed with the
        # on-screen keyboard up, which leaves the top 508 pixels in view.
        touch_screen.emulate(page, 390, 844, 3)
        page.store_bytes(NEGATIVE_TABLE)
        page.reload()
        page.choose_new()
        page.hold('Down')
        page.advance_until(lambda: page.dialog_open('name-entry'), 60000, 500)
        page.release('Down')
        page.click('#name-entry input')
        page.type_text('Alex')
        touch_screen.emulate(page, 390, 508, 3)
        page.advance(100)
        write(os.path.join(folder, 'web-phone-name-entry.png'), page.screenshot_png())


def main():
    if sys.argv[1] == '--touch':
        touch_screens(sys.argv[2])
        return
    with PageSession(width=520, height=420) as page:
        page.open()
        play(page)
        write(sys.argv[1], page.screenshot_png())


if __name__ == '__main__':
    main()
