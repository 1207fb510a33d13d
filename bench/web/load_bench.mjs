// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the page shows a picture and can be played: cold loads (nothing cached, no
// service worker; the save kept, as for a returning player) from serve.mjs and from
// python3 -m http.server, on localhost and on a phone's profile, in Debian's Chromium
// with DevTools' network and CPU emulation (tests/web/devtools.mjs).
//
//   node --experimental-websocket bench/web/load_bench.mjs --page build-web --native build
//        [--loads N] [--ticks SECONDS] [--phone DIR]
//
// For each server and profile, the medians of N loads (5): the time from the
// navigation to the splash and to a playable home menu, the bytes on the wire before
// the splash and in all, and when each part of the start-up was ready. --ticks plays on
// at the home menu for that many seconds and reports the ticks' pace and cost; --phone
// writes screenshots of an emulated phone, upright and lying, into DIR.
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../platform/web/serve.mjs';
import {
  click, commandLine, importSave, likeness, onPhone, open, readPpm, sleep, startChromium, until,
} from '../../tests/web/devtools.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { args, opt, pageDir, nativeDir } = commandLine();
const loads = Number(opt('--loads', '5'));
const tickSeconds = Number(opt('--ticks', '0'));
const phoneDir = opt('--phone', '');

const profiles = {
  localhost: { cpu: 1, net: { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 } },
  'phone (1.6 Mbit/s, 150 ms, CPU x4)': {
    cpu: 4, net: { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 },
  },
};

const work = mkdtempSync(join(tmpdir(), 'pomurie-bench-'));
let stopChromium = null, server = null, python = null;
process.on('exit', () => {
  if (stopChromium) stopChromium();
  if (server) { server.closeAllConnections?.(); server.close(); }
  if (python) python.kill();
  rmSync(work, { recursive: true, force: true });
});
for (const sig of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(sig, () => process.exit(2));
function fail(message) {
  console.error(`load_bench: ${message}`);
  process.exit(1);
}
if (typeof WebSocket === 'undefined') fail('this Node has no WebSocket: run it with --experimental-websocket');
for (const f of [join(pageDir, 'index.html'), join(pageDir, 'index.wasm'), join(nativeDir, 'pomurie-webframes')]) {
  if (!existsSync(f)) fail(`${f} is missing: run make web`);
}

// The home menu as the headless platform draws it, and the save it leaves.
const nativeOut = join(work, 'native');
mkdirSync(nativeOut);
execFileSync(join(nativeDir, 'pomurie-webframes'), [nativeDir, join(here, '..', '..', 'tests', 'web', 'script.txt'), nativeOut]);
const nativeHome = readPpm(join(nativeOut, 'snap2.ppm'));
const nativeSave = readFileSync(join(nativeOut, 'saved.dat'));

server = await serve(pageDir, 0);
python = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '-d', pageDir], { stdio: ['ignore', 'pipe', 'pipe'] });
const pyPort = await new Promise((ok) => {
  const look = (d) => { const m = /port (\d+)/.exec(String(d)); if (m) ok(Number(m[1])); };
  python.stdout.on('data', look);
  python.stderr.on('data', look);
});
const servers = {
  'serve.mjs': `http://127.0.0.1:${server.address().port}/index.html`,
  'python3 -m http.server': `http://127.0.0.1:${pyPort}/index.html`,
};
const chromium = await startChromium(work, (code, log) => fail(`Chromium ended (${code}):\n${log}`));
stopChromium = chromium.stop;
const { dt } = chromium;

// Each server is an origin of its own, with a storage of its own: give each the save.
for (const url of Object.values(servers)) {
  await open(dt, url);
  await importSave(dt, nativeSave).catch(() => null);
  await until('the import', () => dt.eval('PomurieWeb.firstFrameMs >= 0 && PomurieWeb.synced > 0 && !PomurieWeb.syncBusy()')
    .catch(() => false), 60_000);
}

