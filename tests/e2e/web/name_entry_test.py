"""A game that ends with a Top Ten place asks for a name and stores it in
the browser, byte for byte as the desktop stores it, for good."""

import unittest

import references
from page_case import PageCase, needs
from top_ten_test import NEGATIVE_TABLE, WAYS_THAT_LEAVE_A_DIALOG_OPEN


class NameEntry(PageCase):
    def play_until_the_name_entry_opens(self, page):
        """Holds Down until the well fills up: every piece drops straight
        down in the middle, clears no row, and the game ends with 0 points,
        which beats every -1 of the table."""
        page.choose_new()
        page.hold('Down')
        opened = page.wait_until(lambda: page.dialog_open('name-entry'), 40000, 100)
        page.release('Down')
        return opened

    @needs('downloads')
    def test_it_keeps_9_characters_stays_open_whatever_the_browser_does_and_the_table_is_the_desktops_after_a_reload(self):
        page = self.open_page()
        page.store_bytes(NEGATIVE_TABLE)
        page.reload()
        self.assertTrue(self.play_until_the_name_entry_opens(page))
        self.assertEqual(page.dialog_rows('name-entry'),
                         [["Well done you're in"], ['the Top Ten with'], ['0', 'points!'], ['Enter your name'], ['']])
        for way in WAYS_THAT_LEAVE_A_DIALOG_OPEN:
            with self.subTest(way.__name__):
                way(page, 'name-entry')
                self.assertStaysOpenWithTheFocus(page, 'name-entry')
        self.assertEqual(page.stored_bytes(), NEGATIVE_TABLE)
        # The focus starts on OK: Tab reaches the name field.
        page.tap('Tab')
        page.type_text('Alexandrina1')
        page.tap('Return')
        self.assertTrue(page.wait_until(lambda: not page.dialog_open('name-entry')))
        expected = references.top_ten_file(0, 'Alexandrina1', NEGATIVE_TABLE)
        self.assertEqual(page.stored_bytes(), expected)
        self.assertEqual(page.download('#save-highscores', 'highscores.dat'), expected)
        page.reload()
        self.assertEqual(page.stored_bytes(), expected)
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        self.assertEqual(page.dialog_rows('top-ten')[:2], [['1', 'Alexandri', '0'], ['2', 'Nobody', '4294967295']])


if __name__ == '__main__':
    unittest.main()
