// Keeps the page's files so the game starts without a network after one
// visit. scripts/web-finish.py fills in the build's own cache name and its
// list of files: a new build makes a new cache, and the caches of older
// builds are dropped once it takes over.
'use strict';
const CACHE = CACHE_NAME;
const FILES = PAGE_FILES;

// On a first visit the page has just downloaded the very files listed here,
// and the browser's cache still holds them: they are taken from there rather
// than downloaded twice. A later build asks the server again, so no file of
// the older build comes into the new cache.
self.addEventListener('install', event => {
  event.waitUntil(caches.keys()
                      .then(names => {
                        const mode = names.some(name => name.startsWith('brinegrab-')) ? 'no-cache' : 'force-cache';
                        return caches.open(CACHE).then(cache => cache.addAll(
                            FILES.map(file => new Request(file, {cache: mode}))));
                      })
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
                      .then(names => Promise.all(names.filter(name => name !== CACHE)
                                                     .map(name => caches.delete(name))))
                      .then(() => self.clients.claim()));
});

// The build's files come from the cache, everything else from the network.
// A language's catalog and faces, fetched only when a player needs them, are
// kept once fetched, for the next visit offline.
const KEPT_WHEN_FETCHED = /\/(locale|fonts)\/[^/]+$/;
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then(
      cache => cache.match(event.request, {ignoreSearch: true}).then(kept => kept || fetch(event.request).then(response => {
        if (response.ok && KEPT_WHEN_FETCHED.test(new URL(event.request.url).pathname)) {
          cache.put(event.request, response.clone());
        }
        return response;
      }))));
});
