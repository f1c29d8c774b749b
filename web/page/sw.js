// Keeps every file of the page in the browser's cache at the first visit, so
// that the page opens and works without a network afterwards. The build
// writes the list of files and a version that changes with their content;
// a new version replaces the old cache.
const VERSION = '@VERSION@';
const FILES = [@FILES@];
const CACHE = `fiches-conversions-${VERSION}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page's own files from the cache first; anything else goes its way.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit ?? fetch(event.request))));
});
