// The web app's service worker: it keeps the page, its script, the web app's
// manifest and its icons in a cache named for the version and answers from
// it, so the game starts, plays and installs with the network gone. A new
// version's worker fills its own cache, takes over and drops the caches of
// the versions before it.
const cacheName = 'quadrafall-@PROJECT_VERSION@';
const keptFiles = ['index.html', 'quadrafall.js', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  // Past the browser's HTTP cache, which may still hold the old version.
  const requests = keptFiles.map((file) => new Request(file, {cache: 'reload'}));
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  // Only this game's caches: other pages of the same site may keep their own.
  const old = (name) => name.startsWith('quadrafall-') && name !== cacheName;
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, {cacheName: cacheName, ignoreSearch: true})
    .then((kept) => kept || fetch(event.request).catch((error) => {
      // The folder's own address is the page too.
      if (event.request.mode !== 'navigate') throw error;
      return caches.match('index.html', {cacheName: cacheName}).then((page) => page || Promise.reject(error));
    })));
});
