// SPDX-License-Identifier: GPL-3.0-or-later
// Serves the built page on localhost: node serve.mjs <folder> [port] (0: any free
// port). Prints the address once it listens. Used by `make serve-web` and the
// browser test.
//
// Sends the build's gzip or brotli copy when the browser takes it, an ETag to
// revalidate against, and long-lived caching for the files asked for under the
// build's version (?v=...); the page itself and its service worker are always
// revalidated, so a new build is seen at the next visit.
import { createServer } from 'node:http';
import { createHash } from 'node:crypto';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.ttf': 'font/ttf', '.woff2': 'font/woff2', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.json': 'application/json', '.txt': 'text/plain; charset=utf-8',
  '.gz': 'application/gzip',
};

// The encodings a request accepts, in the order we prefer them ("br;q=0" refuses).
export function acceptedEncodings(header) {
  const offered = new Map();
  for (const part of String(header || '').split(',')) {
    const [name, ...params] = part.trim().toLowerCase().split(';');
    if (!name) continue;
    const q = params.map((p) => p.trim()).find((p) => p.startsWith('q='));
    offered.set(name, q ? Number(q.slice(2)) : 1);
  }
  const ok = (e) => (offered.has(e) ? offered.get(e) > 0 : offered.has('*') && offered.get('*') > 0);
  return ['br', 'gzip'].filter(ok);
}

// Whether the If-None-Match header names this entity tag (or any, "*").
export function matchesEtag(header, etag) {
  if (!header) return false;
  return header.split(',').map((t) => t.trim().replace(/^W\//, '')).some((t) => t === '*' || t === etag);
}

const etags = new Map();  // path -> { mtimeMs, size, etag }
async function entityTag(file, body, info) {
  const known = etags.get(file);
  if (known && known.mtimeMs === info.mtimeMs && known.size === info.size) return known.etag;
  const etag = `"${createHash('sha256').update(body).digest('base64url').slice(0, 22)}"`;
  etags.set(file, { mtimeMs: info.mtimeMs, size: info.size, etag });
  return etag;
}

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (req, res) => {
    let url, path;
    try {
      url = new URL(req.url, 'http://localhost');
      path = decodeURIComponent(url.pathname);
    } catch {
      res.writeHead(400).end();
      return;
    }
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (file !== root && !file.startsWith(root + sep)) {
      res.writeHead(403).end();
      return;
    }
    try {
      let info = await stat(file);
      if (!info.isFile()) throw new Error('not a file');
      const headers = {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Cache-Control': url.searchParams.has('v') ? 'public, max-age=31536000, immutable' : 'no-cache',
        Vary: 'Accept-Encoding',
      };
      let body = null, sent = file;
      for (const enc of acceptedEncodings(req.headers['accept-encoding'])) {
        const packed = `${file}.${enc === 'br' ? 'br' : 'gz'}`;
        try {
          const packedInfo = await stat(packed);
          if (packedInfo.mtimeMs + 1 < info.mtimeMs) continue;  // older than the file: stale
          body = await readFile(packed);
          headers['Content-Encoding'] = enc;
          sent = packed;
          info = packedInfo;
          break;
        } catch { /* none packed this way */ }
      }
      if (!body) body = await readFile(file);
      headers.ETag = await entityTag(sent, body, info);
      headers['Last-Modified'] = info.mtime.toUTCString();
      if (matchesEtag(req.headers['if-none-match'], headers.ETag)) {
        res.writeHead(304, headers).end();
        return;
      }
      headers['Content-Length'] = body.length;
      res.writeHead(200, headers);
      res.end(req.method === 'HEAD' ? undefined : body);
    } catch {
      res.writeHead(404).end('not found');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder = 'build-web', port = '8080'] = process.argv.slice(2);
  const server = await serve(folder, Number(port));
  console.log(`Serving ${folder} at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}
