// The page in a real browser: Debian's Chromium, headless, driven over its DevTools
// protocol with Node's own WebSocket (no npm package, nothing downloaded).
//
//   node --experimental-websocket tests/web/browser_test.mjs --page build-web --native build
//        [--measure SECONDS] [--screenshot FILE.png] [--keep]
//
// 1. Plays tests/web/script.txt on the page in lockstep (real clicks and typing
//    through DevTools, ticks on the test's word) and on the headless platform
//    (pomurie-webframes), and holds every snapshot of the canvas against the
//    headless picture pixel for pixel, and the page's save file against the
//    headless one byte for byte.
// 2. Reloads the page as a player would (real time, real text) and finds the game
//    where it was: the character made, the home menu after the title.
// 3. Damages the save in the browser's storage, reloads, and finds the damaged-save
//    message and the kept copy.
// With --measure it also plays on for that many seconds and reports the ticks.
import { spawn, execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../platform/web/serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const opt = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? args[i + 1] : fallback;
};
const pageDir = resolve(opt('--page', 'build-web'));
const nativeDir = resolve(opt('--native', 'build'));
const measureSeconds = Number(opt('--measure', '0'));
const screenshotPath = opt('--screenshot', '');
const keep = args.includes('--keep');
const kSide = 300;

let passed = 0, failed = 0;
const check = (ok, what) => {
  if (ok) { passed++; console.log(`ok: ${what}`); } else { failed++; console.log(`FAILED: ${what}`); }
  return ok;
};

// --- everything started is stopped on every way out ---------------------------------------
const work = mkdtempSync(join(tmpdir(), 'pomurie-web-'));
let chrome = null, server = null;
function cleanUp() {
  if (chrome && chrome.exitCode === null) {
    try { process.kill(-chrome.pid, 'SIGKILL'); } catch { /* gone */ }
  }
  chrome = null;
  if (server) { server.closeAllConnections?.(); server.close(); server = null; }
  if (!keep && failed === 0) rmSync(work, { recursive: true, force: true });
}
process.on('exit', cleanUp);
for (const sig of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(sig, () => { console.log(`stopped by ${sig}`); process.exit(2); });
const deadline = setTimeout(() => { console.log('FAILED: the whole test took over 10 minutes'); process.exit(1); }, 600_000);
deadline.unref();

function fail(message) {
  console.log(`FAILED: ${message}`);
  console.log(`(work folder kept: ${work})`);
  failed++;
  process.exit(1);
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
async function until(what, probe, timeoutMs = 30_000, everyMs = 50) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const v = await probe();
    if (v) return v;
    if (Date.now() > end) fail(`timed out waiting for ${what}`);
    await sleep(everyMs);
  }
}

// --- the DevTools connection -----------------------------------------------------------------
class DevTools {
  constructor(url) {
    this.ws = new WebSocket(url);
    this.next = 1;
    this.pending = new Map();
    this.errors = [];
    this.ws.onmessage = (e) => {
      const m = JSON.parse(e.data);
      if (m.id && this.pending.has(m.id)) {
        const { ok, no, method } = this.pending.get(m.id);
        this.pending.delete(m.id);
        m.error ? no(new Error(`${method}: ${m.error.message}`)) : ok(m.result);
      } else if (m.method === 'Runtime.exceptionThrown') {
        this.errors.push(m.params.exceptionDetails.exception?.description || m.params.exceptionDetails.text);
      } else if (m.method === 'Runtime.consoleAPICalled' && m.params.type === 'error') {
        this.errors.push(m.params.args.map((a) => a.value ?? a.description).join(' '));
      }
    };
    this.opened = new Promise((ok, no) => { this.ws.onopen = ok; this.ws.onerror = () => no(new Error('DevTools socket failed')); });
  }
  send(method, params = {}) {
    const id = this.next++;
    return new Promise((ok, no) => {
      this.pending.set(id, { ok, no, method });
      this.ws.send(JSON.stringify({ id, method, params }));
      setTimeout(() => { if (this.pending.delete(id)) no(new Error(`${method}: no answer in 60 s`)); }, 60_000);
    });
  }
  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, returnByValue: true });
    if (r.exceptionDetails) throw new Error(`${expression}: ${r.exceptionDetails.exception?.description || r.exceptionDetails.text}`);
    return r.result.value;
  }
}

