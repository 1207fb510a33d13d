// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: shows its frames, turns the page's input into the
// game's events, plays its sound blocks through Web Audio, keeps the player's
// files in IndexedDB, and shows its dialogs. The game calls PomurieWeb.*.
'use strict';

const kSide = 300;
const params = new URLSearchParams(location.search);
// The build's version, which every file of it is asked for under (see finish.mjs).
const versionQuery = document.currentScript ? new URL(document.currentScript.src).search : '';

// When each part of the start-up was ready (ms since the navigation), for the measures.
const startup = {};
const mark = (what) => { if (!(what in startup)) startup[what] = Math.round(performance.now()); };

// --- the two programs, downloaded and compiled from the first moment ---------------------

// A server that packs what it sends (serve.mjs, most hosts) is asked for the programs
// by their own names. One that sends files as they are (python3 -m http.server) is
// asked for their gzip copies, unpacked here on the way in: less than half the bytes.
// That server is known by this script's own arrival; a page kept by the service
// worker asks as the page that installed it did.
function askForGzipCopies() {
  if (typeof DecompressionStream !== 'function') return false;
  const keeper = navigator.serviceWorker && navigator.serviceWorker.controller;
  if (keeper) return new URL(keeper.scriptURL).searchParams.get('wasm') === 'gz';
  const me = document.currentScript && performance.getEntriesByName(document.currentScript.src)[0];
  return !!me && me.decodedBodySize > 0 && me.encodedBodySize >= me.decodedBodySize;
}
const gzipCopies = askForGzipCopies();

// Compiles a program while it downloads.
async function compileProgram(name) {
  const res = await fetch(name + (gzipCopies ? '.gz' : '') + versionQuery, { credentials: 'same-origin' });
  if (!res.ok) throw new Error(`${name}: HTTP ${res.status}`);
  let body = res.body;
  // A server may mark the gzip copy as packed, and the browser has unpacked it then.
  if (gzipCopies && !/gzip/i.test(res.headers.get('Content-Encoding') || '')) {
    body = body.pipeThrough(new DecompressionStream('gzip'));
  }
  const wasm = body === res.body && /application\/wasm/.test(res.headers.get('Content-Type') || '')
    ? res : new Response(body, { headers: { 'Content-Type': 'application/wasm' } });
  if (WebAssembly.compileStreaming) return WebAssembly.compileStreaming(wasm);
  return WebAssembly.compile(await wasm.arrayBuffer());
}
const programCode = compileProgram('index.wasm');
const makerCode = compileProgram('assets.wasm');

// The pictures, sounds and names are made here by the game's own generator, in two
// workers (one where the machine has a single core), while the game's program
// downloads. The workers take the generator's jobs one at a time, in the order the
// game first reads their files, and post each file as it is made; the game starts
// once the start-up's are in and waits for any other it reaches early.
const made = { files: [], stored: new Set(), count: 0, done: false, error: '', onFile: null };
// The browser test holds some files back (?hold=cg/title.bmp,...,face) until it lets
// them go, to see the game wait for them.
const holding = params.has('hold') ? params.get('hold').split(',') : [];
const held = new Map(holding.filter((n) => n !== 'face').map((n) => [n, null]));
const makers = [];
const jobs = { next: 0, count: Infinity, finished: 0 };
function makerFailed(error) {
  if (made.done) return;
  made.done = true;
  made.error = error;
  for (const m of makers) m.terminate();
  console.error('pomurie: the pictures and sounds could not be made:', error);
}
function arrived(name, bytes) {
  if (held.has(name)) { held.set(name, bytes); return; }
  PomurieWeb.arrivals[name] = Math.round(performance.now());
  made.count++;
  if (made.onFile) made.onFile(name, bytes); else made.files.push({ name, bytes });
}
// The next job to a worker that has none, or its end when none is left.
function nextJob(maker) {
  if (jobs.next < jobs.count) maker.postMessage({ job: jobs.next++ });
  else maker.terminate();
}
for (let k = 0; k < ((navigator.hardwareConcurrency || 1) > 1 ? 2 : 1); ++k) {
  const maker = new Worker('assets.js' + versionQuery);
  makers.push(maker);
  maker.onmessage = (e) => {
    const m = e.data;
    if (m.name) { arrived(m.name, m.bytes); return; }
    if (m.error) { makerFailed(m.error); return; }
    if (m.jobs !== undefined) { jobs.count = m.jobs; mark('maker'); return; }
    if (!m.ok) { makerFailed(`job ${m.finished} failed`); return; }
    PomurieWeb.jobs[m.finished] = Math.round(m.ms);
    if (++jobs.finished === jobs.count) {
      made.done = true;
      mark('made');
    }
    nextJob(maker);
  };
  maker.onerror = (e) => makerFailed(e.message || 'the asset worker failed');
  nextJob(maker);
}
makerCode.then((code) => {
  mark('generator');
  for (const m of makers) m.postMessage({ code });
}, (err) => makerFailed(String(err)));

