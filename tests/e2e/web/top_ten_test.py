"""The Top Ten dialog and the table kept in the browser's storage, byte for
byte the desktop's highscores.dat."""

import struct
import unittest

import references
from browser import CLIENT_WIDTH
from page_case import PageCase, needs

# Every place holds -1 points, shown as the unsigned 4294967295.
NEGATIVE_TABLE = references.records([(-1, 'Nobody')] * 10)


def shown_rows(stored):
    """The Top Ten dialog's rows for a table in its stored form: names up
    to their first NUL in Windows-1252, scores as unsigned numbers."""
    data = stored.replace(b'\r\n', b'\n')
    rows = []
    for place in range(10):
        record = data[14 * place:14 * place + 14]
        name = record[4:].split(b'\0')[0]
        text = ''.join(bytes([byte]).decode('cp1252', errors='ignore') or chr(byte) for byte in name)
        rows.append([str(place + 1), text, str(struct.unpack('<I', record[:4])[0])])
    return rows


def escape_twice(page, dialog):
    page.tap('Escape', 'Escape')


def tab_twice(page, dialog):
    # Past its last control the focus would leave it for the page.
    page.tap('Tab', 'Tab')


def tab_twice_then_escape_twice(page, dialog):
    # With the focus outside, Chromium would close it on the second Escape.
    page.tap('Tab', 'Tab', 'Escape', 'Escape')


def the_browser_closes_it(page, dialog):
    page.js('document.getElementById(arguments[0]).close();', dialog)


WAYS_THAT_LEAVE_A_DIALOG_OPEN = [escape_twice, tab_twice, tab_twice_then_escape_twice, the_browser_closes_it]


