"""A full row blinks for half a second and goes, in the browser, while the
game is held in its wait; a key pressed meanwhile acts only afterwards, on
the next piece, as Windows delivers it after the blink.

To fill a row on purpose the test chooses the game's random pieces: it
holds the page's clock and runs it on to a tick count whose seed deals two
bars and a square before "New" seeds the generator with it. The seed is
found with the C library's generator (musl, as Emscripten links it), and
the canvas confirms every piece. The clock stays held, so every piece is in
place before it lands, however slowly the machine answers."""

import math
import unittest

import references
from browser import CLIENT_WIDTH, PANEL_GREY
from page_case import PageCase

BAR, SQUARE = 6, 5
# The pieces' colours on the canvas, and their cells about the origin.
COLOURS = {BAR: (0xFF, 0x7F, 0x00), SQUARE: (0x00, 0xFA, 0x00)}
OFFSETS = [
    [(0, 0), (1, 0), (-1, 0), (-1, 1)], [(0, 0), (1, 0), (-1, 0), (1, 1)], [(0, 0), (1, 0), (0, 1), (-1, 1)],
    [(0, 0), (-1, 0), (0, 1), (1, 1)], [(0, 0), (1, 0), (-1, 0), (0, 1)], [(0, 0), (1, 0), (0, 1), (1, 1)],
    [(0, 0), (1, 0), (-1, 0), (2, 0)],
]
LIGHT, DARK = (0xFF, 0xFF, 0xFF), (0x80, 0x80, 0x80)
# The first pixel of the top bevel of the bottom row's first cell.
BOTTOM_LEFT_BEVEL = (13, 56 + 19 * 16 + 1)
SCORE_DIGITS = (14, 17, 92, 40)


def dealt_kinds(seed, count):
    """The kinds NewGame and the landings deal after srand(seed): rand()
    modulo 7, with musl's rand."""
    state = (seed - 1) % 2 ** 64
    kinds = []
    for _ in range(count):
        state = (6364136223846793005 * state + 1) % 2 ** 64
        kinds.append((state >> 33) % 7)
    return kinds


def pixel(pixels, x, y):
    return pixels[y * CLIENT_WIDTH + x]


def cell_colour(pixels, col, row):
    """The fill of a cell of the well."""
    return pixel(pixels, 12 + 16 * col + 8, 56 + 16 * row + 8)


def region(pixels, box):
    left, top, right, bottom = box
    return [pixels[y * CLIENT_WIDTH + x] for y in range(top, bottom) for x in range(left, right)]


def falling_piece_left(pixels):
    """The left edge of whatever lies in the well above its last two rows,
    where the piece dealt after the blink falls for almost two seconds."""
    return min((x for y in range(56, 56 + 18 * 16) for x in range(12, 172) if pixel(pixels, x, y) != PANEL_GREY),
               default=None)