function findChromium() {
  for (const c of [process.env.CHROMIUM, '/usr/bin/chromium', '/usr/bin/chromium-browser']) {
    if (c && existsSync(c)) return c;
  }
  fail('no Chromium: install Debian\'s chromium (make test-web does)');
}

async function startChromium() {
  const profile = join(work, 'profile');
  chrome = spawn(findChromium(), [
    '--headless=new', '--remote-debugging-port=0', `--user-data-dir=${profile}`, '--no-sandbox', '--disable-gpu',
    '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-default-browser-check', '--autoplay-policy=user-gesture-required',
    '--window-size=900,900', 'about:blank',
  ], { detached: true, stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  chrome.stderr.on('data', (d) => { log = (log + d).slice(-4000); });
  chrome.on('exit', (code) => { if (chrome) fail(`Chromium ended (${code}):\n${log}`); });
  const portFile = join(profile, 'DevToolsActivePort');
  const port = await until('Chromium to listen', () => existsSync(portFile) && readFileSync(portFile, 'utf8').split('\n')[0], 60_000);
  const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
  const page = targets.find((t) => t.type === 'page');
  if (!page) fail('Chromium shows no page');
  const dt = new DevTools(page.webSocketDebuggerUrl);
  await dt.opened;
  await dt.send('Page.enable');
  await dt.send('Runtime.enable');
  return dt;
}

// --- the page -----------------------------------------------------------------------------------
async function open(dt, url) {
  await dt.send('Page.navigate', { url });
  await until(`the page to start (${url})`, () => dt.eval(
    "typeof PomurieWeb !== 'undefined' && PomurieWeb.firstFrameMs >= 0 && typeof Module._pomurie_pending === 'function'")
    .catch(() => false), 60_000);
  return dt.eval('PomurieWeb.firstFrameMs');
}

async function canvasRect(dt) {
  return dt.eval("(() => { const r = document.getElementById('picture').getBoundingClientRect(); return [r.left, r.top, r.width]; })()");
}

async function origin(dt, widget) {
  const v = await dt.eval(`PomurieWeb.widgetOrigin(${JSON.stringify(widget)})`);
  if (process.env.POMURIE_DEBUG) console.log('origin', widget, v);
  return v < 0 ? null : [Math.floor(v / 65536), v % 65536];
}

// A click at (x, y) of the picture, through the browser's own input.
async function click(dt, x, y, button = 'left') {
  const [left, top, width] = await canvasRect(dt);
  const s = width / kSide;
  const at = { x: left + (x + 0.5) * s, y: top + (y + 0.5) * s, button, clickCount: 1 };
  if (process.env.POMURIE_DEBUG) console.log(JSON.stringify(at));
  await dt.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
  await dt.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
}

const keyNames = { 13: ['Enter', 'Enter', '\r'], 27: ['Escape', 'Escape', ''], 32: [' ', 'Space', ' '] };
async function key(dt, vk) {
  const [k, code, text] = keyNames[vk] || [String.fromCharCode(vk), `Digit${String.fromCharCode(vk)}`, String.fromCharCode(vk)];
  await dt.send('Input.dispatchKeyEvent', { type: 'keyDown', key: k, code, text, windowsVirtualKeyCode: vk });
  await dt.send('Input.dispatchKeyEvent', { type: 'keyUp', key: k, code, windowsVirtualKeyCode: vk });
}

const pending = (dt) => dt.eval('Module._pomurie_pending()');
const drained = (dt, what) => until(what, async () => (await pending(dt)) === 0, 60_000, 20);

function readPpm(path) {
  const b = readFileSync(path);
  const header = b.subarray(0, 20).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  return { width: +header[1], height: +header[2], rgb: b.subarray(header[0].length) };
}

function writePpm(path, rgba) {
  const rgb = Buffer.alloc(kSide * kSide * 3);
  for (let i = 0; i < kSide * kSide; ++i) for (let c = 0; c < 3; ++c) rgb[i * 3 + c] = rgba[i * 4 + c];
  writeFileSync(path, Buffer.concat([Buffer.from(`P6\n${kSide} ${kSide}\n255\n`), rgb]));
}

async function userFile(dt, path) {
  return dt.eval(`(() => { try { const b = FS.readFile(${JSON.stringify(path)}); let s = '';
    for (let i = 0; i < b.length; i += 8192) s += String.fromCharCode.apply(null, b.subarray(i, i + 8192));
    return btoa(s); } catch (e) { return null; } })()`).then((v) => (v === null ? null : Buffer.from(v, 'base64')));
}

const synced = (dt) => until('the files to reach IndexedDB', () => dt.eval(
  '(PomurieWeb.synced || 0) > 0 && !PomurieWeb.syncBusy()'), 30_000);

// --- the run -------------------------------------------------------------------------------------
if (typeof WebSocket === 'undefined') fail('this Node has no WebSocket: run it with --experimental-websocket (Node 20.10 or later)');
for (const f of ['index.html', 'index.js', 'index.wasm', 'index.data', 'ipagp.ttf']) {
  if (!existsSync(join(pageDir, f))) fail(`${join(pageDir, f)} is missing: run make web`);
}
const frames = join(nativeDir, 'pomurie-webframes');
if (!existsSync(frames)) fail(`${frames} is missing: run make web`);

const script = join(here, 'script.txt');
const nativeOut = join(work, 'native');
execFileSync('mkdir', ['-p', nativeOut]);
console.log(execFileSync(frames, [nativeDir, script, nativeOut], { encoding: 'utf8' }).trim());

server = await serve(pageDir, 0);
const base = `http://127.0.0.1:${server.address().port}/index.html`;
const dt = await startChromium();

// 1. The seeded script in lockstep, against the headless platform.
const firstSplash = await open(dt, `${base}?lockstep`);
let snaps = 0;
for (const raw of readFileSync(script, 'utf8').split('\n')) {
  const line = raw.replace(/#.*/, '').trim();
  if (!line) continue;
  const [op, ...rest] = line.split(/\s+/);
  await drained(dt, `the page to take the steps before "${line}"`);
  console.log(`step: ${line}`);
  if (op === 'ticks') {
    await dt.eval(`Module._pomurie_ticks(${Number(rest[0])})`);
  } else if (op === 'click') {
    const at = await origin(dt, rest[0]);
    if (!at) fail(`"${line}": ${rest[0]} is not shown on the page`);
    await click(dt, at[0] + Number(rest[1]), at[1] + Number(rest[2]), rest[3] === 'right' ? 'right' : 'left');
  } else if (op === 'key') {
    await key(dt, Number(rest[0]));
  } else if (op === 'type') {
    const at = await origin(dt, rest[0]);
    if (!at) fail(`"${line}": ${rest[0]} is not shown on the page`);
    await dt.eval("document.getElementById('name').focus()");
    await dt.eval("document.getElementById('name').select()");
    await dt.send('Input.insertText', { text: rest.slice(1).join(' ') });
  } else if (op === 'snap') {
    await dt.eval('Module._pomurie_snap()');
    snaps++;
  } else {
    fail(`unknown step "${line}"`);
  }
}
await drained(dt, 'the script to end');
await until('every snapshot', async () => (await dt.eval('PomurieWeb.snaps.length')) >= snaps);
for (let k = 0; k < snaps; ++k) {
  const web = Buffer.from(await dt.eval(`PomurieWeb.snaps[${k}]`), 'base64');
  const native = readPpm(join(nativeOut, `snap${k}.ppm`));
  let diff = 0, first = null;
  for (let i = 0; i < kSide * kSide; ++i) {
    for (let c = 0; c < 3; ++c) {
      if (web[i * 4 + c] !== native.rgb[i * 3 + c]) {
        if (!first) first = `(${i % kSide}, ${Math.floor(i / kSide)}): page ${[...web.subarray(i * 4, i * 4 + 3)]} headless ${[...native.rgb.subarray(i * 3, i * 3 + 3)]}`;
        diff++;
        break;
      }
    }
  }
  if (diff) writePpm(join(work, `page-snap${k}.ppm`), web);
  check(diff === 0, `snapshot ${k}: the page's canvas is the headless picture${diff ? ` (${diff} pixels differ, first at ${first}; see ${work})` : ''}`);
}
const nativeSave = readFileSync(join(nativeOut, 'saved.dat'));
const pageSave = await userFile(dt, '/user/dat/my.dat');
if (!check(pageSave && pageSave.equals(nativeSave), 'the page saved the same my.dat as the headless platform') && pageSave) {
  writeFileSync(join(work, 'page-my.dat'), pageSave);
}
await synced(dt);
const name = Buffer.from([0x83, 0x7c, 0x83, 0x80, 0x82, 0xcc, 0x93, 0x58]);  // ポムの店 in CP932
check(pageSave && pageSave.includes(name), 'the typed name is in the save');

// 2. As a player comes back: real time, real text; the game goes on where it was.
const splashMs = await open(dt, base);
// Click through the splash and the title until the home menu stands as in the
// seeded run (its picture, status panel and choice boxes; the texts differ).
const nativeHome = readPpm(join(nativeOut, 'snap2.ppm'));
let same = 0;
for (let tries = 0; tries < 10 && same < 0.9; ++tries) {
  await click(dt, 150, 150);
  await sleep(2000);
  if (tries === 0) check(await origin(dt, 'bp_box') === null, 'past the splash after a reload, no character is made anew');
  const home = Buffer.from(await dt.eval('(() => { PomurieWeb.snapTaken(); return PomurieWeb.snaps.pop(); })()'), 'base64');
  same = 0;
  for (let i = 0; i < kSide * kSide; ++i) {
    if (home.compare(nativeHome.rgb, i * 3, i * 3 + 3, i * 4, i * 4 + 3) === 0) same++;
  }
  same /= kSide * kSide;
}
check(same >= 0.9, `the page comes back to the home menu (${(100 * same).toFixed(1)}% of its pixels as in the seeded run)`);
const reloadedSave = await userFile(dt, '/user/dat/my.dat');
check(reloadedSave && reloadedSave.includes(name), 'the save read back from IndexedDB holds the character');

if (measureSeconds > 0) {
  await dt.eval('PomurieWeb.ticks.length = 0; PomurieWeb.costs.length = 0');
  await sleep(measureSeconds * 1000);
  const [ticks, costs] = await dt.eval('[PomurieWeb.ticks, PomurieWeb.costs]');
  const gaps = ticks.slice(1).map((t, i) => t - ticks[i]);
  const mean = (a) => a.reduce((x, y) => x + y, 0) / a.length;
  console.log(`measure: time to the splash ${firstSplash.toFixed(0)} ms (first load), ${splashMs.toFixed(0)} ms (reload)`);
  console.log(`measure: ${ticks.length} ticks in ${measureSeconds} s; interval mean ${mean(gaps).toFixed(2)} ms, worst ${Math.max(...gaps).toFixed(2)} ms`);
  console.log(`measure: tick cost (game + drawing the page) mean ${mean(costs).toFixed(3)} ms, worst ${Math.max(...costs).toFixed(3)} ms`);
}
if (screenshotPath) {
  const shot = await dt.send('Page.captureScreenshot', { format: 'png' });
  writeFileSync(screenshotPath, Buffer.from(shot.data, 'base64'));
  console.log(`screenshot: ${screenshotPath}`);
}

// 3. A damaged save in the browser's storage: the message, and the copy kept aside.
await dt.eval("FS.writeFile('/user/dat/my.dat', 'not a save\\n'); PomurieWeb.syncFiles()");
await synced(dt);
await dt.send('Page.navigate', { url: base });
const message = await until('the damaged-save message', () => dt.eval(
  "document.getElementById('dialog').style.display === 'flex' && document.getElementById('dialog-text').textContent")
  .catch(() => false), 60_000);
check(/こわれ/.test(message), `the page tells of the damaged save ("${message.split('\n')[0]}")`);
await dt.eval("document.getElementById('dialog-yes').click()");
const kept = await until('the damaged copy', () => userFile(dt, '/user/dat/my.dat.damaged'), 10_000);
check(kept.toString() === 'not a save\n', 'the damaged save is kept aside whole');

check(dt.errors.length === 0, `no script errors on the page${dt.errors.length ? ':\n  ' + dt.errors.join('\n  ') : ''}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
