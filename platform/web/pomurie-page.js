// The page around the game: shows its frames, turns the page's input into the
// game's events, plays its sound blocks through Web Audio, keeps the player's
// files in IndexedDB, and shows its dialogs. The game calls PomurieWeb.*.
'use strict';

const kSide = 300;
const params = new URLSearchParams(location.search);

const PomurieWeb = {
  lockstep: params.has('lockstep'),
  firstFrameMs: -1,
  ticks: [],  // performance.now() at each tick
  costs: [],  // ms the game and the drawing took in each tick
  snaps: [],  // lockstep: base64 RGBA of each snapshot
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
    document.getElementById('loading').remove();
  }
};

PomurieWeb.fitScale = () => Math.max(1, Math.floor(Math.min(innerWidth, innerHeight) / kSide));

PomurieWeb.setScaleCap = (cap) => {
  PomurieWeb.scaleCap = cap;
  layout();
};

function layout() {
  const fit = PomurieWeb.fitScale();
  shownScale = PomurieWeb.scaleCap > 0 && !document.fullscreenElement ? Math.min(fit, PomurieWeb.scaleCap) : fit;
  screenBox.style.width = screenBox.style.height = kSide * shownScale + 'px';
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
  nameField.blur();
  const [x, y] = picturePoint(e.clientX, e.clientY);
  Module._pomurie_mouse(1, e.button, x, y);
});
canvas.addEventListener('mousemove', (e) => {
  if (PomurieWeb.lockstep) return;  // the test's script has no moves
  const [x, y] = picturePoint(e.clientX, e.clientY);
  Module._pomurie_mouse(0, 0, x, y);
});
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// A tap is a click, a long press a right click.
let touch = null;
canvas.addEventListener('touchstart', (e) => {
  e.preventDefault();
  firstGesture();
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
  if (steps === 0) return;
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

document.addEventListener('keydown', (e) => {
  firstGesture();
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
  const vk = vkOf(e);
  if (!vk) return;
  // The name field keeps every key for typing but Enter and F1.
  if (e.target === nameField && vk !== 13 && vk !== 112) return;
  e.preventDefault();
  Module._pomurie_key(vk);
});
document.addEventListener('keyup', (e) => { if (e.key === 'Control') Module._pomurie_control(0); });
addEventListener('blur', () => Module._pomurie_control(0));

// Hidden or closed: save at once, as the desktop's close does.
function suspend() {
  if (Module._pomurie_suspend) Module._pomurie_suspend();
}
document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') suspend(); });
addEventListener('pagehide', suspend);

// --- the player's files -----------------------------------------------------------------------

let syncing = false, syncAgain = false;
PomurieWeb.syncFiles = () => {
  if (syncing) { syncAgain = true; return; }
  syncing = true;
  FS.syncfs(false, (err) => {
    if (err) console.error('pomurie: could not keep the files', err);
    syncing = false;
    PomurieWeb.synced = (PomurieWeb.synced || 0) + 1;
    if (syncAgain) { syncAgain = false; PomurieWeb.syncFiles(); }
  });
};

PomurieWeb.syncBusy = () => syncing || syncAgain;

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

// --- start-up: the player's folder and the face first, then the game ------------------------

var Module = {
  canvas,
  print: (s) => console.log(s),
  printErr: (s) => console.error(s),
  preRun: [() => {
    FS.mkdir('/user');
    FS.mount(IDBFS, {}, '/user');
    addRunDependency('user-files');
    FS.syncfs(true, (err) => {
      if (err) console.error('pomurie: could not read the saved files', err);
      removeRunDependency('user-files');
    });
    addRunDependency('face');
    const face = new FontFace('IPAPGothic', 'url(ipagp.ttf)');
    face.load().then((f) => document.fonts.add(f), (err) => console.error('pomurie: no face', err))
      .finally(() => removeRunDependency('face'));
  }],
  onAbort: (what) => {
    document.getElementById('ended-text').textContent = 'エラーで止まりました: ' + what;
    document.getElementById('ended').style.display = 'flex';
  },
};
window.Module = Module;
window.PomurieWeb = PomurieWeb;
layout();