class RowRemoval(PageCase):
    def deal_bar_bar_square(self, page):
        """Holds the clock and chooses "New" at a tick count whose seed deals
        a bar, a bar and a square; returns the kind of the fourth piece."""
        page.hold_clock()
        now = page.clock()
        seed = next(seed for seed in range(math.ceil(now), math.ceil(now) + 200000)
                    if dealt_kinds(seed, 3) == [BAR, BAR, SQUARE])
        # Into the middle of that millisecond, whatever the clock's rounding.
        page.advance(seed + 0.5 - now)
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        return dealt_kinds(seed, 4)[3]

    def move(self, page, key, times):
        # Apart by more than the repeat interval, so each press moves once.
        for _ in range(times):
            page.tap(key, gap_ms=0)
            page.advance(160)

    def wait_until_cells(self, page, cells, kind):
        centres = [[12 + 16 * col + 8, 56 + 16 * row + 8] for col, row in cells]
        return page.advance_until(lambda: page.js("""
            const context = document.getElementById('game').getContext('2d');
            return arguments[0].every(([x, y]) => context.getImageData(x, y, 1, 1).data.slice(0, 3).join() === arguments[1]);
            """, centres, ','.join(map(str, COLOURS[kind]))), 3000, 50)

    def fill_the_bottom_row(self, page):
        """Plays the bars and the square into the bottom row until it blinks
        sunken; returns the kind of the piece dealt after the blink."""
        page.choose_level(9)
        fourth = self.deal_bar_bar_square(page)
        self.move(page, 'Left', 4)
        self.assertTrue(self.wait_until_cells(page, [(col, 19) for col in range(0, 4)], BAR))
        self.assertTrue(self.wait_until_cells(page, [(col, 19) for col in range(4, 8)], BAR))
        # The square comes once the bar has landed, a tick later.
        page.advance(150)
        self.watch_the_bottom_row(page)
        self.move(page, 'Right', 3)
        # The row goes sunken a landing tick and one blink phase after the
        # square fills it.
        self.assertTrue(page.advance_until(lambda: page.js('return bottomRow.sunken !== null;'), 3000))
        return fourth

    def watch_the_bottom_row(self, page):
        """Records in the page when the square first fills the row's last
        two cells, when the row's first cell turns sunken, when it stops
        being sunken, and when a key is pressed after that."""
        page.js("""
            const context = document.getElementById('game').getContext('2d');
            const at = (x, y) => [...context.getImageData(x, y, 1, 1).data.slice(0, 3)].join();
            window.bottomRow = {filled: null, sunken: null, gone: null, pressed: null};
            addEventListener('keydown', () => { if (bottomRow.sunken !== null) bottomRow.pressed = performance.now(); }, true);
            const watch = () => {
              const now = performance.now();
              if (bottomRow.filled === null && at(%d, %d) === '%s') bottomRow.filled = now;
              const bevel = at(%d, %d);
              if (bottomRow.sunken === null && bevel === '128,128,128') bottomRow.sunken = now;
              if (bottomRow.sunken !== null && bottomRow.gone === null && bevel !== '128,128,128') bottomRow.gone = now;
              if (bottomRow.gone === null) setTimeout(watch, 0);
            };
            watch();""" % (12 + 16 * 9 + 8, 56 + 16 * 19 + 8, '0,250,0', BOTTOM_LEFT_BEVEL[0], BOTTOM_LEFT_BEVEL[1]))

    def test_a_full_row_blinks_half_a_second_goes_and_a_key_pressed_meanwhile_acts_after(self):
        page = self.open_page()
        fourth = self.fill_the_bottom_row(page)
        # The Left pressed now must wait for the blink.
        page.tap('Left', gap_ms=0)
        self.assertTrue(page.advance_until(lambda: page.js('return bottomRow.gone !== null;'), 1000))
        row = page.js('return bottomRow;')
        self.assertLess(row['pressed'], row['gone'], 'Left came after the blink, too late to tell anything')
        self.assertGreater(row['sunken'] - row['filled'], 300, row)
        self.assertLess(row['sunken'] - row['filled'], 450, row)
        self.assertGreater(row['gone'] - row['sunken'], 220, row)
        self.assertLess(row['gone'] - row['sunken'], 330, row)
        after = page.canvas_rgb()
        # Row 19 now holds the square's upper half, dropped by one row.
        self.assertEqual([cell_colour(after, col, 19) for col in range(10)], [PANEL_GREY] * 8 + [COLOURS[SQUARE]] * 2)
        self.assertEqual(cell_colour(after, 8, 18), PANEL_GREY)
        # One row at level 9: 10 x (9 + 1) points.
        self.assertSamePixels(region(after, SCORE_DIGITS), region(references.frame('score 100\nlevel 9\n'), SCORE_DIGITS))
        # The fourth piece, dealt at column 5 after the blink, took the Left.
        expected_left = min(16 * (5 + dc) + 12 for dc, dr in OFFSETS[fourth]) - 16
        self.assertTrue(page.advance_until(lambda: falling_piece_left(page.canvas_rgb()) == expected_left, 500, 100))

    def test_a_key_pressed_during_the_blink_after_top_ten_was_chosen_ends_with_its_release_under_the_dialog(self):
        page = self.open_page()
        self.fill_the_bottom_row(page)
        # Both wait for the blink: the dialog opens, then Left is pressed.
        page.choose_top_ten()
        page.hold('Left')
        self.assertTrue(page.advance_until(lambda: page.dialog_open('top-ten'), 1000))
        page.advance(50)
        page.release('Left')
        left = falling_piece_left(page.canvas_rgb())
        page.advance(1000)
        self.assertEqual(falling_piece_left(page.canvas_rgb()), left)

if __name__ == '__main__':
    unittest.main()
