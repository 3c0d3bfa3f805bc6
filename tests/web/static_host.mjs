// A static host on 127.0.0.1 for the site's tests and the start-up benchmark.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";

export const kTypes = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
  ".webmanifest": "application/manifest+json", ".png": "image/png", ".svg": "image/svg+xml",
  ".wasm": "application/wasm",
};

// A static host for one folder on a free port; it records every path asked for
// and tells the browser to check back each time, as a host serving new builds
// would. types: the Content-Type of each file name extension.
export function serve(folder, types = kTypes) {
  const asked = [];
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, "http://127.0.0.1");
    asked.push(url.pathname);
    const name = url.pathname === "/" ? "index.html" : decodeURIComponent(url.pathname.slice(1));
    const file = path.join(folder, name);
    if (name.includes("/") || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      "Content-Type": types[path.extname(file)] ?? "application/octet-stream",
      "Cache-Control": "no-cache",
    });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve({
    origin: `http://127.0.0.1:${server.address().port}`,
    asked,
    close: () => {
      server.closeAllConnections();
      return new Promise((done) => server.close(done));
    },
  })));
}
