// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker: keeps this build's files after the first visit, so
// the game starts from them and plays with the network off. Every file but the
// page itself is named with the build's version, so two builds never mix: a new
// build's page asks for new names, and its worker, once active, drops the old files.
'use strict';
const version = '@VERSION@';
// A page from a server that sends files as they are asks for the programs' gzip
// copies (see pomurie-page.js), and registers this worker as sw.js?wasm=gz.
const gzipCopies = new URL(self.location.href).searchParams.get('wasm') === 'gz';
const files = @FILES@.map((f) => (gzipCopies ? f.replace(/\.wasm\?/, '.wasm.gz?') : f));
const cacheName = `pomurie-${version}`;

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(cacheName).then((c) => c.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('pomurie-') && k !== cacheName).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The page from the network when there is one (it names the build to use), else the
// kept one; the versioned files from the cache first.
self.addEventListener('fetch', (e) => {
  const req = e.request;
  const url = new URL(req.url);
  if (req.method !== 'GET' || url.origin !== self.location.origin) return;
  if (req.mode === 'navigate') {
    e.respondWith(fetch(req).then((res) => {
      if (res.ok) {
        const copy = res.clone();
        caches.open(cacheName).then((c) => c.put('index.html', copy));
      }
      return res;
    }).catch(() => caches.match('index.html', { cacheName })));
    return;
  }
  e.respondWith(caches.match(req).then((hit) => hit || fetch(req)));
});
