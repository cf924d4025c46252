"""The game's page in headless Chromium, driven through WebDriver like a
player: real key events, real clicks, and the canvas's real pixels.

Every session has a fresh browser profile, so nothing is stored at the
start, and a download folder of its own. Nothing is fetched from anywhere:
the page opens from its file, or from a server on this machine.
"""

import base64
import os
import shutil
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

CHROMIUM = os.environ.get('QUADRAFALL_CHROMIUM', '/usr/bin/chromium')
CHROMEDRIVER = os.environ.get('QUADRAFALL_CHROMEDRIVER', '/usr/bin/chromedriver')
PAGE = os.environ.get('QUADRAFALL_PAGE', '')

CLIENT_WIDTH = 291
CLIENT_HEIGHT = 384
PANEL_GREY = (0xC0, 0xC0, 0xC0)
# The well's inside on the canvas: left, top, right, bottom (exclusive).
WELL = (12, 56, 172, 376)
CELL = 16

KEY_NAMES = {
    'F10': Keys.F10, 'Down': Keys.ARROW_DOWN, 'Up': Keys.ARROW_UP, 'Left': Keys.ARROW_LEFT,
    'Right': Keys.ARROW_RIGHT, 'Return': Keys.ENTER, 'Escape': Keys.ESCAPE, 'Tab': Keys.TAB, 'Space': Keys.SPACE,
    'PageDown': Keys.PAGE_DOWN, 'End': Keys.END,
}

STORAGE_KEY = 'highscores.dat'


def now_ms():
    return time.monotonic() * 1000.0


