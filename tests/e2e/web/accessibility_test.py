"""The page for everyone: axe-core finds nothing critical or serious in it,
idle, with each list of the menu open and with each dialog open, on a
desktop and on a phone (Chromium's emulation of one)."""

import unittest

import touch_screen
from page_case import PageCase, needs
from top_ten_test import NEGATIVE_TABLE


def the_name_entry_opens(page):
    # Down held from the start fills the well with no row cleared: 0 points
    # beat the stored -1s.
    page.store_bytes(NEGATIVE_TABLE)
    page.hold_clock()
    page.choose_new()
    page.hold('Down')
    page.advance_until(lambda: page.dialog_open('name-entry'), 60000, 500)
    page.release('Down')
    # axe-core waits on the page's timers.
    page.free_clock()
    return page.dialog_open('name-entry')


STATES = [
    ('idle', lambda page: True),
    ('the Game menu open', lambda page: page.click('#menu-bar .menu-title') or page.js('return pageMenu.active;')),
    ('the Level list open', lambda page: page.tap('F10', 'Down', 'Down', 'Right') or page.js('return pageMenu.active;')),
    ('the empty item highlighted', lambda page: page.tap('F10', 'Right') or page.js('return pageMenu.title === 1;')),
    ('the Top Ten open', lambda page: page.choose_top_ten() or page.wait_until(lambda: page.dialog_open('top-ten'))),
    ('the name entry open', the_name_entry_opens),
]


class Accessibility(PageCase):
    def check_every_state(self, page):
        for state, reach in STATES:
            with self.subTest(state=state):
                page.reload()
                self.assertTrue(reach(page), 'the page did not reach the state')
                self.assertEqual(touch_screen.axe_violations(page), [])

    def test_axe_core_finds_nothing_critical_or_serious_in_any_state_on_a_desktop(self):
        self.check_every_state(self.open_page())

    @needs('a touch screen')
    def test_axe_core_finds_nothing_critical_or_serious_in_any_state_on_a_phone(self):
        page = self.open_page()
        touch_screen.emulate(page, 390, 844, 3)
        self.check_every_state(page)


if __name__ == '__main__':
    unittest.main()
