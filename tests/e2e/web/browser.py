"""The game's page in a real browser, driven like a player: real key
events, real clicks, and the canvas's real pixels. QUADRAFALL_ENGINE picks
the engine: chromium (headless Chromium through Selenium and its own
protocol), firefox (headless Firefox ESR over WebDriver BiDi) or webkit
(WebKitGTK's MiniBrowser through WebKitWebDriver, on an X server of its
own).

Every session has a fresh browser profile, so nothing is stored at the
start, and a download folder of its own. Nothing is fetched from anywhere:
the page opens from its file, or from a server on this machine. Every
engine gets the same clock (held_clock.js) before the page's own script.
"""

import base64
import json
import os
import re
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

ENGINES = ['chromium', 'firefox', 'webkit']
ENGINE = os.environ.get('QUADRAFALL_ENGINE', 'chromium')
CHROMIUM = os.environ.get('QUADRAFALL_CHROMIUM', '/usr/bin/chromium')
CHROMEDRIVER = os.environ.get('QUADRAFALL_CHROMEDRIVER', '/usr/bin/chromedriver')
FIREFOX = os.environ.get('QUADRAFALL_FIREFOX', '/usr/bin/firefox-esr')
WEBKIT_DRIVER = os.environ.get('QUADRAFALL_WEBKIT_DRIVER', '/usr/bin/WebKitWebDriver')
MINIBROWSER = os.environ.get('QUADRAFALL_MINIBROWSER', '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser')
PAGE = os.environ.get('QUADRAFALL_PAGE', '')
HERE = os.path.dirname(os.path.abspath(__file__))

CLIENT_WIDTH = 291
CLIENT_HEIGHT = 384
PANEL_GREY = (0xC0, 0xC0, 0xC0)
# The well's inside on the canvas: left, top, right, bottom (exclusive).
WELL = (12, 56, 172, 376)
CELL = 16

KEY_NAMES = {
    'F10': Keys.F10, 'Down': Keys.ARROW_DOWN, 'Up': Keys.ARROW_UP, 'Left': Keys.ARROW_LEFT,
    'Right': Keys.ARROW_RIGHT, 'Return': Keys.RETURN, 'Escape': Keys.ESCAPE, 'Tab': Keys.TAB, 'Space': Keys.SPACE,
    'PageDown': Keys.PAGE_DOWN, 'End': Keys.END,
}

STORAGE_KEY = 'highscores.dat'

# What a test may need that not every engine's protocol offers, and the
# engines that offer it. A test that needs one of them is run only there
# (page_case.needs); elsewhere the session's method for it fails.
OFFERED_BY = {
    'downloads': ['chromium', 'firefox'],
    'the file chooser': ['chromium', 'firefox'],
    'raw key events': ['chromium'],
    'a device scale': ['chromium'],
    'a screenshot': ['chromium'],
    'a touch screen': ['chromium'],
}

with open(os.path.join(HERE, 'held_clock.js')) as clock_file:
    HELD_CLOCK = clock_file.read()

# The engines whose page process crashed under a session of this run, one
# entry a crash: the engine's own fault, since a page cannot crash it
# (run_case.py runs such a test again).
PAGE_PROCESS_CRASHES = []


def now_ms():
    return time.monotonic() * 1000.0


def engine_versions():
    """Each engine's name and version, as the browsers and packages tell them."""
    def first_line(command):
        return subprocess.run(command, capture_output=True, text=True).stdout.strip().splitlines()[0]
    webkit = subprocess.run(['dpkg-query', '-W', '-f', '${Version}', 'libwebkit2gtk-4.1-0'],
                            capture_output=True, text=True).stdout
    return {'chromium': first_line([CHROMIUM, '--version']), 'firefox': first_line([FIREFOX, '--version']),
            'webkit': 'WebKitGTK ' + webkit}


