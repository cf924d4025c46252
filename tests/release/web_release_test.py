"""The release's web zip, unpacked, in headless Chromium: served from this
machine, with the server gone, and opened from the disk. Prints "PASS name"
or "FAIL name" for each test.
usage: web_release_test.py <quadrafall-VERSION-web.zip> <VERSION>"""

import http.server
import os
import shutil
import sys
import tempfile
import threading
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e', 'web'))
from browser import PageSession  # noqa: E402

ZIP, VERSION = (sys.argv + ['', ''])[1:3]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


class WebRelease(unittest.TestCase):
    def setUp(self):
        unpacked = tempfile.mkdtemp(prefix='quadrafall-web-release-')
        self.addCleanup(shutil.rmtree, unpacked, True)
        zipfile.ZipFile(ZIP).extractall(unpacked)
        self.folder = os.path.join(unpacked, 'quadrafall-%s-web' % VERSION)
        self.page = PageSession()
        self.addCleanup(self.page.close)

    def open_served(self):
        """The page from a server of its own, once its service worker has it."""
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), lambda *a: QuietHandler(*a, directory=self.folder))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        self.origin = 'http://127.0.0.1:%d/' % server.server_address[1]
        self.page.open(self.origin + 'index.html')
        self.assertTrue(self.page.wait_until(
            lambda: self.page.js('return navigator.serviceWorker.controller !== null;'), 10000),
            'no service worker took the page over')
        return server

    def caches(self):
        """The site's caches, each with the addresses it keeps."""
        return self.page.driver.execute_async_script("""
            const done = arguments[0], kept = {};
            caches.keys().then(async (names) => {
              for (const name of names) kept[name] = (await (await caches.open(name)).keys()).map((r) => r.url);
              done(kept);
            });""")

    def play_a_new_game(self):
        self.page.choose_new()
        self.assertTrue(self.page.wait_for_piece(), 'no piece came into the well')


    def test_a_new_version_replaces_the_cache_of_the_old_and_leaves_other_caches(self):
        self.open_served()
        self.page.driver.execute_async_script("caches.open('another-app').then(() => arguments[0]());")
        worker = os.path.join(self.folder, 'service_worker.js')
        with open(worker) as file:
            script = file.read()
        with open(worker, 'w') as file:
            file.write(script.replace("'quadrafall-%s'" % VERSION, "'quadrafall-next'"))
        # The new worker is activated once it has dropped the old caches.
        self.page.driver.execute_async_script("""
            const done = arguments[0];
            navigator.serviceWorker.addEventListener('controllerchange', () => {
              const worker = navigator.serviceWorker.controller;
              if (worker.state === 'activated') done();
              worker.addEventListener('statechange', () => worker.state === 'activated' && done());
            }, {once: true});
            navigator.serviceWorker.getRegistration().then((registration) => registration.update());""")
        self.assertEqual(sorted(self.caches()), ['another-app', 'quadrafall-next'])

    def test_its_service_worker_keeps_the_whole_app_for_the_version_and_plays_with_the_server_stopped(self):
        server = self.open_served()
        kept = ['index.html', 'quadrafall.js', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png']
        self.assertEqual(self.caches(), {'quadrafall-' + VERSION: [self.origin + name for name in kept]})
        server.shutdown()
        server.server_close()
        self.page.reload()
        self.play_a_new_game()
        # The manifest the page links, with its id, and its icons, the tab's
        # among them, still load; each address with its type or its failure.
        self.assertEqual(self.page.driver.execute_async_script("""
            const done = arguments[0], link = (rel) => document.querySelector('link[rel=' + rel + ']').href;
            const type = (url) => fetch(url).then((r) => r.headers.get('Content-Type'), (error) => String(error));
            fetch(link('manifest')).then((r) => r.json()).then(async (manifest) => {
              const icons = manifest.icons.map((icon) => new URL(icon.src, link('manifest')).href);
              done([manifest.id, link('icon'), ...await Promise.all([link('manifest'), ...icons].map(type))]);
            }, (error) => done(String(error)));"""),
            ['/quadrafall', self.origin + 'icon-192.png', 'application/manifest+json', 'image/png', 'image/png'])

    def test_opened_from_the_disk_it_plays_and_shows_its_version(self):
        self.page.open('file://' + os.path.join(self.folder, 'index.html'))
        # A manifest is read across origins, which a file is refused.
        self.assertEqual(self.page.js("return [...document.querySelectorAll('link')].map((l) => l.rel + ' ' + l.href);"),
                         ['icon file://' + os.path.join(self.folder, 'icon-192.png')])
        self.play_a_new_game()
        self.assertEqual(self.page.js("const v = document.getElementById('version');"
                                      "return v.getBoundingClientRect().width > 0 ? v.textContent : null;"),
                         'Quadrafall ' + VERSION)


if __name__ == '__main__':
    for test in unittest.defaultTestLoader.loadTestsFromTestCase(WebRelease):
        result = unittest.TestResult()
        test.run(result)
        problems = result.errors + result.failures
        print(('FAIL ' if problems else 'PASS ') + 'web: ' + test.id().split('.')[-1][5:].replace('_', ' '))
        for _, trace in problems:
            print('    ' + trace.replace('\n', '\n    '))
