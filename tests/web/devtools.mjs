// SPDX-License-Identifier: GPL-3.0-or-later
// Debian's Chromium, headless, driven over its DevTools protocol with Node's own
// WebSocket (no npm package, nothing downloaded): what the browser test and the
// page's load bench (bench/web/load_bench.mjs) both need.
import { spawn } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

export const kSide = 300;

// The command line both scripts take: `--page DIR --native DIR` and their own options.
export function commandLine(argv = process.argv.slice(2)) {
  const opt = (name, fallback) => {
    const i = argv.indexOf(name);
    return i >= 0 ? argv[i + 1] : fallback;
  };
  return { args: argv, opt, pageDir: resolve(opt('--page', 'build-web')), nativeDir: resolve(opt('--native', 'build')) };
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The probe's first truthy answer; throws once timeoutMs have passed without one.
export async function until(what, probe, timeoutMs = 30_000, everyMs = 50) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const v = await probe();
    if (v) return v;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(everyMs);
  }
}

// One target's connection: commands with their answers, events to listeners, and
// the page's script errors kept in `errors`.
export class DevTools {
  constructor(url) {
    this.ws = new WebSocket(url);
    this.next = 1;
    this.pending = new Map();
    this.errors = [];
    this.listeners = new Map();
    this.ws.onmessage = (e) => {
      const m = JSON.parse(e.data);
      if (m.id && this.pending.has(m.id)) {
        const { ok, no, method } = this.pending.get(m.id);
        this.pending.delete(m.id);
        m.error ? no(new Error(`${method}: ${m.error.message}`)) : ok(m.result);
      } else if (m.method && this.listeners.has(m.method)) {
        for (const fn of this.listeners.get(m.method)) fn(m.params);
      }
      if (m.method === 'Runtime.exceptionThrown') {
        this.errors.push(m.params.exceptionDetails.exception?.description || m.params.exceptionDetails.text);
      } else if (m.method === 'Runtime.consoleAPICalled' && m.params.type === 'error') {
        this.errors.push(m.params.args.map((a) => a.value ?? a.description).join(' '));
      }
    };
    this.opened = new Promise((ok, no) => { this.ws.onopen = ok; this.ws.onerror = () => no(new Error('DevTools socket failed')); });
  }
  on(method, fn) {
    if (!this.listeners.has(method)) this.listeners.set(method, []);
    this.listeners.get(method).push(fn);
  }
  off(method, fn) {
    const fns = this.listeners.get(method) || [];
    if (fns.includes(fn)) fns.splice(fns.indexOf(fn), 1);
  }
  send(method, params = {}) {
    const id = this.next++;
    return new Promise((ok, no) => {
      this.pending.set(id, { ok, no, method });
      this.ws.send(JSON.stringify({ id, method, params }));
      setTimeout(() => { if (this.pending.delete(id)) no(new Error(`${method}: no answer in 60 s`)); }, 60_000);
    });
  }
  async eval(expression, awaitPromise = false) {
    const r = await this.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise });
    if (r.exceptionDetails) throw new Error(`${expression}: ${r.exceptionDetails.exception?.description || r.exceptionDetails.text}`);
    return r.result.value;
  }
}

export function findChromium() {
  for (const c of [process.env.CHROMIUM, '/usr/bin/chromium', '/usr/bin/chromium-browser']) {
    if (c && existsSync(c)) return c;
  }
  throw new Error('no Chromium: install Debian\'s chromium (make test-web does)');
}

async function connect(url) {
  const dt = new DevTools(url);
  await dt.opened;
  await dt.send('Page.enable');
  await dt.send('Runtime.enable');
  return dt;
}

