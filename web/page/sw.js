// The service worker: keeps every file of the site in the browser's cache
// at the first visit, so that the game starts and plays with no network,
// and serves the site from there. Built with the site's file list and a
// version made of the files' contents (web/tools/stamp-worker.mjs): a new
// version of the site is a new worker, which fetches the new files, takes
// over at once and drops the old ones. The player's kept game and record
// live in local storage, which no cache change touches.
const VERSION = '@VERSION@';
const FILES = ['./', ...'@FILES@'.split(' ')];
const CACHE = `tesva-${VERSION}`;
// Opened once for all the requests of a start.
const site = caches.open(CACHE);

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Fresh from the server, past the browser's HTTP cache.
    await cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith('tesva-') && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The site's own files from the cache; the address's query (a test's
// seed) does not make another page.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const kept = await (await site).match(request, { ignoreSearch: request.mode === 'navigate' });
    return kept ?? fetch(request);
  })());
});
