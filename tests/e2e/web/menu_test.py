"""The menu bar: the desktop's items, the Level tick, and "Exit"."""

import unittest

import references
from browser import CLIENT_WIDTH
from page_case import PageCase, needs

# The level readout's digit on the canvas: left, top, right, bottom.
LEVEL_DIGIT = (157, 17, 170, 40)


def region(pixels, box):
    left, top, right, bottom = box
    return [pixels[y * CLIENT_WIDTH + x] for y in range(top, bottom) for x in range(left, right)]


def stroke(code, key, *between):
    """A key going down, the strokes between, and the key coming up."""
    return [('down', code, key), *between, ('up', code, key)]


class Menu(PageCase):
    def ticked_levels(self, page):
        """The Level items that show a tick."""
        return page.js("""
            return [...document.querySelectorAll('#menu-bar [role=menuitemradio]')]
              .filter(item => getComputedStyle(item, '::before').content.includes('\\u2713'))
              .map(item => item.firstChild.textContent.trim());""")

    def test_the_menu_holds_the_desktops_items_in_order_with_set_keys_shown_but_not_available(self):
        page = self.open_page()
        menus = page.js("""
            const texts = (list) => [...list.children].map(item => item.firstChild.textContent.trim());
            return [[...document.querySelectorAll('#menu-bar .menu-title')].map(title => title.textContent),
                    texts(document.querySelector('#menu-bar .drop-down')),
                    texts(document.querySelector('#menu-bar .drop-down .drop-down'))];""")
        self.assertEqual(menus, [['Game', ''], ['New', 'Level', 'Top Ten', 'Set Keys', 'Exit'],
                                 ['0', '1', '2', '3', '4', '5', '6', '7', '8', '9']])
        # Chosen from the keyboard, "Set Keys" does nothing and the menu stays.
        page.tap('F10', 'Down', 'Down', 'Down', 'Down', 'Return')
        self.assertEqual(page.open_dialogs(), [])
        self.assertTrue(page.js("return pageMenu.active && !document.querySelector('#menu-bar .drop-down').hidden;"))
        # With "Level" and its "1" highlighted, both lists show dark text and
        # tick, and only the highlighted items inverted.
        page.tap('Up', 'Up', 'Right', 'Down')
        colours = page.js("""
            return [...document.querySelectorAll('#menu-bar .drop-down > li')].map(item => [
              item.firstChild.textContent.trim(), item.classList.contains('highlighted'),
              getComputedStyle(item).color, getComputedStyle(item, '::before').color]);""")
        for text, highlighted, colour, tick in colours:
            self.assertEqual([colour, tick], ['rgb(255, 255, 255)' if highlighted else 'rgb(0, 0, 0)'] * 2, text)

    def test_the_level_tick_moves_to_the_chosen_level_and_new_starts_there(self):
        page = self.open_page()
        self.assertEqual(self.ticked_levels(page), ['0'])
        page.choose_level(5)
        page.pause(100)
        self.assertEqual(self.ticked_levels(page), ['5'])
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        self.assertSamePixels(region(page.canvas_rgb(), LEVEL_DIGIT), region(references.frame('level 5\n'), LEVEL_DIGIT))

    @needs('raw key events')
    def test_alt_pressed_and_released_alone_highlights_game_as_f10_does(self):
        page = self.open_page()
        for name, strokes, highlighted in [
                ('Alt alone', stroke('AltLeft', 'Alt'), True),
                ('the right Alt alone', stroke('AltRight', 'Alt'), True),
                ('Alt with a key between', stroke('AltLeft', 'Alt', *stroke('KeyA', 'a')), False),
                ('AltGr', stroke('AltRight', 'AltGraph'), False),
                ('the Alt that closes the menu', stroke('F10', 'F10') + stroke('AltLeft', 'Alt'), False)]:
            with self.subTest(name):
                for kind, code, key in strokes:
                    page.key_event(kind, code, key)
                self.assertEqual(page.js("return [...document.querySelectorAll('#menu-bar .highlighted')].map(e => e.textContent);"),
                                 ['Game'] if highlighted else [])
                if highlighted:
                    page.tap('Escape')

    def test_a_pointer_resting_where_the_menu_drops_down_never_chooses_for_the_keyboard(self):
        page = self.open_page()
        middle_of = """
            const list = document.querySelector('#menu-bar .drop-down'), hidden = list.hidden;
            list.hidden = false;
            const box = document.querySelector(arguments[0]).getBoundingClientRect();
            list.hidden = hidden;
            return [box.left + box.width / 2, box.top + box.height / 2];"""
        # where the pointer rests after a click on the game, the keys then
        # pressed, and what they must have done
        for under, keys, done in [
                ('#menu-bar [data-command="40002"]', ['F10', 'Down', 'Return'], page.wait_for_piece),
                ('#game', ['F10', 'Down', 'Down', 'Right'] + ['Down'] * 5 + ['Return'],
                 lambda: self.ticked_levels(page) == ['5'])]:
            with self.subTest(under):
                page.point_at(*page.js(middle_of, under), click=True)
                page.tap(*keys)
                self.assertTrue(done(), self.ticked_levels(page))
                self.assertFalse(page.js('return pageEvents.ended;'))
        # A pointer that moves highlights what it comes to.
        top_ten = '#menu-bar [data-command="40003"]'
        page.tap('F10', 'Down')
        page.point_at(*page.js(middle_of, top_ten))
        self.assertTrue(page.wait_until(lambda: page.js(
            'return document.querySelector(arguments[0]).classList.contains("highlighted");', top_ten)))

    def test_exit_ends_the_game_and_the_page_offers_to_start_again(self):
        page = self.open_page()
        page.choose_new()
        self.assertTrue(page.wait_for_piece())
        page.choose_exit()
        self.assertTrue(page.wait_until(lambda: page.js("return !document.getElementById('ended').hidden;")))
        self.assertEqual(page.js("return document.getElementById('ended').innerText.split('\\n')[0];"),
                         'The game has ended.')
        # Nothing of the game or its menu is left to see or to point at,
        # and nothing moves any more, whatever the player does with the page.
        self.assertEqual(page.js("return ['#menu-bar', '#game-area'].filter((s) => "
                                 "document.querySelector(s).getClientRects().length > 0);"), [])
        ended = page.canvas_rgb()
        page.click('#ended p')
        page.tap('Down', 'Left', 'F10', 'Down')
        page.point_at(10, 10, click=True)
        self.assertFalse(page.js('return pageMenu.active;'))
        page.pause(1500)
        self.assertSamePixels(page.canvas_rgb(), ended)
        page.click('#start-again')
        page.pause(500)
        page.wait_for_first_frame()
        self.assertSamePixels(page.canvas_rgb(), references.frame())


if __name__ == '__main__':
    unittest.main()
