// SPDX-License-Identifier: GPL-3.0-or-later
// node finish.mjs <web build folder>: the last step of the page's build. Names the
// build by the bytes it ships (the version every file is asked for under), fills
// the version into the page, its service worker and manifest, squeezes the icons,
// and writes gzip and brotli copies beside each file for servers that send them.
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync, existsSync } from 'node:fs';
import { join } from 'node:path';
import zlib from 'node:zlib';

const dir = process.argv[2];
if (!dir) {
  console.error('usage: node finish.mjs <web build folder>');
  process.exit(2);
}
const at = (f) => join(dir, f);

// A PNG with its image data deflated at the highest level (the generator stores it).
export function squeezePng(png) {
  const sig = png.subarray(0, 8);
  const chunks = [];
  const idat = [];
  for (let p = 8; p < png.length;) {
    const len = png.readUInt32BE(p);
    const type = png.toString('latin1', p + 4, p + 8);
    const data = png.subarray(p + 8, p + 8 + len);
    if (type === 'IDAT') {
      idat.push(data);
      if (idat.length === 1) chunks.push({ type });
    } else {
      chunks.push({ type, data });
    }
    p += 12 + len;
  }
  const packed = zlib.deflateSync(zlib.inflateSync(Buffer.concat(idat)), { level: 9 });
  const out = [sig];
  for (const c of chunks) {
    const data = c.type === 'IDAT' ? packed : c.data;
    const head = Buffer.alloc(8);
    head.writeUInt32BE(data.length, 0);
    head.write(c.type, 4, 'latin1');
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), data])) >>> 0, 0);
    out.push(head, data, crc);
  }
  return Buffer.concat(out);
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const icons = ['icon-192.png', 'icon-512.png', 'icon-maskable-512.png'];
  for (const f of icons) {
    const png = readFileSync(at(f));
    const small = squeezePng(png);
    if (small.length < png.length) writeFileSync(at(f), small);
  }
  writeFileSync(at('pomurie-page.js'), readFileSync(at('pomurie-page.js.in')));
  const versioned = ['pomurie-page.js', 'index.js', 'index.wasm', 'assets.js', 'assets.wasm', 'face.woff2', ...icons];
  const hash = createHash('sha256');
  for (const f of [...versioned, 'sw.js.in', 'manifest.webmanifest.in']) hash.update(f).update(readFileSync(at(f)));
  // The page as the linker wrote it (a run before may have stamped it already).
  let html = readFileSync(at('index.html'), 'utf8');
  hash.update(html.replace(/\?v=[0-9a-f]*/g, ''));
  const version = hash.digest('hex').slice(0, 12);

  html = html.replace(/src="(pomurie-page\.js|index\.js)(\?v=[0-9a-f]*)?"/g, `src="$1?v=${version}"`);
  html = html.replace(/href="(icon-192\.png)(\?v=[0-9a-f]*)?"/g, `href="$1?v=${version}"`);
  writeFileSync(at('index.html'), html);
  writeFileSync(at('manifest.webmanifest'), readFileSync(at('manifest.webmanifest.in'), 'utf8').replaceAll('@VERSION@', version));
  const precached = ['./', 'index.html', 'manifest.webmanifest', ...versioned.filter((f) => f !== 'icon-512.png' && f !== 'icon-maskable-512.png')
    .map((f) => `${f}?v=${version}`)];
  writeFileSync(at('sw.js'), readFileSync(at('sw.js.in'), 'utf8').replace('@VERSION@', version)
    .replace('@FILES@', JSON.stringify(precached)));
  writeFileSync(at('version.txt'), version + '\n');

  for (const f of [...versioned, 'index.html', 'sw.js', 'manifest.webmanifest']) {
    const body = readFileSync(at(f));
    writeFileSync(at(f + '.gz'), zlib.gzipSync(body, { level: 9 }));
    writeFileSync(at(f + '.br'), zlib.brotliCompressSync(body, {
      params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: body.length },
    }));
  }
  console.log(`finish: version ${version}`);
}