// The face the game's texts are drawn in: after the programs, which the first picture
// needs more; the game's text waits for it (see web_platform.cpp).
let faceReady = false, releaseFace = null;
const faceLetGo = holding.includes('face') ? new Promise((r) => { releaseFace = r; }) : null;
Promise.allSettled([programCode, makerCode]).then(() => faceLetGo).then(() => {
  const face = new FontFace('IPAPGothic', `url(face.woff2${versionQuery})`);
  return face.load().then((f) => document.fonts.add(f), (err) => console.error('pomurie: no face', err));
}).finally(() => { faceReady = true; mark('face'); });

const PomurieWeb = {
  lockstep: params.has('lockstep'),
  awaited: '',  // the game file (or 'face') the game last had to wait for
  arrivals: {},  // ms since the navigation at which each made file came in
  jobs: [],  // ms each of the generator's jobs took in its worker
  firstFrameMs: -1,
  ticks: [],  // performance.now() at each tick
  costs: [],  // ms the game and the drawing took in each tick
  snaps: [],  // lockstep: base64 RGBA of each snapshot
  startup,
  ended: false,
  scaleCap: 0,  // 0: as large as fits
};

const screenBox = document.getElementById('screen');
const canvas = document.getElementById('picture');
const ctx = canvas.getContext('2d', { alpha: false });
const image = ctx.createImageData(kSide, kSide);
const nameField = document.getElementById('name');
const dialog = document.getElementById('dialog');
const textCanvas = document.createElement('canvas');
const textCtx = textCanvas.getContext('2d', { willReadFrequently: true });
let shownScale = 1;

// --- the picture ------------------------------------------------------------------------

PomurieWeb.present = (ptr, w, h) => {
  image.data.set(HEAPU8.subarray(ptr, ptr + w * h * 4));
  ctx.putImageData(image, 0, 0);
  if (PomurieWeb.firstFrameMs < 0) {
    PomurieWeb.firstFrameMs = performance.now();
    running = !stopped;
    if (stopped) Module._pomurie_stop();  // the game moved away while this tab was starting
    document.getElementById('loading').remove();
    // Play has begun: ask that the browser keep the save through a storage clean-up.
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(() => {});
    // Keep this build's files for the next visit and for playing offline.
    if ('serviceWorker' in navigator && !PomurieWeb.lockstep) {
      navigator.serviceWorker.register(gzipCopies ? 'sw.js?wasm=gz' : 'sw.js')
        .catch((err) => console.warn('pomurie: no offline copy', err));
    }
  }
};

// The room the picture has: the page less the controls' strip (below it when the
// page stands upright, beside it when it lies).
function room() {
  const bar = document.getElementById('controls');
  const side = getComputedStyle(document.body).flexDirection === 'row';
  const w = innerWidth - (side && bar ? bar.offsetWidth : 0);
  const h = innerHeight - (!side && bar ? bar.offsetHeight : 0);
  return Math.max(1, Math.min(w, h));
}

PomurieWeb.fitScale = () => Math.max(1, Math.floor(room() / kSide));

PomurieWeb.setScaleCap = (cap) => {
  PomurieWeb.scaleCap = cap;
  layout();
};

// The largest whole factor of device pixels that fits (sharp pixels on any screen);
// a room under 300 CSS px shrinks the picture rather than cut it.
function pictureSide(cssRoom, ratio, cap) {
  const factor = Math.floor(cssRoom * ratio / kSide);
  let side = factor >= 1 ? factor * kSide / ratio : cssRoom;
  if (cap > 0) side = Math.min(side, Math.max(cap * kSide, Math.min(cssRoom, kSide)));
  return side;
}
PomurieWeb.pictureSide = pictureSide;