class SeleniumEngine:
    """Chromium or WebKitGTK through their WebDriver."""

    def __init__(self, driver, on_close=None, tabs=True):
        """tabs is False for a browser whose new tab is a window of its own."""
        self.driver = driver
        self.on_close = on_close
        self.tabs = tabs
        self.viewport = None

    def quit(self):
        try:
            self.driver.quit()
        finally:
            if self.on_close:
                self.on_close()

    def navigate(self, url):
        self.driver.get(url)

    def refresh(self):
        self.driver.refresh()

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def keys(self, strokes):
        """('down' or 'up', WebDriver key) pairs, in one go."""
        chain = ActionChains(self.driver)
        for kind, key in strokes:
            if kind == 'down':
                chain.key_down(key)
            else:
                chain.key_up(key)
        chain.perform()

    def click(self, selector):
        self.driver.find_element('css selector', selector).click()

    def point_at(self, x, y, click):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y)
        if click:
            actions.pointer_action.click()
        actions.perform()

    def another_tab_comes_and_goes(self):
        if not self.tabs:
            # The other window over the page's would leave it shown: the
            # page's window goes away instead, and comes back as it was.
            self.driver.minimize_window()
            time.sleep(0.1)
            self.set_viewport(*self.viewport)
            return
        first = self.driver.current_window_handle
        self.driver.switch_to.new_window('tab')
        time.sleep(0.1)
        self.driver.close()
        self.driver.switch_to.window(first)

    def set_viewport(self, width, height):
        # The window's size less what the browser keeps of it for itself.
        self.viewport = (width, height)
        self.driver.set_window_size(width, height)
        inner = self.js('return [innerWidth, innerHeight];')
        self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])


def chromium_engine(profile, logging, clock):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync',
                     '--disable-default-apps', '--disable-extensions', '--user-data-dir=' + profile]:
        options.add_argument(argument)
    if logging:
        options.set_capability('goog:loggingPrefs', {'performance': 'ALL'})
    from selenium.webdriver.chrome.service import Service
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    if clock:
        driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': HELD_CLOCK})
    return SeleniumEngine(driver)


def own_x_server():
    """An Xvfb of its own on the first free display: the process and its DISPLAY."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        display = numbers.readline().strip()
    if not display:
        server.kill()
        raise AssertionError('Xvfb did not start')
    return server, ':' + display


def webkit_engine(log):
    """log: the file the driver and its MiniBrowser write to."""
    from selenium.webdriver.webkitgtk.options import Options
    server, display = own_x_server()

    def stop_server():
        server.terminate()
        server.wait()

    # The driver, and the MiniBrowser it starts, take the X server from
    # the environment.
    saved = {name: os.environ.get(name) for name in ('DISPLAY', 'NO_AT_BRIDGE', 'GTK_A11Y')}
    os.environ.update(DISPLAY=display, NO_AT_BRIDGE='1', GTK_A11Y='none')
    try:
        options = Options()
        options.binary_location = MINIBROWSER
        options.add_argument('--automation')
        driver = webdriver.WebKitGTK(executable_path=WEBKIT_DRIVER, options=options, service_log_path=log)
    except BaseException:
        stop_server()
        raise
    finally:
        for name, value in saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value
    return SeleniumEngine(driver, stop_server, tabs=False)


def webkit_page_process_crashed(log):
    """Read once the browser has quit, so that all it wrote is there. Only
    WebKitGTK's page process has been seen to crash."""
    if not os.path.exists(log):
        return False
    with open(log, errors='replace') as file:
        return 'WebProcess CRASHED' in file.read()


def bidi_value(value):
    """A Python value as WebDriver BiDi's LocalValue."""
    if value is None:
        return {'type': 'null'}
    if isinstance(value, bool):
        return {'type': 'boolean', 'value': value}
    if isinstance(value, (int, float)):
        return {'type': 'number', 'value': value}
    if isinstance(value, str):
        return {'type': 'string', 'value': value}
    if isinstance(value, (list, tuple)):
        return {'type': 'array', 'value': [bidi_value(item) for item in value]}
    if isinstance(value, dict):
        return {'type': 'object', 'value': [[key, bidi_value(item)] for key, item in value.items()]}
    raise TypeError('no BiDi value for %r' % (value,))


def python_value(remote):
    """WebDriver BiDi's RemoteValue as the Python value Selenium would give."""
    kind = remote['type']
    if kind in ('undefined', 'null'):
        return None
    if kind == 'number':
        value = remote['value']
        return {'NaN': float('nan'), 'Infinity': float('inf'), '-Infinity': float('-inf'), '-0': 0}.get(value, value) \
            if isinstance(value, str) else value
    if kind in ('string', 'boolean', 'bigint'):
        return remote['value']
    if kind in ('array', 'set'):
        return [python_value(item) for item in remote.get('value', [])]
    if kind in ('object', 'map'):
        return {key if isinstance(key, str) else python_value(key): python_value(item)
                for key, item in remote.get('value', [])}
    return remote


