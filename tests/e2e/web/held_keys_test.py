"""A key held while the page loses the keyboard does not stay held: its
key-up will go elsewhere, so the game forgets it, as the desktop window
does when it loses the focus or opens its menu or a dialog."""

import unittest

import references
import touch_screen
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
        # the key's place, what it gives with NumLock off and then on, how
        # far it moves the piece while held for 220 ms, and where the focus
        # is; the last row's release, with the focus on a button, must still
        # end what its press began
        for code, arrow, digit, edge, moved, focus in [
                ('Numpad2', 'ArrowDown', '2', 'top', 4 * CELL, '#game'),
                ('Numpad4', 'ArrowLeft', '4', 'left', -2 * CELL, '#game'),
                ('Numpad6', 'ArrowRight', '6', 'left', 2 * CELL, '#game'),
                ('Numpad4', 'ArrowLeft', '4', 'left', -2 * CELL, '#save-highscores')]:
            with self.subTest(code=code, focus=focus):
                page.js('document.querySelector(arguments[0]).focus();', focus)
                self.start_watching(page)
                page.key_event('down', code, arrow)
                page.advance(220)
                page.key_event('up', code, digit)
                page.advance(700)
                steps = self.stop_watching(page)['steps']
                self.assertEqual(sum(step[edge] for step in steps if step['at'] <= 220), moved, steps)
                # After the release only gravity moves it, a row at most.
                self.assertIn([(step['left'], step['top']) for step in steps if step['at'] > 220], [[], [(0, CELL)]])

    @needs('a touch screen')
    def test_a_finger_holds_its_control_as_a_key_two_fingers_hold_two_and_sliding_off_lifts(self):
        page = self.open_page()
        touch_screen.emulate(page, 390, 844, 3)
        page.hold_clock()
        # The left and top edges of what lies in the well, at one instant.
        where = lambda: page.js("""
            const d = document.getElementById('game').getContext('2d').getImageData(12, 56, 160, 320).data;
            let left = 160, top = 320;
            for (let i = 0; i < d.length; i += 4) {
              if (d[i] === 192 && d[i + 1] === 192 && d[i + 2] === 192) continue;
              left = Math.min(left, (i / 4) % 160);
              top = Math.min(top, Math.floor(i / 640));
            }
            return [left, top];""")
        # each phase: the controls under the fingers by their key, 'off'
        # for a finger slid onto the page beside them, how long they stay,
        # and the cells the piece moves left and down meanwhile (at least as
        # many down while Down is held, at most one by gravity else; None:
        # not counted).
        for name, phases in [
                ('Left slid off', [({1: 'ArrowLeft'}, 60, None, None), ({1: 'off'}, 450, 0, None)]),
                ('Left held repeats as its key', [({1: 'ArrowLeft'}, 400, 3, 0), ({}, 400, 0, 0)]),
                ('Down held, Left tapped', [({1: 'ArrowDown'}, 220, 0, 3), ({1: 'ArrowDown', 2: 'ArrowLeft'}, 60, 1, 1),
                                           ({1: 'ArrowDown'}, 320, 0, 6), ({}, 300, 0, 0)]),
                ('Pause tapped, Left held', [({1: 'p'}, 60, 0, 0), ({}, 60, 0, 0), ({1: 'ArrowLeft'}, 400, 0, 0)])]:
            with self.subTest(name):
                touch_screen.touch(page, {})
                page.reload()
                page.choose_new()
                self.assertTrue(page.wait_for_piece())
                points = {key: touch_screen.centre(page, '#touch-controls [data-key="%s"]' % key)
                          for key in ['ArrowLeft', 'ArrowDown', 'p']}
                points['off'] = (5, page.element_box('#side')[1] + 5)
                for fingers, ms, left, down in phases:
                    before = where()
                    touch_screen.touch(page, {finger: points[key] for finger, key in fingers.items()})
                    page.advance(ms)
                    after = where()
                    if left is not None:
                        self.assertEqual(before[0] - after[0], left * CELL, fingers)
                    rows = (after[1] - before[1]) // CELL
                    if down is not None:
                        self.assertTrue(rows >= down if 'ArrowDown' in fingers.values() else rows <= 1, (fingers, rows))
                touch_screen.touch(page, {})
                # The Pause control shows the pause, however it came.
                self.assertEqual(page.js('return document.querySelector(\'#touch-controls [data-key="p"]\').ariaPressed;'),
                                 'true' if paused_label_shown(page) else 'false')
                self.assertEqual(paused_label_shown(page), name.startswith('Pause'))

if __name__ == '__main__':
    unittest.main()
