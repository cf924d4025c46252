"""A key held while the page loses the keyboard does not stay held: its
key-up will go elsewhere, so the game forgets it, as the desktop window
does when it loses the focus or opens its menu or a dialog."""

import unittest

import references
from browser import CELL
from page_case import PageCase, needs


def another_tab_comes_to_the_front(page):
    page.another_tab_comes_and_goes()


def the_focus_moves_into_a_frame(page):
    page.js("const frame = document.createElement('iframe'); document.body.append(frame); frame.contentWindow.focus();")


def the_menu_opens(page):
    page.tap('F10')


def tab_takes_the_focus_to_a_button_beside_the_game(page):
    page.tap('Tab', 'Tab')


def a_dialog_opens(page):
    # "Open highscores.dat" shows the table it has read.
    page.open_file(references.records([(5, 'Someone')] * 10))
    if not page.advance_until(lambda: page.dialog_open('top-ten'), 2000, 50):
        raise AssertionError('the Top Ten did not open')


def p_is_pressed(page):
    page.tap('p')


def paused_label_shown(page):
    return page.js("return !document.getElementById('paused').hidden;")


class HeldKeys(PageCase):
    def test_a_paused_game_stands_still_whatever_is_pressed_until_p_goes_on(self):
        page = self.open_page()
        page.hold_clock()
        for pause in [p_is_pressed, another_tab_comes_to_the_front]:
            with self.subTest(pause.__name__):
                page.reload()
                page.choose_new()
                self.assertTrue(page.wait_for_piece())
                pause(page)
                self.assertTrue(page.advance_until(lambda: paused_label_shown(page), 500), 'no pause shown')
                self.start_watching(page)
                for arrow in ['Left', 'Right', 'Up', 'Down'] * 2:
                    page.tap(arrow)
                    page.advance(250)
                self.assertEqual(self.stop_watching(page)['steps'], [], 'the piece moved while paused')
                page.tap('p')
                self.assertTrue(page.advance_until(lambda: not paused_label_shown(page), 500), 'still paused')
                self.start_watching(page)
                page.advance(1100)
                self.assertEqual(len(self.stop_watching(page)['steps']), 1, 'gravity did not go on')

    def test_held_down_is_forgotten_when_the_page_loses_the_keyboard(self):
        page = self.open_page()
        page.hold_clock()
        for lose_keyboard in [another_tab_comes_to_the_front, the_focus_moves_into_a_frame, the_menu_opens,
                              a_dialog_opens, tab_takes_the_focus_to_a_button_beside_the_game]:
            with self.subTest(lose_keyboard.__name__):
                page.reload()
                page.choose_new()
                self.assertTrue(page.wait_for_piece())
                self.start_watching(page)
                page.hold('Down')
                page.advance(250)
                dropping = self.stop_watching(page)['steps']
                self.assertGreaterEqual(len(dropping), 3, 'Down does not drop the piece: %s' % dropping)
                lose_keyboard(page)
                page.advance(150)
                self.start_watching(page)
                page.advance(700)
                steps = self.stop_watching(page)['steps']
                # Gravity alone moves it at most one row in that time.
                self.assertLessEqual(len(steps), 1, steps)
                for step in steps:
                    self.assertEqual(step['top'], CELL, steps)
                page.release('Down')

    @needs('raw key events')
    def test_the_keypads_arrows_without_numlock_move_the_piece_and_a_release_ends_its_own_press(self):
        page = self.open_page()
        # Held before the game starts, the clock puts every press at a known
        # distance from gravity's steps; the keypad's Down goes first, a
        # whole second clear of the first.
        page.hold_clock()
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        # the key's place, what it gives with NumLock off and then on, and
        # how far it moves the piece while held for 220 ms
        for code, arrow, digit, edge, moved in [('Numpad2', 'ArrowDown', '2', 'top', 4 * CELL),
                                                ('Numpad4', 'ArrowLeft', '4', 'left', -2 * CELL),
                                                ('Numpad6', 'ArrowRight', '6', 'left', 2 * CELL)]:
            with self.subTest(code):
                self.start_watching(page)
                page.key_event('down', code, arrow)
                page.advance(220)
                page.key_event('up', code, digit)
                page.advance(700)
                steps = self.stop_watching(page)['steps']
                self.assertEqual(sum(step[edge] for step in steps if step['at'] <= 220), moved, steps)
                # After the release only gravity moves it, a row at most.
                self.assertIn([(step['left'], step['top']) for step in steps if step['at'] > 220], [[], [(0, CELL)]])


if __name__ == '__main__':
    unittest.main()
