"""The page itself: the pixels it shows, how large it shows them, and that
it needs nothing but its own folder."""

import http.server
import os
import threading
import unittest

import references
import touch_screen
from browser import CELL, CLIENT_HEIGHT, CLIENT_WIDTH, PAGE
from page_case import PageCase, needs
from row_removal_test import falling_piece_left


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves a folder and notes each path asked for in the server's
    requested list, as no engine's log would."""

    def log_request(self, *arguments):
        self.server.requested.append(self.path)

    def log_message(self, *arguments):
        pass


class Page(PageCase):
    def test_the_idle_frame_on_the_canvas_is_the_software_surfaces_pixel_for_pixel(self):
        page = self.open_page()
        self.assertSamePixels(page.canvas_rgb(), references.frame())

    @needs('a device scale', 'a screenshot')
    def test_every_game_pixel_is_a_square_of_the_largest_whole_zoom_that_fits(self):
        # viewport width and height in CSS pixels, device pixel ratio, zoom;
        # one page goes through them all, as a window resized or moved to
        # another screen does
        cases = [
            (800, 500, 1, 1),
            (800, 500, 2, 2),
            (900, 700, 2, 3),
            (1300, 1000, 1, 2),
            (800, 700, 1.5, 2),
        ]
        reference = references.frame()
        page = self.open_page()
        for width, height, ratio, zoom in cases:
            with self.subTest(width=width, height=height, ratio=ratio):
                page.set_viewport(width, height, ratio)
                # The page fits the game again once the resize reaches it.
                page.wait_until(lambda: round(page.element_box('#game')[2] * ratio) == CLIENT_WIDTH * zoom)
                shot_width, shot_height, shot = references.png_rgb(page.screenshot_png())
                left, top, box_width, box_height, page_ratio = page.element_box('#game')
                self.assertEqual(page_ratio, ratio)
                x0, y0 = round(left * ratio), round(top * ratio)
                self.assertEqual((round(box_width * ratio), round(box_height * ratio)),
                                 (CLIENT_WIDTH * zoom, CLIENT_HEIGHT * zoom))
                wrong = [(x, y) for y in range(CLIENT_HEIGHT * zoom) for x in range(CLIENT_WIDTH * zoom)
                         if shot[(y0 + y) * shot_width + x0 + x] != reference[(y // zoom) * CLIENT_WIDTH + x // zoom]]
                self.assertEqual(wrong[:5], [], '%d device pixels differ' % len(wrong))

    @needs('a touch screen', 'a device scale')
    def test_on_phones_and_tablets_the_page_fits_the_screen_at_a_whole_zoom_beside_its_controls(self):
        # viewport width and height in CSS pixels, device pixel ratio, a
        # touch screen or a mouse, and the zoom
        cases = [
            (360, 800, 3, True, 3), (800, 360, 3, True, 2), (430, 932, 3, True, 4), (932, 430, 3, True, 3),
            (1024, 768, 2, True, 3), (768, 1024, 2, True, 4), (1024, 768, 1, False, 1),
        ]
        page = self.open_page()
        for width, height, ratio, touch, zoom in cases:
            with self.subTest(width=width, height=height, ratio=ratio, touch=touch):
                touch_screen.emulate(page, width, height, ratio, touch)
                page.reload()
                # The document's size and every shown box that reaches past the screen.
                self.assertEqual(page.js("""
                    const outside = [...document.querySelectorAll('body *')].filter((e) => {
                      const box = e.getBoundingClientRect();
                      return box.width * box.height > 0 &&
                             (box.left < 0 || box.top < 0 || box.right > innerWidth || box.bottom > innerHeight);
                    }).map((e) => e.id || e.textContent);
                    const page = document.scrollingElement;
                    return [page.scrollWidth, page.scrollHeight, outside];"""), [width, height, []])
                left, top, box_width, box_height, _ = page.element_box('#game')
                self.assertEqual((box_width * ratio, box_height * ratio), (CLIENT_WIDTH * zoom, CLIENT_HEIGHT * zoom))
                self.assertEqual((left * ratio % 1, top * ratio % 1), (0, 0))
                # The controls, and the menu's titles, large enough for a finger.
                controls = [page.element_box('#touch-controls [data-key="%s"]' % key)[2:4]
                            for key in ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'p']]
                self.assertEqual([size[0] >= 48 and size[1] >= 48 for size in controls], [touch] * 5, controls)
                self.assertEqual(page.element_box('.menu-title')[3], 44 if touch else 20)

    def test_the_games_keys_never_scroll_a_page_smaller_than_the_game(self):
        page = self.open_page(width=240, height=200)
        self.assertGreater(page.js('return document.scrollingElement.scrollHeight;'), 200)
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        self.assertEqual(page.js('return [scrollX, scrollY];'), [0, 0])
        page.tap('Down', 'Space', 'Right', 'Right', 'Right', 'Up', 'Down', 'Down', 'PageDown', 'End')
        self.assertEqual(page.js('return [scrollX, scrollY];'), [0, 0])

    @needs('downloads')
    def test_a_button_beside_the_game_with_the_focus_takes_tab_enter_and_space_and_leaves_the_game_its_keys(self):
        page = self.open_page()
        page.hold_clock()
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        page.js("document.getElementById('highscores-file').onclick = () => { window.chooserOpened = true; };")
        # the button Tab reaches from the game, the key pressed there, and
        # what shows that the key did its work
        for tabs, button, key, done in [
                (1, 'Save highscores.dat', 'Return', lambda: page.downloaded('highscores.dat') is not None),
                (2, 'Open highscores.dat', 'Space', lambda: page.js('return window.chooserOpened === true;')),
                (1, 'Save highscores.dat', 'F10', lambda: page.js('return pageMenu.active;')),
                (2, 'Open highscores.dat', 'Left', lambda: falling_piece_left(page.canvas_rgb()) == left - CELL)]:
            with self.subTest(button=button, key=key):
                page.click('#game')
                page.tap(*['Tab'] * tabs)
                self.assertEqual(page.focused(), button)
                left = falling_piece_left(page.canvas_rgb())
                page.tap(key)
                self.assertTrue(page.wait_until(done))
                page.tap('Escape')

    def test_served_from_a_web_server_it_asks_for_nothing_but_files_of_its_own_folder(self):
        folder = os.path.dirname(PAGE)
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                                 lambda *a: QuietHandler(*a, directory=folder))
        server.requested = []
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.shutdown)
        page = self.open_page()
        page.open('http://127.0.0.1:%d/index.html' % server.server_address[1])
        page.pause(500)
        requested = set(server.requested)
        # The page and its script; the browser may also read the web app's
        # manifest and icons beside them, and its service worker.
        self.assertLessEqual({'/index.html', '/quadrafall.js'}, requested)
        self.assertLessEqual(requested, {'/' + name for name in os.listdir(folder)})


if __name__ == '__main__':
    unittest.main()
