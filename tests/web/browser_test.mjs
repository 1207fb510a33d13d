// SPDX-License-Identifier: GPL-3.0-or-later
// The page in a real browser: Debian's Chromium, headless, driven over its DevTools
// protocol (tests/web/devtools.mjs).
//
//   node --experimental-websocket tests/web/browser_test.mjs --page build-web --native build [--keep]
//
// 1. Plays tests/web/script.txt on the page in lockstep (real clicks and typing
//    through DevTools, ticks on the test's word) and on the headless platform
//    (pomurie-webframes), and holds every snapshot of the canvas against the
//    headless picture pixel for pixel, and the page's save file against the
//    headless one byte for byte. The page holds back two of the files it makes (the
//    title's picture and tune) until the game, started without them, waits for them;
//    the script hides the page twice in a battle, each save landing whole in
//    IndexedDB as the headless platform writes it at the same moment.
// 2. Reloads the page as a player would (real time, real text) and finds the game
//    where it was: the character made, the home menu after the title; the face held
//    back, the game waits for it at its first text.
// 3. Damages the save in the browser's storage, reloads, and finds the damaged-save
//    message and the kept copy.
// 4. Hides and shows the page at the opening, the character panel, the title, the
//    home menu's question (ten in a row), the shop and a message: each saves whole to
//    IndexedDB and the game ticks and answers on.
// 5. Two tabs: the second refuses, then takes over; the first stops writing.
// 6. Import: a damaged file is refused; the headless platform's save restarts the game.
// 7. The pictures and sounds the page made are the native build's, byte for byte.
// 8. The picture's size for a table of rooms and screens.
// 9. Installability, and a second visit with the network off.
// 10. The cut face draws the game's characters as the whole face.
// 11. The page's layout on a phone, upright and lying, and on a short window.
// 12. The programs from three kinds of server, each asked for as it sends them; from
//     Python's server a second visit with the network off too.
// The page's load times are measured by bench/web/load_bench.mjs (make bench-web).
import { execFileSync, spawn } from 'node:child_process';
import { createHash } from 'node:crypto';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../platform/web/serve.mjs';
import {
  canvasNow, click, importSave, kSide, key, likeness, onPhone, open, openTab, origin, readPpm, sleep,
  startChromium, until as waitUntil, commandLine,
} from './devtools.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { args, opt, pageDir, nativeDir } = commandLine();
const keep = args.includes('--keep');

let passed = 0, failed = 0;
const check = (ok, what) => {
  if (ok) { passed++; console.log(`ok: ${what}`); } else { failed++; console.log(`FAILED: ${what}`); }
  return ok;
};