// One cold load: the bytes each request brought in before the splash and in all,
// the time to the splash and to the home menu (clicking through the splash and the
// title), and the start-up's marks.
async function coldLoad(url, profile) {
  await dt.send('Network.enable');
  await dt.send('Storage.clearDataForOrigin', { origin: new URL(url).origin, storageTypes: 'cache_storage,service_workers' });
  await dt.send('Network.clearBrowserCache');
  await dt.send('Network.setCacheDisabled', { cacheDisabled: true });
  await dt.send('Network.emulateNetworkConditions', profile.net);
  await dt.send('Emulation.setCPUThrottlingRate', { rate: profile.cpu });
  let t0 = 0;
  const requests = new Map();  // id -> { chunks: [[t, bytes]], end, total }
  const request = (id) => requests.get(id) || requests.set(id, { chunks: [], end: Infinity, total: 0 }).get(id);
  const listeners = {
    'Network.requestWillBeSent': (p) => { if (!t0 && p.type === 'Document') t0 = p.timestamp; request(p.requestId); },
    'Network.dataReceived': (p) => request(p.requestId).chunks.push([p.timestamp, p.encodedDataLength]),
    'Network.loadingFinished': (p) => Object.assign(request(p.requestId), { end: p.timestamp, total: p.encodedDataLength }),
  };
  for (const [m, fn] of Object.entries(listeners)) dt.on(m, fn);
  await dt.send('Page.navigate', { url });
  await until('the splash', () => dt.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false), 300_000, 100);
  const splash = await dt.eval('PomurieWeb.firstFrameMs');
  let home = 0;
  for (const end = Date.now() + 120_000; !home && Date.now() < end;) {
    await click(dt, 150, 150);
    await sleep(400);
    if (await likeness(dt, nativeHome, 7) >= 0.9) home = await dt.eval('performance.now()');
  }
  await until('every file and the face', () => dt.eval("'made' in PomurieWeb.startup && 'face' in PomurieWeb.startup"), 60_000);
  await sleep(500);
  const startup = await dt.eval('PomurieWeb.startup');
  for (const [m, fn] of Object.entries(listeners)) dt.off(m, fn);
  const ms = (t) => (t - t0) * 1000;
  let before = 0, all = 0;
  for (const r of requests.values()) {
    all += r.total;
    before += ms(r.end) <= splash ? r.total : r.chunks.filter(([t]) => ms(t) <= splash).reduce((a, [, b]) => a + b, 0);
  }
  await dt.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  await dt.send('Network.emulateNetworkConditions', profiles.localhost.net);
  await dt.send('Network.setCacheDisabled', { cacheDisabled: false });
  return { splash, home, before, all, startup };
}

const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
const rows = [];
for (const [sname, url] of Object.entries(servers)) {
  for (const [pname, profile] of Object.entries(profiles)) {
    const runs = [];
    for (let k = 0; k < loads; ++k) runs.push(await coldLoad(url, profile));
    const marks = Object.fromEntries(Object.keys(runs[0].startup).map((m) => [m, median(runs.map((r) => r.startup[m] ?? NaN))]));
    const row = {
      server: sname, profile: pname, splash: median(runs.map((r) => r.splash)), home: median(runs.map((r) => r.home)),
      before: median(runs.map((r) => r.before)), all: median(runs.map((r) => r.all)), marks,
      splashes: runs.map((r) => Math.round(r.splash)),
    };
    rows.push(row);
    console.log(`measure: ${sname}, ${pname}: splash ${row.splash.toFixed(0)} ms, home menu ${row.home.toFixed(0)} ms ` +
      `(medians of ${loads}; splashes ${row.splashes.join(' ')}); ${(row.before / 1024).toFixed(0)} KiB before the splash, ` +
      `${(row.all / 1024).toFixed(0)} KiB in all; ready at (ms): ${JSON.stringify(marks)}`);
  }
}
console.log(`\n| server | profile | splash (ms) | home menu (ms) | KiB before the splash | KiB in all |`);
console.log('|---|---|---:|---:|---:|---:|');
for (const r of rows) {
  console.log(`| ${r.server} | ${r.profile} | ${r.splash.toFixed(0)} | ${r.home.toFixed(0)} | ${(r.before / 1024).toFixed(0)} | ${(r.all / 1024).toFixed(0)} |`);
}

if (tickSeconds > 0) {
  // The ticks on localhost, once the home menu stands.
  await open(dt, servers['serve.mjs']);
  for (let k = 0; k < 12 && await likeness(dt, nativeHome, 7) < 0.9; ++k) {
    await click(dt, 150, 150);
    await sleep(1000);
  }
  await dt.eval('PomurieWeb.ticks.length = 0; PomurieWeb.costs.length = 0');
  await sleep(tickSeconds * 1000);
  const [ticks, costs] = await dt.eval('[PomurieWeb.ticks, PomurieWeb.costs]');
  const gaps = ticks.slice(1).map((t, i) => t - ticks[i]);
  const mean = (a) => a.reduce((x, y) => x + y, 0) / a.length;
  console.log(`\nmeasure: ${ticks.length} ticks in ${tickSeconds} s; interval mean ${mean(gaps).toFixed(2)} ms, worst ${Math.max(...gaps).toFixed(2)} ms`);
  console.log(`measure: tick cost (game + drawing the page) mean ${mean(costs).toFixed(3)} ms, worst ${Math.max(...costs).toFixed(3)} ms`);
}

if (phoneDir) {
  mkdirSync(phoneDir, { recursive: true });
  await onPhone(dt, servers['serve.mjs'], async (name) => {
    const shot = await dt.send('Page.captureScreenshot', { format: 'png' });
    writeFileSync(join(phoneDir, `phone-${name}.png`), Buffer.from(shot.data, 'base64'));
    console.log(`screenshot: ${join(phoneDir, `phone-${name}.png`)}`);
  });
}
process.exit(0);
