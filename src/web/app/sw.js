// The web app's service worker: keeps one release (the page, its manifest and its
// icons) in a cache named after it, answers the page's requests from that cache
// alone so that the game opens and plays with the server gone, and on taking over
// deletes the caches of older releases. make_app.js writes RELEASE and FILES.
'use strict';
const RELEASE = '@RELEASE@';
// Each file of the release with its SHA-256 digest.
const FILES = /* @FILES@ */ [];

// A site may hold the game in more than one folder: each folder keeps its own.
const SCOPE = self.registration.scope;
const CACHE = `${RELEASE} ${SCOPE}`;
const ours = (name) => name.startsWith('gravisk-') && name.endsWith(` ${SCOPE}`);

self.addEventListener('install', (event) => {
  // All the files or none, each checked against its digest and fetched past the
  // HTTP cache: a server caught halfway through an upload, or a stale copy on
  // the way, fails the install and the release before it stays.
  const requests = FILES.map(([name, integrity]) => new Request(name, {cache: 'reload', integrity}));
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(requests))
    .catch((error) => caches.delete(CACHE).then(() => { throw error; }))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CACHE && ours(n)).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || !url.href.startsWith(SCOPE)) return;
  const name = url.pathname.slice(new URL(SCOPE).pathname.length) || 'index.html';
  if (!FILES.some(([file]) => file === name)) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(name))
    .then((kept) => kept || fetch(event.request)));
});