class FirefoxEngine:
    """Headless Firefox ESR over WebDriver BiDi, from its remote agent's
    WebSocket."""

    def __init__(self, profile):
        import websocket
        with open(os.path.join(profile, 'user.js'), 'w') as prefs:
            for name, value in [('browser.shell.checkDefaultBrowser', False), ('browser.startup.page', 0),
                                ('datareporting.policy.dataSubmissionEnabled', False),
                                ('toolkit.telemetry.reportingpolicy.firstRun', False),
                                ('app.update.disabledForTesting', True), ('browser.tabs.warnOnClose', False),
                                ('focusmanager.testmode', True),
                                # The downloads panel would take the keyboard from the page.
                                ('browser.download.alwaysOpenPanel', False)]:
                prefs.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
        self.process = subprocess.Popen([FIREFOX, '--headless', '--no-remote', '--remote-debugging-port=0',
                                         '--profile', profile, 'about:blank'],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.socket = None
        try:
            url = None
            for line in self.process.stderr:
                found = re.search(r'WebDriver BiDi listening on (ws://\S+)', line)
                if found:
                    url = found.group(1)
                    break
            if url is None:
                raise AssertionError('Firefox did not open its remote agent')
            # What Firefox writes from now on is not read: let it go nowhere.
            self.process.stderr.close()
            self.socket = websocket.create_connection(url.rstrip('/') + '/session', timeout=60, suppress_origin=True)
            self.last_id = 0
            self.version = self.send('session.new', {'capabilities': {}})['capabilities']['browserVersion']
            # The tab Firefox opens with never gets the focus: the page's
            # own tab is opened as the player opens one, and has it.
            first = self.send('browsingContext.getTree', {})['contexts'][0]['context']
            self.context = self.send('browsingContext.create', {'type': 'tab'})['context']
            self.send('browsingContext.close', {'context': first})
            self.send('script.addPreloadScript', {'functionDeclaration': '() => {\n' + HELD_CLOCK + '\n}'})
        except BaseException:
            self.quit()
            raise

    def send(self, method, params):
        self.last_id += 1
        self.socket.send(json.dumps({'id': self.last_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') != self.last_id:
                continue
            if message.get('type') == 'error':
                raise AssertionError('%s: %s %s' % (method, message.get('error'), message.get('message')))
            return message['result']

    def quit(self):
        try:
            if self.socket is not None:
                self.send('session.end', {})
                self.socket.close()
        except Exception:
            pass
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def navigate(self, url):
        self.send('browsingContext.navigate', {'context': self.context, 'url': url, 'wait': 'complete'})

    def refresh(self):
        self.send('browsingContext.reload', {'context': self.context, 'wait': 'complete'})

    def js(self, script, *arguments):
        result = self.send('script.callFunction', {
            'functionDeclaration': 'function () {\n' + script + '\n}', 'awaitPromise': False,
            'target': {'context': self.context}, 'arguments': [bidi_value(a) for a in arguments],
            'serializationOptions': {'maxObjectDepth': 20}})
        if result['type'] == 'exception':
            raise AssertionError('the page\'s script failed: ' + result['exceptionDetails']['text'])
        return python_value(result['result'])

    def keys(self, strokes):
        self.send('input.performActions', {'context': self.context, 'actions': [{
            'type': 'key', 'id': 'keyboard',
            'actions': [{'type': 'keyDown' if kind == 'down' else 'keyUp', 'value': key} for kind, key in strokes]}]})

    def click(self, selector):
        x, y = self.js("const e = document.querySelector(arguments[0]); e.scrollIntoView({block: 'nearest'});"
                       "const b = e.getBoundingClientRect(); return [b.left + b.width / 2, b.top + b.height / 2];",
                       selector)
        self.point_at(int(x), int(y), True)

    def point_at(self, x, y, click):
        moves = [{'type': 'pointerMove', 'x': x, 'y': y}]
        if click:
            moves += [{'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]
        self.send('input.performActions', {'context': self.context, 'actions': [{
            'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'}, 'actions': moves}]})

    def set_files(self, selector, paths):
        """The files picked in a file input's chooser."""
        found = self.send('script.evaluate', {
            'expression': 'document.querySelector(%s)' % json.dumps(selector), 'awaitPromise': False,
            'target': {'context': self.context}})
        self.send('input.setFiles', {'context': self.context, 'element': {'sharedId': found['result']['sharedId']},
                                     'files': paths})

    def another_tab_comes_and_goes(self):
        tab = self.send('browsingContext.create', {'type': 'tab'})['context']
        time.sleep(0.1)
        self.send('browsingContext.close', {'context': tab})
        self.send('browsingContext.activate', {'context': self.context})

    def set_viewport(self, width, height):
        self.send('browsingContext.setViewport', {'context': self.context,
                                                  'viewport': {'width': width, 'height': height}})


class PageSession:
    """One browser with the game's page. Use as a context manager."""

    def __init__(self, width=800, height=600, device_scale=1, logging=False, clock=True):
        """width and height are the page's viewport in CSS pixels; a device
        scale other than 1 and the network log need Chromium. Without clock
        the page keeps the browser's own clock, which cannot be held: for
        measuring the page, in Chromium."""
        self.profile = tempfile.mkdtemp(prefix='quadrafall-%s-' % ENGINE)
        self.downloads = tempfile.mkdtemp(prefix='quadrafall-downloads-')
        self.files = tempfile.mkdtemp(prefix='quadrafall-files-')
        self.driver = None
        self.engine = None
        try:
            if ENGINE == 'chromium':
                self.engine = chromium_engine(self.profile, logging, clock)
                # Chromium's own protocol, for what the others cannot do.
                self.driver = self.engine.driver
                self.driver.execute_cdp_cmd('Browser.setDownloadBehavior',
                                            {'behavior': 'allow', 'downloadPath': self.downloads})
            elif not clock:
                raise AssertionError("only Chromium's page can be had without the suite's clock")
            elif ENGINE == 'firefox':
                self.engine = FirefoxEngine(self.profile)
                self.engine.send('browser.setDownloadBehavior', {
                    'downloadBehavior': {'type': 'allowed', 'destinationFolder': self.downloads}})
            elif ENGINE == 'webkit':
                self.engine = webkit_engine(self.webkit_log())
            else:
                raise AssertionError('QUADRAFALL_ENGINE is chromium, firefox or webkit, not ' + ENGINE)
            if logging:
                self.chromium('the network log')
            self.set_viewport(width, height, device_scale)
        except BaseException:
            self.close()
            raise
        self.clock_held = False

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def close(self):
        try:
            if self.engine is not None:
                self.engine.quit()
                if ENGINE == 'webkit' and webkit_page_process_crashed(self.webkit_log()):
                    PAGE_PROCESS_CRASHES.append(ENGINE)
        finally:
            self.engine = None
            self.driver = None
            for folder in (self.profile, self.downloads, self.files):
                shutil.rmtree(folder, ignore_errors=True)

    def webkit_log(self):
        return os.path.join(self.files, 'webkit.log')

    def chromium(self, what):
        """Chromium's WebDriver, for what needs its own protocol."""
        if self.driver is None:
            raise AssertionError('%s needs Chromium\'s own protocol: this is %s' % (what, ENGINE))
        return self.driver

    def offered(self, need):
        if ENGINE not in OFFERED_BY[need]:
            raise AssertionError('%s: %s has no way to it' % (need, ENGINE))

    def set_viewport(self, width, height, device_scale=1):
        """The page's viewport in CSS pixels and the screen's device pixels
        per CSS pixel, as a window of that size on such a screen has them."""
        if ENGINE != 'chromium':
            if device_scale != 1:
                self.chromium('a device scale')
            self.engine.set_viewport(width, height)
            return
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                    {'width': width, 'height': height, 'deviceScaleFactor': device_scale,
                                     'mobile': False})

    # The page

    def page_url(self):
        """The page's file. WebKitGTK has no way in before the page's script
        but the page itself, so it opens a copy whose first script is the
        clock."""
        if ENGINE != 'webkit':
            return 'file://' + PAGE
        folder = os.path.join(self.files, 'page')
        if not os.path.isdir(folder):
            shutil.copytree(os.path.dirname(PAGE), folder)
            path = os.path.join(folder, os.path.basename(PAGE))
            with open(path) as file:
                html = file.read()
            with open(path, 'w') as file:
                file.write(html.replace('<head>', '<head>\n<script>\n' + HELD_CLOCK + '</script>', 1))
        return 'file://' + os.path.join(folder, os.path.basename(PAGE))

    def open(self, url=None):
        """Opens the page and waits for the game's first frame on the canvas."""
        self.engine.navigate(url or self.page_url())
        self.wait_for_first_frame()

    def reload(self):
        """The page afresh, its clock held again if it was."""
        self.engine.refresh()
        self.wait_for_first_frame()
        if self.clock_held:
            self.hold_clock()

    def wait_for_first_frame(self, timeout_ms=10000):
        if not self.wait_until(lambda: self.js(
                "const c = document.getElementById('game');"
                "return c !== null && c.getContext('2d').getImageData(0, 0, 1, 1).data[3] === 255;"), timeout_ms):
            raise AssertionError('the game drew no frame on the canvas')

    def js(self, script, *arguments):
        return self.engine.js(script, *arguments)

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
        self.js('heldClock.hold();')
        self.clock_held = True

    def free_clock(self):
        """The page's clock runs with the real one again, from where it stood."""
        self.js('heldClock.free();')
        self.clock_held = False

    def clock(self):
        return self.js('return performance.now();')

    def advance(self, ms):
        self.js('heldClock.advance(arguments[0]);', ms)
        if not self.wait_until(lambda: not self.js('return heldClock.running();'), 30000, 2):
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
            key = KEY_NAMES.get(name, name)
            self.engine.keys([('down', key), ('up', key)])
            self.pause(gap_ms)

    def hold(self, name):
        self.engine.keys([('down', KEY_NAMES[name])])

    def release(self, name):
        self.engine.keys([('up', KEY_NAMES[name])])

    def key_event(self, kind, code, key):
        """A key going 'down' or 'up' at its place (KeyboardEvent.code) giving
        key, as WebDriver's keys cannot: AltGr, the keypad without NumLock."""
        self.chromium('a raw key event').execute_cdp_cmd(
            'Input.dispatchKeyEvent', {'type': 'rawKeyDown' if kind == 'down' else 'keyUp', 'code': code, 'key': key})

    def type_text(self, text):
        self.engine.keys([(kind, character) for character in text for kind in ('down', 'up')])

    def click(self, selector):
        self.engine.click(selector)

    def another_tab_comes_and_goes(self):
        """Another tab comes to the front and closes, and the page's comes
        back. WebKitGTK's MiniBrowser opens a window for a tab, which would
        leave the page shown: there the page's window is minimised and
        restored."""
        self.engine.another_tab_comes_and_goes()

    def point_at(self, x, y, click=False):
        """Moves the pointer to a point of the viewport, in CSS pixels, and
        clicks there if asked; the pointer then rests at that point."""
        self.engine.point_at(round(x), round(y), click)

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
        if ENGINE == 'firefox':
            self.engine.set_files('#highscores-file', [path])
            return
        if ENGINE != 'chromium':
            # No way into the chooser here: the input gets the file as the
            # chooser would give it, and tells the page so. A test that is
            # about the chooser itself needs 'the file chooser'.
            self.js("""
                const input = document.getElementById('highscores-file');
                const files = new DataTransfer();
                files.items.add(new File([Uint8Array.from(arguments[0])], 'highscores.dat'));
                input.files = files.files;
                input.dispatchEvent(new Event('change', {bubbles: true}));""", list(data))
            return
        driver = self.chromium('the file chooser')
        document = driver.execute_cdp_cmd('DOM.getDocument', {})
        node = driver.execute_cdp_cmd('DOM.querySelector',
                                      {'nodeId': document['root']['nodeId'], 'selector': '#highscores-file'})
        driver.execute_cdp_cmd('DOM.setFileInputFiles', {'files': [path], 'nodeId': node['nodeId']})

    def download(self, selector, name, timeout_ms=5000):
        """Clicks selector and returns the bytes of the file name it downloads."""
        self.click(selector)
        return self.downloaded(name, timeout_ms)

    def downloaded(self, name, timeout_ms=5000):
        self.offered('downloads')
        path = os.path.join(self.downloads, name)
        # Chromium and Firefox write beside it until the file is whole.
        if not self.wait_until(lambda: os.path.exists(path) and not any(
                os.path.exists(path + partial) for partial in ('.crdownload', '.part')), timeout_ms):
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
        shot = self.chromium('a screenshot').execute_cdp_cmd('Page.captureScreenshot', {'format': 'png'})
        return base64.b64decode(shot['data'])

    def element_box(self, selector):
        return self.js("const b = document.querySelector(arguments[0]).getBoundingClientRect();"
                       "return [b.left, b.top, b.width, b.height, window.devicePixelRatio];", selector)


if __name__ == '__main__':
    # The engines the suite runs, as scripts/test.sh shows them.
    for engine, version in engine_versions().items():
        print('%s: %s' % (engine, version))
