// SPDX-License-Identifier: GPL-3.0-or-later
// The page's server, without a browser: which copy it sends, how long it may be
// kept, when it answers "not modified", and what it refuses.
//   node tests/web/serve_test.mjs
import { mkdtempSync, mkdirSync, rmSync, utimesSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import zlib from 'node:zlib';
import { acceptedEncodings, matchesEtag, serve } from '../../platform/web/serve.mjs';

let failed = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failed++;
};

// The encodings taken, in our order of preference.
for (const [header, want] of [
  ['gzip, deflate, br', ['br', 'gzip']], ['gzip', ['gzip']], ['br;q=0, gzip;q=0.5', ['gzip']],
  ['*', ['br', 'gzip']], ['*, br;q=0', ['gzip']], ['identity', []], [undefined, []], ['BR', ['br']],
]) {
  const got = acceptedEncodings(header);
  check(JSON.stringify(got) === JSON.stringify(want), `Accept-Encoding ${JSON.stringify(header)} takes ${JSON.stringify(got)}`);
}
for (const [header, want] of [['"abc"', true], ['W/"abc"', true], ['"x", "abc"', true], ['*', true], ['"abd"', false], ['', false]]) {
  check(matchesEtag(header, '"abc"') === want, `If-None-Match ${JSON.stringify(header)} ${want ? 'matches' : 'does not match'}`);
}

const root = mkdtempSync(join(tmpdir(), 'pomurie-serve-'));
const body = Buffer.from('console.log("page");\n'.repeat(50));
writeFileSync(join(root, 'index.html'), '<!doctype html>');
writeFileSync(join(root, 'index.js'), body);
writeFileSync(join(root, 'index.js.br'), zlib.brotliCompressSync(body));
writeFileSync(join(root, 'index.js.gz'), zlib.gzipSync(body));
writeFileSync(join(root, 'old.js'), body);
writeFileSync(join(root, 'old.js.gz'), zlib.gzipSync(Buffer.from('stale')));
const past = new Date(Date.now() - 3600_000);
utimesSync(join(root, 'old.js.gz'), past, past);  // packed before the file changed
mkdirSync(join(root, 'sub'));
writeFileSync(join(tmpdir(), 'pomurie-serve-secret'), 'secret');
const server = await serve(root, 0);
const base = `http://127.0.0.1:${server.address().port}`;
const get = (path, headers = {}) => fetch(base + path, { headers, decompress: false });

for (const [path, headers, status, encoding, caching] of [
  ['/', { 'accept-encoding': 'identity' }, 200, null, 'no-cache'],
  ['/index.js?v=1a2b', { 'accept-encoding': 'gzip, br' }, 200, 'br', 'public, max-age=31536000, immutable'],
  ['/index.js', { 'accept-encoding': 'gzip' }, 200, 'gzip', 'no-cache'],
  ['/index.js', { 'accept-encoding': 'identity' }, 200, null, 'no-cache'],
  ['/old.js', { 'accept-encoding': 'gzip' }, 200, null, 'no-cache'],
  ['/missing.js', {}, 404, null, null],
  ['/sub', {}, 404, null, null],
  ['/..%2fpomurie-serve-secret', {}, 403, null, null],
]) {
  const res = await get(path, headers);
  const got = [res.status, res.headers.get('content-encoding'), res.headers.get('cache-control')];
  check(JSON.stringify(got) === JSON.stringify([status, encoding, caching]), `${path} (${JSON.stringify(headers)}): ${JSON.stringify(got)}`);
  if (path === '/old.js') {
    const text = Buffer.from(await res.arrayBuffer());
    check(text.equals(body), 'a packed copy older than its file is not sent');
  }
}
// Revalidation: the tag of what was sent answers 304; a copy in another encoding has its own.
const first = await get('/index.js', { 'accept-encoding': 'br' });
const tag = first.headers.get('etag');
const again = await get('/index.js', { 'accept-encoding': 'br', 'if-none-match': tag });
const other = await get('/index.js', { 'accept-encoding': 'gzip', 'if-none-match': tag });
check(tag && again.status === 304 && other.status === 200, `revalidation: ${again.status} for the same copy, ${other.status} for another`);

server.close();
rmSync(root, { recursive: true, force: true });
rmSync(join(tmpdir(), 'pomurie-serve-secret'), { force: true });
console.log(failed ? `${failed} failed` : 'all passed');
process.exit(failed ? 1 : 0);