// Headless Chromium with its profile in `dir`: its first page's connection, the
// DevTools port, and stop(). onExit(code, log) hears of an end nobody asked for.
export async function startChromium(dir, onExit) {
  const profile = join(dir, 'profile');
  const chrome = spawn(findChromium(), [
    '--headless=new', '--remote-debugging-port=0', `--user-data-dir=${profile}`, '--no-sandbox', '--disable-gpu',
    '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-default-browser-check', '--autoplay-policy=user-gesture-required',
    '--window-size=900,900', 'about:blank',
  ], { detached: true, stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '', stopping = false;
  chrome.stderr.on('data', (d) => { log = (log + d).slice(-4000); });
  chrome.on('exit', (code) => { if (!stopping && onExit) onExit(code, log); });
  const stop = () => {
    stopping = true;
    if (chrome.exitCode === null) {
      try { process.kill(-chrome.pid, 'SIGKILL'); } catch { /* gone */ }
    }
  };
  const portFile = join(profile, 'DevToolsActivePort');
  const port = await until('Chromium to listen', () => existsSync(portFile) && readFileSync(portFile, 'utf8').split('\n')[0], 60_000);
  const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
  const page = targets.find((t) => t.type === 'page');
  if (!page) throw new Error('Chromium shows no page');
  return { dt: await connect(page.webSocketDebuggerUrl), port, stop };
}

// A second tab, its connection and its target's id.
export async function openTab(dt, port, url) {
  const t = await dt.send('Target.createTarget', { url: 'about:blank' });
  const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
  const tab = await connect(targets.find((x) => x.id === t.targetId).webSocketDebuggerUrl);
  await tab.send('Page.navigate', { url });
  return { tab, id: t.targetId };
}

// Navigates and waits for the game's first frame; its time since the navigation.
export async function open(dt, url, timeoutMs = 60_000) {
  await dt.send('Page.navigate', { url });
  await until(`the page to start (${url})`, () => dt.eval(
    "typeof PomurieWeb !== 'undefined' && PomurieWeb.firstFrameMs >= 0 && typeof Module._pomurie_pending === 'function'")
    .catch(() => false), timeoutMs);
  return dt.eval('PomurieWeb.firstFrameMs');
}

export async function canvasRect(dt) {
  return dt.eval("(() => { const r = document.getElementById('picture').getBoundingClientRect(); return [r.left, r.top, r.width]; })()");
}

// A shown widget's top-left in the picture, or null.
export async function origin(dt, widget) {
  const v = await dt.eval(`PomurieWeb.widgetOrigin(${JSON.stringify(widget)})`);
  return v < 0 ? null : [Math.floor(v / 65536), v % 65536];
}

// A click at (x, y) of the picture, through the browser's own input.
export async function click(dt, x, y, button = 'left') {
  const [left, top, width] = await canvasRect(dt);
  const s = width / kSide;
  const at = { x: left + (x + 0.5) * s, y: top + (y + 0.5) * s, button, clickCount: 1 };
  await dt.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
  await dt.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
}

const keyNames = { 13: ['Enter', 'Enter', '\r'], 27: ['Escape', 'Escape', ''], 32: [' ', 'Space', ' '] };
export async function key(dt, vk) {
  const [k, code, text] = keyNames[vk] || [String.fromCharCode(vk), `Digit${String.fromCharCode(vk)}`, String.fromCharCode(vk)];
  await dt.send('Input.dispatchKeyEvent', { type: 'keyDown', key: k, code, text, windowsVirtualKeyCode: vk });
  await dt.send('Input.dispatchKeyEvent', { type: 'keyUp', key: k, code, windowsVirtualKeyCode: vk });
}

export function readPpm(path) {
  const b = readFileSync(path);
  const header = b.subarray(0, 20).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  return { width: +header[1], height: +header[2], rgb: b.subarray(header[0].length) };
}

// The page's canvas now, RGBA.
export async function canvasNow(dt) {
  return Buffer.from(await dt.eval('(() => { PomurieWeb.snapTaken(); return PomurieWeb.snaps.pop(); })()'), 'base64');
}

// The share of the canvas's pixels (every step-th) that are as in a headless picture.
export async function likeness(dt, ppm, step = 1) {
  const shown = await canvasNow(dt);
  let same = 0, seen = 0;
  for (let i = 0; i < kSide * kSide; i += step, seen++) {
    if (shown.compare(ppm.rgb, i * 3, i * 3 + 3, i * 4, i * 4 + 3) === 0) same++;
  }
  return same / seen;
}

// A save file's bytes as base64, for the page's import.
export const importSave = (dt, bytes) => dt.eval(
  `PomurieWeb.importSave(Uint8Array.from(atob('${bytes.toString('base64')}'), (c) => c.charCodeAt(0)))`, true);

// The page on an emulated phone, upright and lying, and on a short window: fn(name,
// width, height) for each once the game is past its splash (four taps).
export async function onPhone(dt, url, fn) {
  for (const [name, width, height, ratio] of [['portrait', 390, 844, 3], ['landscape', 844, 390, 3], ['short', 640, 280, 1]]) {
    await dt.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: ratio, mobile: true,
      screenOrientation: { type: width < height ? 'portraitPrimary' : 'landscapePrimary', angle: width < height ? 0 : 90 } });
    await dt.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
    await dt.send('Page.navigate', { url });
    await until('the page on the phone', () => dt.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false), 60_000);
    for (let k = 0; k < 4; ++k) {
      const [left, top, w] = await canvasRect(dt);
      const at = { x: left + w / 2, y: top + w / 2 };
      await dt.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [at] });
      await dt.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
      await sleep(2000);
    }
    await fn(name, width, height);
  }
  await dt.send('Emulation.clearDeviceMetricsOverride');
  await dt.send('Emulation.setTouchEmulationEnabled', { enabled: false });
}
