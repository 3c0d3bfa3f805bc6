// Keeps the site's files for offline use. The build writes its own name,
// taken from the files' contents, and the list of files; the cache is named
// after the build and the site's folder, so a new build gets a new cache and,
// once its worker takes over, the old one is deleted.
const kBuild = "build";
const kFiles = [];
const kCachePrefix = `tolvex ${self.registration.scope} `;
const kCacheName = kCachePrefix + kBuild;

self.addEventListener("install", (event) => {
  // Past the browser's HTTP cache, so that the copy is the new build's.
  const requests = kFiles.map((file) => new Request(file, { cache: "reload" }));
  event.waitUntil(caches.open(kCacheName).then((cache) => cache.addAll(requests))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(kCachePrefix) && name !== kCacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The kept copy first, the network for anything it lacks. The page ignores
// its address's query, so the copy does too; the folder means its index.html.
self.addEventListener("fetch", (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== "GET" || url.origin !== self.location.origin) return;
  if (url.pathname.endsWith("/")) url.pathname += "index.html";
  event.respondWith(caches.open(kCacheName)
    .then((cache) => cache.match(url.href, { ignoreSearch: true }))
    .then((kept) => kept ?? fetch(event.request)));
});