function layout() {
  const cap = document.fullscreenElement ? 0 : PomurieWeb.scaleCap;
  const side = pictureSide(room(), devicePixelRatio || 1, cap);
  shownScale = side / kSide;
  screenBox.style.width = screenBox.style.height = side + 'px';
  lastInput = '';  // the name field follows the new scale
}
addEventListener('resize', layout);
document.addEventListener('fullscreenchange', layout);

PomurieWeb.fullScreen = (on) => {
  if (on && !document.fullscreenElement) document.documentElement.requestFullscreen().catch(() => {});
  if (!on && document.fullscreenElement) document.exitFullscreen().catch(() => {});
};

// --- text: the browser's own engine, in the face the page ships --------------------------

function fontOf(px, style) {
  return (style & 2 ? 'italic ' : '') + (style & 1 ? 'bold ' : '') + px + 'px IPAPGothic';
}

PomurieWeb.textWidth = (s, px, style) => {
  textCtx.font = fontOf(px, style);
  return Math.round(textCtx.measureText(s).width);
};

const ascents = new Map();
// Coverage of the text, white on nothing, its cell's top-left at (0, 0) and its
// baseline at the face's ascent, as the desktop places it.
PomurieWeb.textMask = (s, px, style, out, w, h) => {
  if (textCanvas.width < w || textCanvas.height < h) {
    textCanvas.width = Math.max(textCanvas.width, w);
    textCanvas.height = Math.max(textCanvas.height, h);
  }
  const font = fontOf(px, style);
  textCtx.font = font;
  let ascent = ascents.get(font);
  if (ascent === undefined) {
    ascent = Math.round(textCtx.measureText('あ').fontBoundingBoxAscent);
    ascents.set(font, ascent);
  }
  textCtx.clearRect(0, 0, w, h);
  textCtx.fillStyle = '#fff';
  textCtx.textBaseline = 'alphabetic';
  textCtx.fillText(s, 0, ascent);
  const data = textCtx.getImageData(0, 0, w, h).data;
  for (let i = 0, n = w * h; i < n; ++i) HEAPU8[out + i] = data[i * 4 + 3];
  return 1;
};

// --- the name field ------------------------------------------------------------------------

let lastInput = '';
PomurieWeb.placeInput = (x, y, w, h, px, visible, fg, bg) => {
  const key = [x, y, w, h, px, visible, fg, bg, shownScale].join();
  if (key === lastInput) return;
  lastInput = key;
  const s = shownScale;
  const hex = (c) => '#' + c.toString(16).padStart(6, '0');
  Object.assign(nameField.style, {
    display: visible ? 'block' : 'none',
    left: x * s + 'px', top: y * s + 'px', width: w * s + 'px', height: h * s + 'px',
    fontSize: px * s + 'px', color: hex(fg), background: hex(bg),
  });
  if (!visible && document.activeElement === nameField) nameField.blur();
};
PomurieWeb.inputText = () => nameField.value;
PomurieWeb.setInputText = (s) => { nameField.value = s; };
PomurieWeb.focusInput = () => nameField.focus();

// --- dialogs inside the page -------------------------------------------------------------------

let dialogAnswer = -1;
PomurieWeb.dialogOpen = (text, yesNo) => {
  dialogAnswer = -1;
  document.getElementById('dialog-text').textContent = text.replace(/\r\n/g, '\n');
  document.getElementById('dialog-yes').textContent = yesNo ? 'はい' : 'OK';
  document.getElementById('dialog-no').style.display = yesNo ? '' : 'none';
  dialog.style.display = 'flex';
  document.getElementById('dialog-yes').focus();
};
function answer(a) {
  dialog.style.display = 'none';
  dialogAnswer = a;
}
document.getElementById('dialog-yes').addEventListener('click', () => answer(1));
document.getElementById('dialog-no').addEventListener('click', () => answer(0));
PomurieWeb.dialogAnswer = () => dialogAnswer;
const dialogOpen = () => dialog.style.display === 'flex';

// --- input ---------------------------------------------------------------------------------------

function picturePoint(clientX, clientY) {
  const r = canvas.getBoundingClientRect();
  const clamp = (v) => Math.max(0, Math.min(kSide - 1, Math.floor(v)));
  return [clamp((clientX - r.left) * kSide / r.width), clamp((clientY - r.top) * kSide / r.height)];
}