// --- everything started is stopped on every way out ---------------------------------------
const work = mkdtempSync(join(tmpdir(), 'pomurie-web-'));
let stopChromium = null, server = null, python = null, marking = null;
function cleanUp() {
  if (stopChromium) stopChromium();
  stopChromium = null;
  if (server) { server.closeAllConnections?.(); server.close(); server = null; }
  if (marking) { marking.closeAllConnections?.(); marking.close(); marking = null; }
  if (python) { python.kill(); python = null; }
  if (!keep && failed === 0) rmSync(work, { recursive: true, force: true });
}
process.on('exit', cleanUp);
for (const sig of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(sig, () => { console.log(`stopped by ${sig}`); process.exit(2); });
const deadline = setTimeout(() => { console.log('FAILED: the whole test took too long'); process.exit(1); }, 600_000);
deadline.unref();

function fail(message) {
  console.log(`FAILED: ${message}`);
  console.log(`(work folder kept: ${work})`);
  failed++;
  process.exit(1);
}
const until = (...a) => waitUntil(...a).catch((e) => fail(e.message));
// A shared helper's throw (a page that never starts, Chromium gone) fails the test too.
process.on('uncaughtException', (e) => fail(e.message));
process.on('unhandledRejection', (e) => fail(e instanceof Error ? e.message : String(e)));

// --- the page -----------------------------------------------------------------------------------
const pending = (dt) => dt.eval('Module._pomurie_pending()');
const drained = (dt, what) => until(what, async () => (await pending(dt)) === 0, 60_000, 20);

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

// --- the save in the page's storage, hides -------------------------------------------------
const idbSave = (dt) => dt.eval(`new Promise((done) => {
  setTimeout(() => done('timed out'), 5000);
  const req = indexedDB.open('/user');
  req.onblocked = () => done('blocked');
  req.onsuccess = () => {
    try {
      const get = req.result.transaction('FILE_DATA').objectStore('FILE_DATA').get('/user/dat/my.dat');
      get.onsuccess = () => {
        const c = get.result && get.result.contents;
        req.result.close();
        if (!c) return done(null);
        const b = new Uint8Array(c.buffer, c.byteOffset, c.byteLength);  // kept as written: often signed bytes
        let s = '';
        for (let i = 0; i < b.length; i += 8192) s += String.fromCharCode.apply(null, b.subarray(i, i + 8192));
        done('=' + btoa(s));
      };
      get.onerror = () => { req.result.close(); done(String(get.error)); };
    } catch (e) { req.result.close(); done(String(e)); }
  };
  req.onerror = () => done(String(req.error));
})`, true).then((v) => {
  if (typeof v === 'string' && v.startsWith('=')) return Buffer.from(v.slice(1), 'base64');
  if (v) console.log(`  (IndexedDB: ${v})`);
  return null;
});
const checkSaveBytes = (dt, bytes) => dt.eval(`PomurieWeb.checkSave(Uint8Array.from(atob('${bytes.toString('base64')}'), (c) => c.charCodeAt(0)))`);

// Whether `after` is the save `before` once a start-up has loaded it and saved it
// back: every line the same but one (the load count), up by one.
function loadedFrom(before, after) {
  if (!before || !after) return false;
  const a = before.toString('latin1').split('\r\n'), b = after.toString('latin1').split('\r\n');
  const changed = a.map((l, i) => (l === b[i] ? null : [l, b[i]])).filter(Boolean);
  const ok = a.length === b.length && changed.length === 1 && Number(changed[0][1]) === Number(changed[0][0]) + 1;
  if (!ok) console.log(`  (${a.length} and ${b.length} lines, ${changed.length} differ: ${JSON.stringify(changed.slice(0, 3))})`);
  return ok;
}

const shown = (d, id) => d.eval(`document.getElementById('${id}').style.display === 'flex'`).catch(() => false);

async function hideAndShow(dt) {
  const before = await dt.eval('PomurieWeb.synced');
  await dt.eval(`Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
    document.dispatchEvent(new Event('visibilitychange'))`);
  const frozen = await dt.send('Page.setWebLifecycleState', { state: 'frozen' }).then(() => true, () => false);
  await sleep(100);
  if (frozen) await dt.send('Page.setWebLifecycleState', { state: 'active' });
  await dt.eval(`delete document.visibilityState; document.dispatchEvent(new Event('visibilitychange'))`);
  return before;
}

// After a hide: no error, the save whole in IndexedDB as in memory, ticks going on.
async function afterHide(dt, where, syncedBefore) {
  await until(`the save after a hide at ${where}`, () => dt.eval(`PomurieWeb.synced > ${syncedBefore} && !PomurieWeb.syncBusy()`), 20_000);
  const stored = await idbSave(dt);
  const inMemory = await userFile(dt, '/user/dat/my.dat');
  const ticks = await dt.eval('PomurieWeb.ticks.length');
  await sleep(700);
  const ticked = (await dt.eval('PomurieWeb.ticks.length')) - ticks;
  const whole = stored && inMemory && stored.equals(inMemory) && (await checkSaveBytes(dt, stored))
    && stored.toString('latin1').split('\r\n').length - 1 === 2418;
  const errors = dt.errors.length;
  check(whole && ticked >= 4 && errors === 0, `a hide at ${where}: saved whole (${stored ? stored.length : 0} bytes), ${ticked} ticks after it, ${errors} script errors`);
}



// --- the run -------------------------------------------------------------------------------------
if (typeof WebSocket === 'undefined') fail('this Node has no WebSocket: run it with --experimental-websocket (Node 20.10 or later)');
for (const f of ['index.html', 'index.js', 'index.wasm', 'index.wasm.gz', 'assets.js', 'assets.wasm', 'face.woff2', 'sw.js', 'manifest.webmanifest']) {
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
const chromium = await startChromium(work, (code, log) => fail(`Chromium ended (${code}):\n${log}`)).catch((e) => fail(e.message));
stopChromium = chromium.stop;
const { dt, port: devtoolsPort } = chromium;

// 1. The seeded script in lockstep, against the headless platform. The title's tune
// (wanted from the splash's first tick) and picture are held back: the game starts
// without them, waits where it first needs each, still showing its last frame, and
// draws the right picture once they are let go.
const heldBack = ['dat/bgm_title.wav', 'cg/title.bmp'];
const waits = [];
const watcher = (async () => {
  for (const name of heldBack) {
    await until(`the game to wait for ${name}`, () => dt.eval(`PomurieWeb.awaited === '${name}'`).catch(() => false), 120_000, 20);
    const ticks = await dt.eval('PomurieWeb.ticks.length');
    const started = await dt.eval('PomurieWeb.firstFrameMs >= 0');
    await sleep(400);
    const stood = (await dt.eval('PomurieWeb.ticks.length')) === ticks;
    const picture = await canvasNow(dt);
    let lit = 0;
    for (let i = 0; i < kSide * kSide; ++i) if (picture[i * 4] || picture[i * 4 + 1] || picture[i * 4 + 2]) lit++;
    waits.push({ name, started, stood, lit: lit / (kSide * kSide) });
    await dt.eval(`PomurieWeb.release('${name}')`);
  }
})();
await open(dt, `${base}?lockstep&hold=${heldBack.join(',')}`);
const snapLabels = [], hides = [];
for (const raw of readFileSync(script, 'utf8').split('\n')) {
  const line = raw.replace(/#.*/, '').trim();
  const label = (/#\s*(.*)$/.exec(raw) || [])[1] || '';
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
    snapLabels.push(label);
  } else if (op === 'hide') {
    // The browser's own hide, as a tab switch or a phone's lock gives it; the save it
    // makes is the page's to carry to IndexedDB.
    const before = await hideAndShow(dt);
    await until(`the save of the hide "${label}"`, () => dt.eval(`PomurieWeb.synced > ${before} && !PomurieWeb.syncBusy()`), 20_000);
    hides.push({ label, stored: await idbSave(dt) });
  } else {
    fail(`unknown step "${line}"`);
  }
}
await drained(dt, 'the script to end');
await watcher;
check(waits.length === heldBack.length && waits.every((w) => w.started && w.stood && w.lit > 0.5),
  `the game started without ${heldBack.join(' and ')} and stood at each, its last picture shown, until it came ` +
  `(${waits.map((w) => `${w.name}: ${w.started ? 'started' : 'not started'}, ${w.stood ? 'stood' : 'ticked on'}, ${(100 * w.lit).toFixed(0)}% lit`).join('; ')})`);
await until('every snapshot', async () => (await dt.eval('PomurieWeb.snaps.length')) >= snapLabels.length);
for (let k = 0; k < snapLabels.length; ++k) {
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
  check(diff === 0, `snapshot ${k} (${snapLabels[k]}): the page's canvas is the headless picture${diff ? ` (${diff} pixels differ, first at ${first}; see ${work})` : ''}`);
}
for (const [k, { label, stored }] of hides.entries()) {
  const native = readFileSync(join(nativeOut, `hide${k}.dat`));
  const whole = stored && (await checkSaveBytes(dt, stored)) && stored.toString('latin1').split('\r\n').length - 1 === 2418;
  if (stored && !stored.equals(native)) writeFileSync(join(work, `page-hide${k}.dat`), stored);
  check(whole && stored.equals(native), `a hide ${label}: IndexedDB holds the save whole, as the headless platform saves it then ` +
    `(${stored ? stored.length : 0} and ${native.length} bytes)`);
}
check(hides.length === 2, `the script hides the page twice (${hides.length})`);
const nativeSave = readFileSync(join(nativeOut, 'saved.dat'));
// The export saves as a hide does, then hands over the file: the headless platform's
// save at the same moment, byte for byte.
const exported = Buffer.from(await dt.eval('(() => { const b = PomurieWeb.exportSave(); let s = ""; for (let i = 0; i < b.length; i += 8192) s += String.fromCharCode.apply(null, b.subarray(i, i + 8192)); return btoa(s); })()'), 'base64');
check(exported.equals(nativeSave), `the export is the headless platform's save (${exported.length} and ${nativeSave.length} bytes)`);
const pageSave = await userFile(dt, '/user/dat/my.dat');
if (!check(pageSave && pageSave.equals(nativeSave), 'the page saved the same my.dat as the headless platform') && pageSave) {
  writeFileSync(join(work, 'page-my.dat'), pageSave);
}
await synced(dt);
const name = Buffer.from([0x83, 0x7c, 0x83, 0x80, 0x82, 0xcc, 0x93, 0x58]);  // ポムの店 in CP932
check(pageSave && pageSave.includes(name), 'the typed name is in the save');

// 2. As a player comes back: real time, real text; the game goes on where it was.
// The face is held back: the game starts without it, and stands at the first text it
// would draw (whose widths and pictures it keeps) until the face is in.
await open(dt, `${base}?hold=face`);
await until('the game to wait for the face', async () => {
  if (await dt.eval("PomurieWeb.awaited === 'face'")) return true;
  await click(dt, 150, 150);  // on past the splash
  await sleep(500);
  return false;
}, 30_000);
const ticksAtFace = await dt.eval('PomurieWeb.ticks.length');
await sleep(400);
check(await dt.eval('PomurieWeb.ticks.length') === ticksAtFace && await dt.eval("PomurieWeb.release('face')"),
  'the game starts without the face and stands at its first text until the face is in');
const nativeHome = readPpm(join(nativeOut, 'snap2.ppm'));
// Clicks through the splash and the title until the home menu stands as in the
// seeded run (its picture, status panel and choice boxes; the texts differ).
async function reachHome(dt, afterFirst = async () => {}) {
  let same = 0;
  for (let tries = 0; tries < 12 && same < 0.9; ++tries) {
    await click(dt, 150, 150);
    await sleep(2000);
    if (tries === 0) await afterFirst();
    same = await likeness(dt, nativeHome);
  }
  return same;
}
const same = await reachHome(dt, async () => {
  check(await origin(dt, 'bp_box') === null, 'past the splash after a reload, no character is made anew');
});
check(same >= 0.9, `the page comes back to the home menu (${(100 * same).toFixed(1)}% of its pixels as in the seeded run)`);
const reloadedSave = await userFile(dt, '/user/dat/my.dat');
check(reloadedSave && reloadedSave.includes(name), 'the save read back from IndexedDB holds the character');

// 3. A damaged save in the browser's storage: the message, and the copy kept aside.
await dt.eval("FS.writeFile('/user/dat/my.dat', 'not a save\\n'); PomurieWeb.syncFiles()");
await synced(dt);
await dt.send('Page.navigate', { url: base });
const message = await until('the damaged-save message', () => dt.eval(
  "document.getElementById('dialog').style.display === 'flex' && document.getElementById('dialog-text').textContent")
  .catch(() => false), 60_000);
check(/こわれ/.test(message), `the page tells of the damaged save ("${message.split('\n')[0]}")`);
await hideAndShow(dt);  // during the game's message: nothing to save yet, nothing breaks
await sleep(300);
check(await shown(dt, 'dialog') && dt.errors.length === 0, 'a hide during the game\'s message leaves it waiting for its answer');
await dt.eval("document.getElementById('dialog-yes').click()");
const damagedCopy = await until('the damaged copy', () => userFile(dt, '/user/dat/my.dat.damaged'), 10_000);
check(damagedCopy.toString() === 'not a save\n', 'the damaged save is kept aside whole');


// 4. Hides and shows (a tab switch, a phone's lock) at every kind of moment: each
// saves, and the game goes on ticking and answering.
await dt.eval('PomurieWeb.ticks.length = 0');
let mark = await hideAndShow(dt);  // the new game's start: its first save is done by now
await afterHide(dt, 'the opening', mark);
await click(dt, 150, 150);
await until('the character panel', () => origin(dt, 'bp_box'), 20_000);
for (let k = 0; k < 2; ++k) {
  mark = await hideAndShow(dt);
  await afterHide(dt, `the character panel (${k + 1})`, mark);
}
// Make the character and go on to the home menu, hiding on the way.
const okAt = await origin(dt, 'l_btn8');
await click(dt, okAt[0] + 20, okAt[1] + 10);
await sleep(1500);
mark = await hideAndShow(dt);
await afterHide(dt, 'the title', mark);
check(await reachHome(dt) >= 0.9, 'the new game reaches the home menu after the hides');
for (let k = 0; k < 10; ++k) mark = await hideAndShow(dt);  // ten in a row at a question
await afterHide(dt, 'the home menu\'s question, ten times in a row', mark);
const shopAt = await origin(dt, 'sel3');
await click(dt, shopAt[0] + 20, shopAt[1] + 8);
await sleep(2500);
mark = await hideAndShow(dt);
await afterHide(dt, 'the shop\'s click wait', mark);
await click(dt, 150, 150);
await sleep(800);
check(await dt.eval('PomurieWeb.ticks.length') > 0 && dt.errors.length === 0, 'the game answers a click after the hides');

// 5. Two tabs: the second says the game is open elsewhere, then takes it over; the
// first saves, lets go, says so and writes no more.
const beforeTakeover = await idbSave(dt);
const { tab: second, id: secondId } = await openTab(dt, devtoolsPort, base);
await until('the second tab to say the game is elsewhere', () => shown(second, 'elsewhere'), 30_000);
await sleep(1500);
check(await second.eval('PomurieWeb.firstFrameMs') < 0 && !(await shown(dt, 'moved')),
  'the second tab refuses to start while the first plays');
await second.eval("document.getElementById('play-here').click()");
await until('the first tab to say the game moved', () => shown(dt, 'moved'), 30_000);
await until('the second tab to start', () => second.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false), 60_000);
const handedOver = await userFile(dt, '/user/dat/my.dat');
await until('the second tab\'s first save', () => second.eval('PomurieWeb.synced > 0 && !PomurieWeb.syncBusy()').catch(() => false), 30_000);
const takenUp = await idbSave(second);
check(beforeTakeover && loadedFrom(handedOver, takenUp), 'the second tab plays on from the save the first handed over');
const syncsLeft = await dt.eval('PomurieWeb.synced');
await dt.eval("Module._pomurie_suspend(); PomurieWeb.syncFiles(); document.dispatchEvent(new Event('visibilitychange'))");
await sleep(1000);
check(await dt.eval('PomurieWeb.synced') === syncsLeft, 'the first tab writes nothing once the game has moved');
check(second.errors.length === 0, `no script errors in the second tab${second.errors.length ? ':\n  ' + second.errors.join('\n  ') : ''}`);
await dt.send('Target.closeTarget', { targetId: secondId });
await sleep(500);

// 6. Import: a damaged file is refused and changes nothing; a save made by the
// headless platform restarts the game from it, the previous save kept aside.
await dt.send('Page.navigate', { url: base });
await until('the page after the takeover', () => dt.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false), 60_000);
await sleep(1500);
const current = await userFile(dt, '/user/dat/my.dat');
check(await dt.eval(`PomurieWeb.importSave(Uint8Array.from(atob('${Buffer.from('1\r\n2\r\nthree\r\n').toString('base64')}'), (c) => c.charCodeAt(0)))`, true) === false,
  'an import of a damaged file is refused');
check((await userFile(dt, '/user/dat/my.dat')).equals(current), 'a refused import leaves the save as it was');
await importSave(dt, nativeSave).catch(() => null);
await sleep(1000);
await until('the page to restart after the import', () => dt.eval('PomurieWeb.firstFrameMs >= 0 && PomurieWeb.synced > 0 && !PomurieWeb.syncBusy()').catch(() => false), 60_000);
const kept = await userFile(dt, '/user/dat/my.dat.before-import');
check(kept && current && kept.equals(current), 'the save before the import is kept aside whole');
check(loadedFrom(nativeSave, await userFile(dt, '/user/dat/my.dat')), 'the game restarted from the imported save');

// 7. The generator in the page makes the native build's files, byte for byte (the
// game has started long before the last is made).
await until('the page to make every file', () => dt.eval("'made' in PomurieWeb.startup"), 60_000);
const madeHashes = await dt.eval(`Promise.all([...FS.readdir('/game/cg').map((f) => 'cg/' + f), ...FS.readdir('/game/dat').map((f) => 'dat/' + f)]
  .filter((f) => !f.endsWith('/.') && !f.endsWith('/..'))
  .map(async (f) => [f, [...new Uint8Array(await crypto.subtle.digest('SHA-256', FS.readFile('/game/' + f)))].map((b) => b.toString(16).padStart(2, '0')).join('')]))`, true);
const made = new Map(madeHashes);
const nativeFiles = [...readdirSync(join(nativeDir, 'cg')).filter((f) => f.endsWith('.bmp')).map((f) => `cg/${f}`),
  ...readdirSync(join(nativeDir, 'dat')).filter((f) => f.endsWith('.wav') || f === 'name.dat').map((f) => `dat/${f}`)];
const differ = nativeFiles.filter((f) => made.get(f) !== createHash('sha256').update(readFileSync(join(nativeDir, f))).digest('hex'));
check(nativeFiles.length > 100 && differ.length === 0 && made.size === nativeFiles.length,
  `the page made the native build's ${nativeFiles.length} pictures and sounds byte for byte (${made.size} made${differ.length ? `; differ: ${differ.slice(0, 5).join(' ')}` : ''})`);

// 8. The picture's size: whole device pixels where it fits, shrunk (never cut) below 300 px.
const sides = [
  // room (CSS px), device ratio, cap, side expected (CSS px)
  [390, 3, 0, 300], [389, 3, 0, 300], [299, 3, 0, 200], [844, 1, 0, 600], [899, 1, 0, 600], [900, 1, 0, 900],
  [600, 2, 0, 600], [599, 2, 0, 450], [280, 3, 0, 200], [299, 1, 0, 299], [150, 1.5, 0, 150],
  [900, 1, 2, 600], [900, 1, 1, 300], [250, 1, 1, 250], [1200, 1, 4, 1200],
];
const sidesGot = await dt.eval(`${JSON.stringify(sides)}.map(([r, d, c]) => PomurieWeb.pictureSide(r, d, c))`);
const wrong = sides.filter((c, i) => Math.abs(sidesGot[i] - c[3]) > 1e-9);
check(wrong.length === 0, `the picture's side for each room and screen${wrong.length ? `: wrong for ${JSON.stringify(wrong)} (got ${JSON.stringify(sidesGot)})` : ''}`);

// 9. Installable, and a second visit with the network off reaches the home menu.
await until('the service worker to keep the files', () => dt.eval(
  "navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)", true).catch(() => false), 30_000, 250);
const installErrors = (await dt.send('Page.getInstallabilityErrors')).installabilityErrors || [];
check(installErrors.length === 0, `Chromium finds the page installable${installErrors.length ? ': ' + JSON.stringify(installErrors) : ''}`);
await dt.send('Network.enable');
await dt.send('Network.emulateNetworkConditions', { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
await dt.send('Page.navigate', { url: base });
await until('the page to start offline', () => dt.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false), 60_000);
check(await reachHome(dt) >= 0.9, 'with the network off, a second visit starts from the kept files and reaches the home menu');
await dt.send('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });


// 10. The cut face draws the game's texts as the whole face does, pixel for pixel.
const fontFile = '/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf';
if (existsSync(fontFile)) {
  const chars = new Set();
  const walk = (d) => {
    for (const e of readdirSync(d, { withFileTypes: true })) {
      const f = join(d, e.name);
      if (e.isDirectory()) walk(f);
      else if (/\.(cpp|h)$/.test(e.name)) for (const c of readFileSync(f, 'utf8')) if (c.codePointAt(0) > 0x7f) chars.add(c);
    }
  };
  for (const d of ['shell', 'presentation', 'town', 'field', 'battle']) walk(join(here, '..', '..', d));
  for (const c of new TextDecoder('shift_jis').decode(readFileSync(join(nativeDir, 'dat', 'name.dat')))) if (c.codePointAt(0) > 0x7f) chars.add(c);
  const text = [...chars].filter((c) => /\p{L}|\p{N}|\p{P}|\p{S}/u.test(c)).join('') + 'ABCxyz0123!?';
  const diff = await dt.eval(`(async () => {
    const whole = new FontFace('WholeFace', Uint8Array.from(atob('${readFileSync(fontFile).toString('base64')}'), (c) => c.charCodeAt(0)));
    document.fonts.add(await whole.load());
    await document.fonts.load('16px IPAPGothic', 'あ');
    const c = document.createElement('canvas'); c.width = 900; c.height = 40;
    const g = c.getContext('2d', { willReadFrequently: true });
    const t = ${JSON.stringify(text)};
    let differ = 0, lines = 0;
    for (const style of ['', 'bold ']) for (const px of [12, 16]) for (let i = 0; i < t.length; i += 40) {
      const run = (face) => { g.clearRect(0, 0, 900, 40); g.font = style + px + 'px ' + face; g.fillText(t.slice(i, i + 40), 0, 28); return g.getImageData(0, 0, 900, 40).data; };
      const a = run('IPAPGothic'), b = run('WholeFace');
      lines++;
      for (let k = 3; k < a.length; k += 4) if (a[k] !== b[k]) { differ++; if (!window.firstDiffer) window.firstDiffer = t.slice(i, i + 40); break; }
    }
    return [differ, lines, window.firstDiffer || ''];
  })()`, true);
  check(diff[0] === 0, `the cut face draws the game's ${text.length} characters as the whole face (${diff[0]} of ${diff[1]} runs differ${diff[0] ? `, first "${diff[2]}"` : ''})`);
}

// 11. On a phone, upright and lying, and on a short window: the picture whole inside
// the page, the controls beside it, none over it, each big enough for a finger.
await onPhone(dt, base, async (name, width, height) => {
  const box = await dt.eval(`(() => { const r = document.getElementById('picture').getBoundingClientRect();
    const b = [...document.querySelectorAll('#controls button')].map((e) => e.getBoundingClientRect());
    return { picture: [r.left, r.top, r.width, r.height], smallest: Math.min(...b.map((x) => Math.min(x.width, x.height))),
      overlap: b.some((x) => x.left < r.right && x.right > r.left && x.top < r.bottom && x.bottom > r.top) }; })()`);
  const [px, py, pw, ph] = box.picture;
  check(px >= 0 && py >= 0 && px + pw <= width + 0.5 && py + ph <= height + 0.5 && box.smallest >= 44 && !box.overlap,
    `${name} (${width} x ${height}): the picture ${pw.toFixed(0)} px square at (${px.toFixed(0)}, ${py.toFixed(0)}), controls at least ${box.smallest.toFixed(0)} px, none over it`);
});

// 12. The programs from three kinds of server: one that packs what it sends
// (serve.mjs) is asked for them by their names; one that sends files as they are
// (Python's) for their gzip copies, which the page unpacks; one that marks its .gz
// files as packed (as Apache's AddEncoding does) for the same copies, which the
// browser unpacks. Each starts the game.
python = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '-d', pageDir], { stdio: ['ignore', 'pipe', 'pipe'] });
const pyPort = await new Promise((ok, no) => {
  const look = (d) => { const m = /port (\d+)/.exec(String(d)); if (m) ok(Number(m[1])); };
  python.stdout.on('data', look);
  python.stderr.on('data', look);
  setTimeout(() => no(new Error('Python\'s server did not listen')), 20_000);
});
const typeOf = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.woff2': 'font/woff2',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
marking = createServer(async (req, res) => {
  const name = new URL(req.url, 'http://localhost').pathname.slice(1) || 'index.html';
  try {
    const body = await readFile(join(pageDir, name.replace(/\.\.+/g, '')));
    const packed = name.endsWith('.gz');
    res.writeHead(200, { 'Content-Type': typeOf[extname(packed ? name.slice(0, -3) : name)] || 'application/octet-stream',
      ...(packed ? { 'Content-Encoding': 'gzip' } : {}) });
    res.end(body);
  } catch {
    res.writeHead(404).end();
  }
});
await new Promise((ok) => marking.listen(0, '127.0.0.1', ok));
const pyBase = `http://127.0.0.1:${pyPort}/index.html`;
for (const [kind, url, copies] of [
  ['serve.mjs', base, false],
  ['python3 -m http.server', pyBase, true],
  ['a server marking .gz files as packed', `http://127.0.0.1:${marking.address().port}/index.html`, true],
]) {
  const errors = dt.errors.length;
  await open(dt, url);
  const asked = (await dt.eval("performance.getEntriesByType('resource').map((e) => new URL(e.name).pathname.slice(1))"))
    .filter((n) => n.includes('.wasm')).sort();
  const want = copies ? ['assets.wasm.gz', 'index.wasm.gz'] : ['assets.wasm', 'index.wasm'];
  check(JSON.stringify(asked) === JSON.stringify(want) && dt.errors.length === errors,
    `from ${kind} the page asks for ${asked.join(' and ')} and starts${dt.errors.length > errors ? ': ' + dt.errors.slice(errors).join('; ') : ''}`);
}
// The service worker keeps the copies the page asked for: a second visit to Python's
// server with the network off starts from them.
await open(dt, pyBase);
await until('the service worker to keep the gzip copies', () => dt.eval(
  "navigator.serviceWorker.ready.then(() => !!navigator.serviceWorker.controller)", true).catch(() => false), 30_000, 250);
await dt.send('Network.enable');
await dt.send('Network.emulateNetworkConditions', { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
const offlineErrors = dt.errors.length;
await open(dt, pyBase).catch(() => null);
check(await dt.eval('PomurieWeb.firstFrameMs >= 0').catch(() => false) && dt.errors.length === offlineErrors,
  'with the network off, a second visit to Python\'s server starts from the kept gzip copies');
await dt.send('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });

check(dt.errors.length === 0, `no script errors on the page${dt.errors.length ? ':\n  ' + dt.errors.join('\n  ') : ''}`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
