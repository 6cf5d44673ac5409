// Keeps the game for offline play: every file of the build in one cache named by the build's
// hash, answered from there first. The build puts OFFLINE_CACHE and OFFLINE_FILES above this.
// A new build's worker takes over once no page of the old one is open, and drops the old cache.
'use strict';

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(OFFLINE_CACHE).then((cache) => cache.addAll(OFFLINE_FILES)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('domrak-') && name !== OFFLINE_CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(OFFLINE_CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