let heard = false;
// Browsers keep a page silent until the player's first click or key.
function firstGesture() {
  if (heard) return;
  heard = true;
  if (audio.ctx) audio.ctx.resume();
}

canvas.addEventListener('mousedown', (e) => {
  e.preventDefault();
  firstGesture();
  if (!running) return;
  nameField.blur();
  const [x, y] = picturePoint(e.clientX, e.clientY);
  Module._pomurie_mouse(1, e.button, x, y);
});
canvas.addEventListener('mousemove', (e) => {
  if (PomurieWeb.lockstep || !running) return;  // the test's script has no moves
  const [x, y] = picturePoint(e.clientX, e.clientY);
  Module._pomurie_mouse(0, 0, x, y);
});
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// A tap is a click, a long press a right click.
let touch = null;
canvas.addEventListener('touchstart', (e) => {
  e.preventDefault();
  firstGesture();
  if (!running) return;
  const t = e.changedTouches[0];
  const at = picturePoint(t.clientX, t.clientY);
  touch = { at, timer: setTimeout(() => { touch = null; Module._pomurie_mouse(1, 2, at[0], at[1]); }, 500) };
}, { passive: false });
canvas.addEventListener('touchend', (e) => {
  e.preventDefault();
  if (!touch) return;
  clearTimeout(touch.timer);
  Module._pomurie_mouse(1, 0, touch.at[0], touch.at[1]);
  touch = null;
}, { passive: false });
canvas.addEventListener('touchmove', (e) => e.preventDefault(), { passive: false });

let wheel = 0;
canvas.addEventListener('wheel', (e) => {
  e.preventDefault();
  wheel += e.deltaMode === 0 ? e.deltaY / 100 : e.deltaMode === 1 ? e.deltaY / 3 : e.deltaY;
  const steps = Math.trunc(wheel);
  if (steps === 0 || !running) return;
  wheel -= steps;
  const [x, y] = picturePoint(e.clientX, e.clientY);
  Module._pomurie_wheel(-steps, x, y);  // away from the player is up
}, { passive: false });

