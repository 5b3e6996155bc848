// Keeps the web app's files, so that it opens offline once it has been opened: every
// request for them is answered from the cache, which the next version of the app replaces.
var CACHE = '@CACHE@';
var FILES = ['dosat.html', 'manifest.webmanifest', 'dosat-192.png', 'dosat-512.png'];

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) { return cache.addAll(FILES); })
    .then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) { return name !== CACHE; })
      .map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then(function (cache) {
    return cache.match(request, {ignoreSearch: true}).then(function (found) {
      if (found) return found;
      // Offline, the app's folder itself (or any address in it) opens the page.
      return fetch(request).catch(function (error) {
        if (request.mode === 'navigate') return cache.match('dosat.html');
        throw error;
      });
    });
  }));
});