class PageSession:
    """One browser with the game's page. Use as a context manager."""

    def __init__(self, width=800, height=600, device_scale=1, logging=False):
        """width and height are the page's viewport in CSS pixels."""
        self.profile = tempfile.mkdtemp(prefix='quadrafall-chromium-')
        self.downloads = tempfile.mkdtemp(prefix='quadrafall-downloads-')
        self.files = tempfile.mkdtemp(prefix='quadrafall-files-')
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                         '--disable-background-networking', '--disable-component-update', '--disable-sync',
                         '--disable-default-apps', '--disable-extensions', '--user-data-dir=' + self.profile]:
            options.add_argument(argument)
        if logging:
            options.set_capability('goog:loggingPrefs', {'performance': 'ALL'})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.clock_held = False
        self.driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                                    {'behavior': 'allow', 'downloadPath': self.downloads})
        self.set_viewport(width, height, device_scale)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def close(self):
        if self.driver is None:
            return
        try:
            self.driver.quit()
        finally:
            self.driver = None
            shutil.rmtree(self.profile, ignore_errors=True)
            shutil.rmtree(self.downloads, ignore_errors=True)
            shutil.rmtree(self.files, ignore_errors=True)

    def set_viewport(self, width, height, device_scale=1):
        """The page's viewport in CSS pixels and the screen's device pixels
        per CSS pixel, as a window of that size on such a screen has them."""
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                    {'width': width, 'height': height, 'deviceScaleFactor': device_scale,
                                     'mobile': False})

    # The page

    def open(self, url=None):
        """Opens the page and waits for the game's first frame on the canvas."""
        self.driver.get(url or 'file://' + PAGE)
        self.wait_for_first_frame()

    def reload(self):
        # A held clock would hold the reload for ever: it runs free meanwhile.
        if self.clock_held:
            self.driver.execute_cdp_cmd('Emulation.setVirtualTimePolicy', {'policy': 'advance'})
        self.driver.refresh()
        self.wait_for_first_frame()
        if self.clock_held:
            self.hold_clock()

    def wait_for_first_frame(self, timeout_ms=10000):
        if not self.wait_until(lambda: self.js(
                "const c = document.getElementById('game');"
                "return c !== null && c.getContext('2d').getImageData(0, 0, 1, 1).data[3] === 255;"), timeout_ms):
            raise AssertionError('the game drew no frame on the canvas')

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait_until(self, condition, timeout_ms=5000, poll_ms=20):
        start = now_ms()
        while True:
            if condition():
                return True
            if now_ms() - start > timeout_ms:
                return False
            time.sleep(poll_ms / 1000.0)

    def pause(self, ms):
        time.sleep(ms / 1000.0)

    # The page's clock held: its time stands still but for advance(), which
    # runs it on as fast as the page can go, however loaded the machine is.

    def hold_clock(self):
        self.driver.execute_cdp_cmd('Emulation.setVirtualTimePolicy', {'policy': 'pause'})
        self.clock_held = True

    def clock(self):
        return self.js('return performance.now();')

    def advance(self, ms):
        target = self.clock() + ms
        self.driver.execute_cdp_cmd('Emulation.setVirtualTimePolicy', {'policy': 'advance', 'budget': ms})
        if not self.wait_until(lambda: self.clock() >= target - 0.5, 30000, 5):
            raise AssertionError("the page's clock did not run on by %d ms" % ms)

    def advance_until(self, condition, limit_ms, step_ms=10):
        for _ in range(0, limit_ms, step_ms):
            if condition():
                return True
            self.advance(step_ms)
        return condition()

    # Keys and pointer

    def tap(self, *names, gap_ms=30):
        for name in names:
            ActionChains(self.driver).send_keys(KEY_NAMES.get(name, name)).perform()
            self.pause(gap_ms)

    def hold(self, name):
        ActionChains(self.driver).key_down(KEY_NAMES[name]).perform()

    def release(self, name):
        ActionChains(self.driver).key_up(KEY_NAMES[name]).perform()

    def key_event(self, kind, code, key):
        """A key going 'down' or 'up' at its place (KeyboardEvent.code) giving
        key, as WebDriver's keys cannot: AltGr, the keypad without NumLock."""
        self.driver.execute_cdp_cmd('Input.dispatchKeyEvent',
                                    {'type': 'rawKeyDown' if kind == 'down' else 'keyUp', 'code': code, 'key': key})

    def type_text(self, text):
        ActionChains(self.driver).send_keys(text).perform()

    def click(self, selector):
        self.driver.find_element('css selector', selector).click()

    def point_at(self, x, y, click=False):
        """Moves the pointer to a point of the viewport, in CSS pixels, and
        clicks there if asked; the pointer then rests at that point."""
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(round(x), round(y))
        if click:
            actions.pointer_action.click()
        actions.perform()

    # The menu, by keyboard as a player uses it on the desktop

    def choose_new(self):
        self.tap('F10', 'Down', 'Return')

    def choose_top_ten(self):
        self.tap('F10', 'Down', 'Down', 'Down', 'Return')

    def choose_exit(self):
        self.tap('F10', 'Down', 'Up', 'Return')

    def choose_level(self, level):
        self.tap('F10', 'Down', 'Down', 'Right', *(['Down'] * level), 'Return')

    # The canvas

    def canvas_rgb(self):
        """The canvas's pixels, row by row, as (r, g, b) tuples."""
        encoded = self.js(
            "const c = document.getElementById('game');"
            "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
            "let s = ''; for (let i = 0; i < d.length; i += 8192) s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));"
            "return btoa(s);")
        rgba = base64.b64decode(encoded)
        return [tuple(rgba[i:i + 3]) for i in range(0, len(rgba), 4)]

    def falling_piece_top(self):
        """The top edge of whatever lies in the well, or None when it is empty."""
        pixels = self.canvas_rgb()
        left, top, right, bottom = WELL
        for y in range(top, bottom):
            row = pixels[y * CLIENT_WIDTH + left:y * CLIENT_WIDTH + right]
            if any(pixel != PANEL_GREY for pixel in row):
                return y
        return None

    def wait_for_piece(self, timeout_ms=3000):
        return self.wait_until(lambda: self.falling_piece_top() is not None, timeout_ms)

    # Dialogs

    def dialog_open(self, name):
        return self.js("return document.getElementById(arguments[0]).open;", name)

    def open_dialogs(self):
        return self.js("return [...document.querySelectorAll('dialog[open]')].map(d => d.id || d.className);")

    def dialog_rows(self, name):
        """The texts of a dialog's controls as shown, grouped into rows by their place
        on the screen, each row left to right, the rows top to bottom."""
        return self.js("""
            const cells = [...document.getElementById(arguments[0]).querySelectorAll('.client .control')]
              .filter(e => e.tagName !== 'BUTTON')
              .map(e => ({box: e.getBoundingClientRect(), text: e.tagName === 'INPUT' ? e.value : e.innerText}));
            const rows = new Map();
            for (const cell of cells) {
              const key = Math.round(cell.box.top);
              if (!rows.has(key)) rows.set(key, []);
              rows.get(key).push(cell);
            }
            return [...rows.keys()].sort((a, b) => a - b)
              .map(key => rows.get(key).sort((a, b) => a.box.left - b.box.left).map(cell => cell.text));
        """, name)

    def focused(self):
        return self.js("const e = document.activeElement; return e ? (e.textContent || e.id || e.tagName) : null;")

    def message_texts(self):
        return self.js("return [...document.querySelectorAll('dialog.message[open] p')].map(p => p.textContent);")

    # The Top Ten's storage and files

    def stored_bytes(self):
        text = self.js("return localStorage.getItem(arguments[0]);", STORAGE_KEY)
        return None if text is None else text.encode('latin-1')

    def store_bytes(self, data):
        self.js("localStorage.setItem(arguments[0], arguments[1]);", STORAGE_KEY, data.decode('latin-1'))

    def open_file(self, data):
        """Picks a highscores.dat of these bytes in the page's file chooser, as
        "Open highscores.dat" lets the player do."""
        path = os.path.join(self.files, 'highscores.dat')
        with open(path, 'wb') as file:
            file.write(data)
        document = self.driver.execute_cdp_cmd('DOM.getDocument', {})
        node = self.driver.execute_cdp_cmd('DOM.querySelector',
                                           {'nodeId': document['root']['nodeId'], 'selector': '#highscores-file'})
        self.driver.execute_cdp_cmd('DOM.setFileInputFiles', {'files': [path], 'nodeId': node['nodeId']})

    def download(self, selector, name, timeout_ms=5000):
        """Clicks selector and returns the bytes of the file name it downloads."""
        self.click(selector)
        return self.downloaded(name, timeout_ms)

    def downloaded(self, name, timeout_ms=5000):
        path = os.path.join(self.downloads, name)
        if not self.wait_until(lambda: os.path.exists(path) and not os.path.exists(path + '.crdownload'), timeout_ms):
            raise AssertionError('nothing was downloaded as ' + name)
        self.pause(100)
        with open(path, 'rb') as file:
            return file.read()

    def forget_downloads(self):
        for name in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, name))

    # Screen pixels

    def screenshot_png(self):
        """The page as the screen shows it, in device pixels."""
        shot = self.driver.execute_cdp_cmd('Page.captureScreenshot', {'format': 'png'})
        return base64.b64decode(shot['data'])

    def element_box(self, selector):
        return self.js("const b = document.querySelector(arguments[0]).getBoundingClientRect();"
                       "return [b.left, b.top, b.width, b.height, window.devicePixelRatio];", selector)