// The keys the desktop's game reacts to, as its virtual-key codes.
function vkOf(e) {
  const named = { Enter: 13, Escape: 27, ' ': 32, Tab: 9, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
    ArrowDown: 40, F1: 112, '+': 187, '=': 187, '-': 189 };
  if (e.code === 'NumpadAdd') return 187;
  if (e.code === 'NumpadSubtract') return 189;
  if (e.code === 'NumpadEnter') return 13;
  if (named[e.key] !== undefined) return named[e.key];
  if (e.key.length === 1 && /[0-9a-z]/i.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
  return 0;
}

const anyCover = () => [...document.querySelectorAll('.cover')].some((c) => c.style.display === 'flex');
document.addEventListener('keydown', (e) => {
  firstGesture();
  if (!running) return;
  if (e.key === 'Control') Module._pomurie_control(1);
  if (dialogOpen()) {
    if (e.key === 'Enter') { e.preventDefault(); answer(1); }
    if (e.key === 'Escape') { e.preventDefault(); answer(document.getElementById('dialog-no').style.display ? 1 : 0); }
    return;
  }
  if (e.key === 'F11') {  // the browser's full screen, in the key's own gesture
    e.preventDefault();
    PomurieWeb.fullScreen(!document.fullscreenElement);
    return;
  }
  if (e.ctrlKey || e.altKey || e.metaKey || e.isComposing) return;
  if (anyCover() || e.target.tagName === 'BUTTON' || e.target.tagName === 'TEXTAREA') return;
  const vk = vkOf(e);
  if (!vk) return;
  // The name field keeps every key for typing but Enter and F1.
  if (e.target === nameField && vk !== 13 && vk !== 112) return;
  e.preventDefault();
  Module._pomurie_key(vk);
});
document.addEventListener('keyup', (e) => { if (running && e.key === 'Control') Module._pomurie_control(0); });
addEventListener('blur', () => { if (running) Module._pomurie_control(0); });

// Hidden or closed: save at once, as the desktop's close does. The save lands in
// memory; the page then carries it to IndexedDB.
function suspend() {
  if (running && Module._pomurie_suspend) Module._pomurie_suspend();
}
document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') suspend(); });
addEventListener('pagehide', suspend);

// --- the player's files -----------------------------------------------------------------------

// /user is IndexedDB's copy in memory. The game's writes (and their fsync) stay in
// memory: a sync inside the game would be a second sleep started while the game's
// loop already sleeps. The page carries the files over afterwards, one sync at a
// time; a sync asked for while one runs starts after it with the files as they are
// then, so the last save always lands last.
let userMount = null;
let writable = true;    // false once the game has moved away or an import took over
let running = false;    // the game's main loop has started
let syncTail = Promise.resolve(), syncQueued = null, syncsInFlight = 0;
PomurieWeb.synced = 0;
function persistFiles(last = false) {
  if ((!writable && !last) || !userMount) return Promise.resolve();
  if (syncQueued) return syncQueued;
  syncsInFlight++;
  const next = syncTail.then(() => new Promise((done) => {
    syncQueued = null;
    IDBFS.syncfs(userMount, false, (err) => {
      if (err) console.error('pomurie: could not keep the files', err);
      syncsInFlight--;
      PomurieWeb.synced++;
      done();
    });
  }));
  syncQueued = syncTail = next;
  return next;
}
PomurieWeb.syncFiles = () => { persistFiles(); };
PomurieWeb.syncBusy = () => syncsInFlight > 0;

// The last writes before this page lets go of the save; nothing follows them.
function lastSync() {
  const p = persistFiles(true);
  writable = false;
  return p;
}

let stopped = false;  // for good: the game moved away or an import took over
function stopGame() {
  if (Module._pomurie_stop) Module._pomurie_stop();
  stopped = true;
  running = false;
  if (audio.ctx) audio.ctx.suspend().catch(() => {});
}

// --- one game across tabs and windows ----------------------------------------------------------

// The tab that plays holds this lock; another tab asks it, over the channel, to save
// and let go.
const lockName = 'pomurie-save';
const channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('pomurie') : null;
let releaseLock = null, lockReleased = Promise.resolve();

function cover(id, on) { document.getElementById(id).style.display = on ? 'flex' : 'none'; }

// Holds the lock until releaseLock(); the promise settles once it is let go.
function holdLock(lock) {
  return new Promise((release) => { releaseLock = release; });
}

function requestLock(wait) {
  return new Promise((got) => {
    lockReleased = navigator.locks.request(lockName, wait ? {} : { ifAvailable: true }, (lock) => {
      if (!lock) { got(false); return null; }
      got(true);
      return holdLock(lock);
    });
  });
}

// Resolves once this page holds the save; until then it says where the game is.
async function acquireSave() {
  if (!navigator.locks) return;  // an old browser: one tab is the player's own care
  if (await requestLock(false)) return;
  await new Promise((r) => setTimeout(r, 300));  // a reload's old page may just be letting go
  if (await requestLock(false)) return;
  document.getElementById('loading').style.display = 'none';
  cover('elsewhere', true);
  const take = new Promise((r) => {
    document.getElementById('play-here').onclick = r;
    if (location.hash === '#take') r();
  });
  await take;
  history.replaceState(null, '', location.pathname + location.search);
  document.getElementById('elsewhere-text').textContent = 'あちらのタブがセーブするのを待っています…';
  document.getElementById('play-here').style.display = 'none';
  if (channel) channel.postMessage({ take: true });
  await requestLock(true);
  cover('elsewhere', false);
  document.getElementById('loading').style.display = '';
}

// Another tab takes the game: save the last whole action, let go, say so.
async function moveAway() {
  if (!releaseLock) return;
  suspend();
  stopGame();
  await lastSync();
  releaseLock();
  releaseLock = null;
  await lockReleased;
  cover('moved', true);
}
if (channel) channel.onmessage = (e) => { if (e.data && e.data.take) moveAway(); };
document.getElementById('moved-here').addEventListener('click', () => {
  location.hash = 'take';
  location.reload();
});

// --- a save to take along -------------------------------------------------------------------------

const savePath = '/user/dat/my.dat';
const keptPath = '/user/dat/my.dat.before-import';

function base64Of(bytes) {
  let bin = '';
  for (let i = 0; i < bytes.length; i += 8192) bin += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return btoa(bin);
}

// The save file as the game would leave it now: the last whole action.
PomurieWeb.exportSave = () => {
  suspend();
  try { return FS.readFile(savePath); } catch (e) { return null; }
};

function openExport() {
  const bytes = PomurieWeb.exportSave();
  if (!bytes) { showNote('まだセーブデータがありません。'); return; }
  document.getElementById('export-text').value = base64Of(bytes);
  const link = document.getElementById('export-file');
  if (link.href) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  cover('export', true);
  link.focus();
}

// 1 when the loader's own check reads the bytes as a save.
PomurieWeb.checkSave = (bytes) => {
  if (!bytes.length || !Module._pomurie_check_save) return false;
  const p = Module._malloc(bytes.length);
  HEAPU8.set(bytes, p);
  const ok = Module._pomurie_check_save(p, bytes.length) === 1;
  Module._free(p);
  return ok;
};

// Pasted text is the file in base64, as the export shows it.
function bytesOfText(text) {
  const clean = text.replace(/\s+/g, '');
  if (!clean || !/^[A-Za-z0-9+/]*={0,2}$/.test(clean)) return null;
  try {
    const bin = atob(clean);
    const out = new Uint8Array(bin.length);
    for (let i = 0; i < bin.length; ++i) out[i] = bin.charCodeAt(i);
    return out;
  } catch (e) { return null; }
}

// Checks the bytes, keeps the current save aside and starts again from them.
// Resolves false (and changes nothing) when they are no save.
PomurieWeb.importSave = async (bytes) => {
  if (!bytes || !PomurieWeb.checkSave(bytes)) return false;
  suspend();
  stopGame();
  FS.mkdirTree('/user/dat');
  try { FS.writeFile(keptPath, FS.readFile(savePath)); } catch (e) { /* no save yet */ }
  FS.writeFile(savePath, bytes);
  await lastSync();
  if (releaseLock) { releaseLock(); releaseLock = null; await lockReleased; }
  location.reload();
  return true;
};

async function importChosen() {
  const file = document.getElementById('import-file').files[0];
  const bytes = file ? new Uint8Array(await file.arrayBuffer()) : bytesOfText(document.getElementById('import-text').value);
  if (!(await PomurieWeb.importSave(bytes))) {
    document.getElementById('import-error').textContent = 'このデータはセーブとして読めませんでした。いまのセーブはそのままです。';
  }
}

function showNote(text) {
  document.getElementById('note-text').textContent = text;
  cover('note', true);
}

// --- sound ----------------------------------------------------------------------------------------

// Blocks in the order written: each is reported done when it has ended. While the
// browser keeps the page silent they pass on the clock instead.
const audio = { ctx: null, rate: 22050, blocks: [], done: [], doneSamples: 0, nextTime: 0, nextSilent: 0 };

PomurieWeb.audioOpen = (rate) => {
  const AC = window.AudioContext || window.webkitAudioContext;
  if (!AC) return false;
  if (!audio.ctx) audio.ctx = new AC();
  if (heard) audio.ctx.resume();
  audio.rate = rate;
  audio.doneSamples = 0;
  return true;
};
PomurieWeb.audioClose = () => PomurieWeb.audioReset();

function finishHead() {
  while (audio.blocks.length && audio.blocks[0].ended) {
    const b = audio.blocks.shift();
    audio.done.push(b.id);
    audio.doneSamples += b.n;
  }
}

PomurieWeb.audioWrite = (bytes, id) => {
  const n = bytes.length, dur = n / audio.rate;
  const block = { id, n, ended: false, source: null, timer: 0, start: 0, real: false };
  audio.blocks.push(block);
  const end = () => { block.ended = true; finishHead(); };
  if (audio.ctx && audio.ctx.state === 'running' && n > 0) {
    const buf = audio.ctx.createBuffer(1, n, audio.rate);
    const ch = buf.getChannelData(0);
    for (let i = 0; i < n; ++i) ch[i] = (bytes[i] - 128) / 128;
    const src = audio.ctx.createBufferSource();
    src.buffer = buf;
    src.connect(audio.ctx.destination);
    const t = Math.max(audio.ctx.currentTime + 0.01, audio.nextTime);
    audio.nextTime = t + dur;
    src.onended = end;
    src.start(t);
    Object.assign(block, { source: src, start: t, real: true });
  } else {
    const now = performance.now() / 1000;
    const t = Math.max(now, audio.nextSilent);
    audio.nextSilent = t + dur;
    block.start = t;
    block.timer = setTimeout(end, (t + dur - now) * 1000);
  }
};

PomurieWeb.audioReset = () => {
  for (const b of audio.blocks) {
    if (b.source) { b.source.onended = null; try { b.source.stop(); } catch (e) { /* not started */ } }
    clearTimeout(b.timer);
    b.ended = true;
  }
  finishHead();
  audio.nextTime = 0;
  audio.nextSilent = 0;
};

PomurieWeb.audioTakeDone = () => (audio.done.length ? audio.done.shift() : -1);

PomurieWeb.audioPlayed = () => {
  let played = audio.doneSamples;
  const head = audio.blocks[0];
  if (head) {
    const now = head.real ? audio.ctx.currentTime : performance.now() / 1000;
    played += Math.max(0, Math.min(head.n, Math.floor((now - head.start) * audio.rate)));
  }
  return played;
};

// --- measures and the test's hooks -------------------------------------------------------------

PomurieWeb.tickDone = (start, cost) => {
  if (PomurieWeb.ticks.length >= 100000) return;
  PomurieWeb.ticks.push(start);
  PomurieWeb.costs.push(cost);
};

PomurieWeb.snapTaken = () => {
  const data = ctx.getImageData(0, 0, kSide, kSide).data;
  let bin = '';
  for (let i = 0; i < data.length; i += 8192) bin += String.fromCharCode.apply(null, data.subarray(i, i + 8192));
  PomurieWeb.snaps.push(btoa(bin));
};

// Where a widget is shown, for the test's clicks (see pomurie_widget_origin). Not
// through ccall: with Asyncify it answers with a promise while the game sleeps.
PomurieWeb.widgetOrigin = (name) => {
  const sp = stackSave();
  const p = stackAlloc(256);
  stringToUTF8(name, p, 256);
  const v = Module._pomurie_widget_origin(p);
  stackRestore(sp);
  return v;
};

PomurieWeb.closed = () => {
  PomurieWeb.ended = true;
  document.getElementById('ended').style.display = 'flex';
};

// --- the controls beside the picture ---------------------------------------------------------

// Each sends the game the key a desktop player would press.
const controlKeys = { 'c-history': 72, 'c-mute': 77, 'c-music': 66 };
for (const [id, vk] of Object.entries(controlKeys)) {
  document.getElementById(id).addEventListener('click', () => {
    firstGesture();
    if (running) Module._pomurie_key(vk);
    canvas.focus();
  });
}
document.getElementById('c-full').addEventListener('click', () => {
  firstGesture();
  PomurieWeb.fullScreen(!document.fullscreenElement);
});
document.getElementById('c-export').addEventListener('click', () => { if (running) openExport(); });
document.getElementById('c-import').addEventListener('click', () => {
  if (!running) return;
  document.getElementById('import-error').textContent = '';
  document.getElementById('import-file').value = '';
  document.getElementById('import-text').value = '';
  cover('import', true);
});
document.getElementById('import-go').addEventListener('click', importChosen);
for (const id of ['export', 'import', 'note']) {
  document.getElementById(id + '-close').addEventListener('click', () => { cover(id, false); canvas.focus(); });
}
document.getElementById('export-copy').addEventListener('click', () => {
  const text = document.getElementById('export-text');
  text.select();
  if (navigator.clipboard) navigator.clipboard.writeText(text.value).catch(() => document.execCommand('copy'));
  else document.execCommand('copy');
});

// --- start-up: the save (once this tab holds it), then the game; its files stream in behind -----

// On the loading cover, while it is there (the first frame takes it away).
function progress(text, fraction) {
  const label = document.getElementById('loading-text'), bar = document.getElementById('loading-bar');
  if (label) label.textContent = text;
  if (bar && fraction !== undefined) bar.value = fraction;
}

// How many files the generator makes (for the progress bar only).
const kMadeFiles = 161;

// The game's own files as the game asks for them: 0 there (or never to be made, the
// maker having ended), 1 still being made, 2 every one made.
PomurieWeb.fileState = (path) => {
  const name = path.startsWith('/game/') ? path.slice(6) : '';
  if (made.done && held.size === 0) return 2;
  if (!name || made.stored.has(name) || (made.done && !held.has(name))) return 0;
  PomurieWeb.awaited = name;
  return 1;
};
// 1 once the face is in, else 0 (the game's text waits).
PomurieWeb.faceState = () => {
  if (faceReady) return 1;
  PomurieWeb.awaited = 'face';
  return 0;
};
// The test lets a held file (or the face) go.
PomurieWeb.release = (name) => {
  if (name === 'face' && releaseFace) {
    releaseFace();
    releaseFace = null;
    return true;
  }
  const bytes = held.get(name);
  if (!held.delete(name) || !bytes) return false;
  arrived(name, bytes);
  return true;
};

// Held until this tab holds the save (another may be playing); asked for at once.
const saveHeld = acquireSave().then(() => mark('lock'));

// The player's files as IDBFS keeps them in IndexedDB (path -> timestamp, mode and
// contents), read once this tab holds the save, while the programs still download:
// IDBFS itself could only begin once the program runs. Null where they cannot be read.
const kIdbfsVersion = 21, kIdbfsStore = 'FILE_DATA';
const keptFiles = saveHeld.then(() => new Promise((done) => {
  let req;
  try { req = indexedDB.open('/user', kIdbfsVersion); } catch (e) { done(null); return; }
  req.onupgradeneeded = () => {  // a first visit: the database as IDBFS lays it out
    const store = req.result.createObjectStore(kIdbfsStore);
    store.createIndex('timestamp', 'timestamp', { unique: false });
  };
  req.onsuccess = () => {
    const db = req.result;
    try {
      const store = db.transaction([kIdbfsStore], 'readonly').objectStore(kIdbfsStore);
      const paths = store.getAllKeys(), entries = store.getAll();
      entries.onsuccess = () => {
        mark('kept');
        done({ db, files: paths.result.map((path, i) => [path, entries.result[i]]) });
      };
      entries.onerror = (e) => { e.preventDefault(); done(null); };
    } catch (e) {
      db.close();
      done(null);
    }
  };
  req.onerror = (e) => { e.preventDefault(); done(null); };
}));

// Puts the kept files into the player's folder as IDBFS's own reading would, and
// hands it the open database; false when IDBFS is not the one they were read for.
function restoreKeptFiles(kept) {
  if (!kept || IDBFS.DB_VERSION !== kIdbfsVersion || IDBFS.DB_STORE_NAME !== kIdbfsStore) {
    if (kept) kept.db.close();
    return false;
  }
  IDBFS.dbs['/user'] = kept.db;
  for (const [path, entry] of kept.files.sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
    if (FS.isDir(entry.mode)) FS.mkdirTree(path, entry.mode);
    else if (FS.isFile(entry.mode)) FS.writeFile(path, entry.contents, { canOwn: true });
    else continue;
    FS.chmod(path, entry.mode);
    FS.utime(path, entry.timestamp, entry.timestamp);
  }
  return true;
}

function halted(what) {
  document.getElementById('ended-text').textContent = 'エラーで止まりました: ' + what;
  document.getElementById('ended').style.display = 'flex';
}

var Module = {
  canvas,
  locateFile: (path) => path + versionQuery,
  print: (s) => console.log(s),
  printErr: (s) => console.error(s),
  // The program compiled as it came in, above.
  instantiateWasm: (imports, receive) => {
    programCode.then((code) => WebAssembly.instantiate(code, imports))
      .then((instance) => { mark('program'); receive(instance); }, (err) => halted(String(err)));
    return {};
  },
  preRun: [() => {
    mark('run');
    FS.mkdir('/user');
    // IDBFS's folder, but without its sync on fsync (see persistFiles).
    userMount = FS.mount(Object.assign({}, IDBFS, { syncfs: undefined }), {}, '/user').mount;
    addRunDependency('user-files');
    const restored = (err) => {
      if (err) console.error('pomurie: could not read the saved files', err);
      mark('save');
      removeRunDependency('user-files');
    };
    keptFiles.then((kept) => {
      let done = false;
      try {
        done = restoreKeptFiles(kept);
      } catch (err) {
        restored(err);
        return;
      }
      if (done) restored(null); else IDBFS.syncfs(userMount, true, restored);
    });
    // The folder takes each file's bytes as they came from the worker, uncopied.
    const store = (name, bytes) => {
      FS.writeFile('/game/' + name, bytes, { canOwn: true });
      made.stored.add(name);
    };
    FS.mkdirTree('/game/cg');
    FS.mkdirTree('/game/dat');
    for (const f of made.files) store(f.name, f.bytes);
    made.files = [];
    made.onFile = (name, bytes) => {
      store(name, bytes);
      progress('絵と音を作っています… (making pictures and sounds)', made.count / kMadeFiles);
    };
  }],
  onAbort: halted,
};
window.Module = Module;
window.PomurieWeb = PomurieWeb;
layout();