class TopTen(PageCase):
    def test_with_nothing_stored_it_shows_anonymous_and_0_in_every_place(self):
        page = self.open_page()
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        self.assertEqual(page.dialog_rows('top-ten'), [[str(place), 'Anonymous', '0'] for place in range(1, 11)])
        self.assertEqual(page.focused(), 'OK')
        self.assertIsNone(page.stored_bytes())

    def test_reset_scores_stores_the_140_byte_default_table_and_closes(self):
        page = self.open_page()
        page.store_bytes(NEGATIVE_TABLE)
        page.reload()
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        self.assertEqual(page.dialog_rows('top-ten'), [[str(place), 'Nobody', '4294967295'] for place in range(1, 11)])
        page.tap('Tab', 'Return')
        self.assertTrue(page.wait_until(lambda: not page.dialog_open('top-ten')))
        expected = references.default_top_ten_file()
        self.assertEqual(len(expected), 140)
        self.assertEqual(page.stored_bytes(), expected)

    def test_escape_the_close_box_and_whatever_the_browser_does_leave_it_open(self):
        page = self.open_page()
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        for way in WAYS_THAT_LEAVE_A_DIALOG_OPEN:
            with self.subTest(way.__name__):
                way(page, 'top-ten')
                self.assertStaysOpenWithTheFocus(page, 'top-ten')
        page.click('#top-ten .close-box')
        page.pause(300)
        self.assertTrue(page.dialog_open('top-ten'))
        page.tap('Return')
        self.assertTrue(page.wait_until(lambda: not page.dialog_open('top-ten')))
        self.assertIsNone(page.stored_bytes())

    def test_it_opens_at_the_games_corner_and_grows_with_its_zoom_in_a_browser_without_css_zoom(self):
        page = self.open_page()
        # As Firefox before 126 shows the page: CSS zoom has no effect.
        page.js("const style = document.createElement('style'); style.textContent = '* { zoom: 1 !important; }';"
                "document.head.append(style);")
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        # the viewport in CSS pixels, and the game's zoom there
        for width, height, zoom in [(800, 500, 1), (1300, 1000, 2)]:
            with self.subTest(zoom=zoom):
                page.set_viewport(width, height)
                self.assertTrue(page.wait_until(lambda: page.element_box('#game')[2] == CLIENT_WIDTH * zoom))
                game, dialog = page.element_box('#game'), page.element_box('#top-ten')
                # The template's 178 x 154 units, a caption of 18 pixels and
                # a border of one, each pixel grown as the game's are.
                self.assertEqual(dialog[:4], [game[0], game[1], 269 * zoom, 270.25 * zoom])

    def test_a_game_goes_on_under_it(self):
        page = self.open_page()
        page.hold_clock()
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        self.start_watching(page)
        page.advance(2300)
        self.assertGreaterEqual(len(self.stop_watching(page)['steps']), 2)

    @needs('the file chooser', 'downloads')
    def test_an_opened_file_gives_the_table_the_desktop_makes_of_it_and_save_gives_its_bytes(self):
        whole = references.records([(1000 - i, 'Player%d' % i) for i in range(10)])
        cases = {
            # a record and a half: the rest of the table is empty
            'short': whole[:21],
            # bytes of no meaning, 0x0D 0x0A and 0x1A among them
            'corrupt': bytes((i * 37 + 13) % 256 for i in range(140)),
            # ten records, then more than the table can ever take
            'over-long': whole + bytes(range(256)) * 2,
            # scores whose bytes hold 0x0A, stored as 0x0D 0x0A, and a name
            # of all ten bytes, without its NUL, at the very end
            'with line feeds': references.records([(10, 'Ann'), (2570, 'Bob')] + [(0, '')] * 7 + [(-1, 'Alexandria')]),
            # names whose spaces show as they are
            'spaces': references.records([(9, '  A   B'), (8, ' ')] + [(0, 'x  y')] * 8),
        }
        page = self.open_page()
        for name, data in cases.items():
            with self.subTest(name):
                # The desktop reads the file and, entering a score that
                # does not place, writes back the table it read.
                expected = references.top_ten_file(-2147483648, 'Nobody', data)
                page.open_file(data)
                self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
                self.assertEqual(page.dialog_rows('top-ten'), shown_rows(expected))
                page.tap('Return')
                self.assertEqual(page.download('#save-highscores', 'highscores.dat'), expected)
                page.forget_downloads()

    def test_a_store_the_browser_refuses_is_told_once_and_the_table_lives_on(self):
        page = self.open_page()
        page.store_bytes(NEGATIVE_TABLE)
        page.reload()
        # The browser's storage is full from now on.
        page.js("Storage.prototype.setItem = function() { throw new DOMException('full', 'QuotaExceededError'); };")
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        page.tap('Tab', 'Return')
        self.assertTrue(page.wait_until(lambda: page.message_texts() != []))
        self.assertEqual(page.message_texts(),
                         ["The Top Ten could not be saved to this browser's storage: it is full."])
        page.tap('Return')
        self.assertEqual(page.stored_bytes(), NEGATIVE_TABLE)
        page.choose_top_ten()
        self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
        self.assertEqual(page.dialog_rows('top-ten'), [[str(place), 'Anonymous', '0'] for place in range(1, 11)])

    def test_the_lock_s_wait_is_bounded_without_abort_signal_timeout(self):
        # As in several browsers of 2022 that have the lock: a save goes
        # through, or is told as failed when another tab keeps the lock.
        busy = ["The Top Ten could not be saved to this browser's storage: another tab with this game kept it busy."]
        for kept, told in ((False, []), (True, busy)):
            with self.subTest(kept=kept):
                page = self.open_page()
                page.js('delete AbortSignal.timeout;' +
                        ("navigator.locks.request('highscores.dat', () => new Promise(() => {}));" if kept else ''))
                page.choose_top_ten()
                self.assertTrue(page.wait_until(lambda: page.dialog_open('top-ten')))
                page.tap('Tab', 'Return')
                self.assertTrue(page.wait_until(lambda: not page.dialog_open('top-ten')))
                page.pause(2500)
                self.assertEqual(page.message_texts(), told)
                self.assertEqual(page.stored_bytes(), None if kept else references.default_top_ten_file())

if __name__ == '__main__':
    unittest.main()
