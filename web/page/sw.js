// Keeps every file of the page in the browser's cache at the first visit, so
// that the page opens and works without a network afterwards. The build
// writes the list of files and a version that changes with any file's name or
// content (web/stamp-sw.sh), so every change of the page brings a new worker.
//
// A new worker fetches its whole version fresh from the server, then waits:
// the open page stays with the version it started with (its files from the
// old worker's cache, never half of each) until the page asks the new worker
// to take over, when the teacher presses "recharger" (update.js).
const VERSION = '@VERSION@';
const FILES = [@FILES@];
const PREFIX = 'fiches-conversions-';
const CACHE = `${PREFIX}${VERSION}`;

// 'reload' passes over the browser's HTTP cache, which could otherwise hand an
// older copy of a file to the new version; addAll keeps all or nothing, and a
// failed install leaves the old version in place, to be tried at the next check.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take-over') self.skipWaiting();
});

// The old versions' caches go once this one serves; at the first visit the
// open page is taken at once, so that it works offline without a reload.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith(PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page's own files from this version's cache; a query string does not
// matter, so that "./?anything" opens the cached page. Anything else goes its way.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit ?? fetch(event.request))));
});
