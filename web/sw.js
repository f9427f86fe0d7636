// The page's service worker: one visit stores the game, and it then starts
// without a network. The game's three big files are fetched under names that
// carry a hash of their contents (game.wasm?v=...), written in with this
// file's list when the site is built, so a new build is a new list, a new
// worker and a new store, and the old store is dropped once the new one is
// complete: never a mix of two builds.
'use strict';
const VERSION = '@TW_VERSION@';
const STORE = 'tumblewell-' + VERSION;
// The page and everything it loads, as the page names them.
const FILES = /*@TW_PRECACHE@*/[];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(STORE).then((store) => store.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
    names.filter((n) => n.startsWith('tumblewell-') && n !== STORE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The page itself from the network when there is one (a new build shows at
// the next reload), else from the store; the versioned files from the store
// first (their contents never change under a name), else from the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  if (request.mode === 'navigate') {
    event.respondWith(fetch(request.url, { cache: 'no-cache' }).catch(() =>
      caches.open(STORE).then((store) => store.match('index.html', { ignoreSearch: true }))
        .then((r) => r || Response.error())));
    return;
  }
  event.respondWith(caches.open(STORE).then((store) => store.match(request).then((hit) => {
    if (hit) return hit;
    return fetch(request).then((response) => {
      if (response.ok && new URL(request.url).searchParams.has('v')) store.put(request, response.clone());
      return response;
    });
  })));
});
