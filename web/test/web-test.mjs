// The browser version in headless Chromium (Debian's, driven by puppeteer-core):
//  - web/serve.py sends the .gz copies to a client that takes gzip, the plain
//    files to one that does not, and nothing from outside the site;
//  - the first load's transfer (the .gz copies) at most 15 MB;
//  - the story pages into the main menu with keys, a game started, the state
//    the page shows and a picture on the canvas, frames moving on;
//  - the picture filling its 4:3 box at pixel densities 1, 2 and 3 with both
//    of SDL's renderers (the four quarters of a screenshot lit);
//  - a phone (touch emulation): the pad's buttons, the portrait and landscape
//    layouts, story to a game by touch alone, walking, jumping while walking,
//    nothing held after the fingers lift or the touch is cancelled, a finger
//    on the picture not read as a mouse button;
//  - the ten attract replays played in the page, each end identical to the
//    native build's report of the same replay, and each verified (--verify)
//    against its state trail by the page's own build; a run opened from a link
//    (index.html#run=CODE) ending as the native playback of its file, and
//    after a game a link to its run that the native build plays to its score;
//  - a high score reached by touch, its name typed through the page's text
//    field, kept across a reload; the saves kept when IndexedDB fails to
//    open (once: read on the retry; always: the page says so and writes
//    nothing); the saves downloaded, the site's storage cleared, the file
//    loaded back;
//  - after one visit a reload starts the game with the server gone (the
//    service worker), and a rebuilt site's new files are the ones served;
//  - the failure pages: no WebAssembly, a file missing, a file cut short,
//    offline with nothing stored, the game's Exit (with --shots, a
//    screenshot of each).
// With --bench instead: frames per second and the main thread's busy share
// over 20 s of a busy game at 1920x1080 and pixel density 2, for each of
// SDL's renderers.
//
// Usage: node web/test/web-test.mjs --site build-web/site --native build [--bench] [--shots DIR]
//        [--only server|menu|density|touch|replays|scores|offline|failures]
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import process from 'node:process';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));

const args = process.argv.slice(2);
const opt = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? args[i + 1] : fallback;
};
const site = path.resolve(opt('--site', 'build-web/site'));
const native = path.resolve(opt('--native', 'build'));
const shots = opt('--shots', '');
const bench = args.includes('--bench');

let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
};
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// --- the server and the browser ----------------------------------------------

async function startServer(dir = site, fixedPort = 0) {
  const server = spawn('python3', [path.join(here, '..', 'serve.py'), String(fixedPort), '--directory', dir],
                       { stdio: ['ignore', 'pipe', 'pipe'] });
  let port = 0;
  const seen = (data) => {
    const m = /port (\d+)/.exec(String(data));
    if (m) port = Number(m[1]);
  };
  server.stdout.on('data', seen);
  server.stderr.on('data', () => {});
  for (let i = 0; i < 100 && port === 0; i++) await sleep(100);
  if (port === 0) throw new Error('the local web server did not start');
  return { server, url: `http://127.0.0.1:${port}/` };
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--enable-unsafe-swiftshader',
         '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
         '--disable-default-apps', '--mute-audio'],
});
const { server, url } = await startServer();

async function cleanUp() {
  await browser.close().catch(() => {});
  server.kill();
  fs.rmSync(profile, { recursive: true, force: true });
}

// A page in its own browser context (its own IndexedDB), or in `context`.
// The first one comes from an empty cache: its transfer is the page's.
// `view` is a puppeteer viewport (size, deviceScaleFactor, isMobile, hasTouch).
let firstLoad = true;
async function openPage(query, context, view = { width: 1024, height: 768 }, extra = '', hash = '', before = null) {
  const ctx = context || (await browser.createBrowserContext());
  const page = await ctx.newPage();
  if (before) before(page);
  await page.setViewport(view);
  page.on('pageerror', (e) => console.log(`  page error: ${e.message}`));
  const transfer = firstLoad && !context ? await countTransfer(page) : null;
  firstLoad = false;
  await page.goto(pageUrl(query, extra) + hash);
  await waitForRun(page);
  if (transfer) await transfer();
  return { page, ctx };
}

// The page with these options; without the service worker but in the offline check.
function pageUrl(query, extra = '', base = url, worker = false) {
  const parts = [query ? 'args=' + encodeURIComponent(query) : '', extra, worker ? '' : 'nosw'];
  return base + 'index.html?' + parts.filter((p) => p).join('&');
}

async function waitForRun(page) {
  await waitFor(page, () => window.twFailed ||
                      (window.Module && (Module.gameState || Module.twFailed || Module.twExitCode !== undefined)),
                60000, 'the game running');
  const failed = await page.evaluate(() => window.twFailed || '');
  if (failed) throw new Error('the page says: ' + failed);
}

// The bytes that came over the wire for the page (headers and compressed
// bodies, as Chromium counts them), against the same files on the disk.
// Called once the game runs: by then its four files have all arrived.
const PAGE_FILES = ['index.html', 'game.js', 'game.wasm', 'game.data'];
const TRANSFER_LIMIT = 15e6;
async function countTransfer(page) {
  const cdp = await page.createCDPSession();
  await cdp.send('Network.enable');
  const urls = new Map();
  const sent = new Map();
  cdp.on('Network.responseReceived', (e) => urls.set(e.requestId, e.response.url));
  cdp.on('Network.loadingFinished', (e) => sent.set(e.requestId, e.encodedDataLength));
  return async () => {
    await cdp.detach().catch(() => {});
    let wire = 0;
    let disk = 0;
    const seen = new Set();
    for (const [id, bytes] of sent) {
      wire += bytes;
      const name = urls.has(id) ? decodeURIComponent(new URL(urls.get(id)).pathname).replace(/^\/+/, '') : '';
      const file = path.join(site, name);
      if (name && fs.existsSync(file) && fs.statSync(file).isFile()) {
        disk += fs.statSync(file).size;
        seen.add(name);
      }
    }
    const mb = (n) => (n / 1e6).toFixed(1);
    console.log(`page transfer: ${mb(wire)} MB (files on disk: ${mb(disk)} MB)`);
    const missing = PAGE_FILES.filter((f) => !seen.has(f));
    check(missing.length === 0 && wire <= TRANSFER_LIMIT,
          `the first load transfers ${mb(wire)} MB, at most ${mb(TRANSFER_LIMIT)} MB` +
          (missing.length ? ` (not counted: ${missing.join(', ')})` : ''));
  };
}

async function waitFor(page, fn, ms, what, arg) {
  try {
    await page.waitForFunction(fn, { timeout: ms, polling: 50 }, arg);
  } catch (e) {
    const st = await page.evaluate(() => JSON.stringify(window.Module && Module.gameState)).catch(() => '?');
    throw new Error(`timed out waiting for ${what} (state ${st})`);
  }
}

const state = (page) => page.evaluate(() => Module.gameState);

// Back from the story the Story entry is selected: up to New Game (entry 1).
async function toNewGame(page) {
  for (let i = 0; i < 12 && (await state(page)).item !== 1; i++) await press(page, 'ArrowUp');
  if ((await state(page)).item !== 1) throw new Error('New Game could not be selected');
}

// Presses a key and lets the game see it down and up (a frame is 20 ms).
async function press(page, key, times = 1) {
  for (let i = 0; i < times; i++) {
    await page.keyboard.down(key);
    await sleep(80);
    await page.keyboard.up(key);
    await sleep(120);
  }
}

// Colours on the canvas (read back from its 2D context: the software renderer draws there).
const canvasColours = (page) => page.evaluate(() => {
  const c = document.getElementById('canvas');
  const copy = document.createElement('canvas');
  copy.width = c.width;
  copy.height = c.height;
  const g = copy.getContext('2d');
  g.drawImage(c, 0, 0);
  const px = g.getImageData(0, 0, copy.width, copy.height).data;
  const seen = new Set();
  for (let i = 0; i < px.length; i += 4 * 7) seen.add((px[i] << 16) | (px[i + 1] << 8) | px[i + 2]);
  return seen.size;
});

async function shot(page, name) {
  if (!shots) return;
  fs.mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: path.join(shots, name) });
}

// --- the native build's ends of the replays ----------------------------------

function nativeReport(replay, frames) {
  return nativeRun((data) => ['--play', path.join(data, replay)], frames, replay);
}

// The native build's report of a run with `how(data folder)`'s options.
function nativeRun(how, frames, what) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-native-'));
  // A scratch copy of the data the page ships, so both read the same files.
  const data = path.join(work, 'data');
  fs.cpSync(path.join(site, '..', 'web-data'), data, { recursive: true });
  const report = path.join(work, 'report.json');
  const run = spawnSync(path.join(native, 'tumblewell'),
                        ['--headless', '--fast', '--data', data, ...how(data),
                         '--frames', String(frames), '--report', report],
                        { env: { ...process.env, XDG_CONFIG_HOME: path.join(work, 'config'),
                                 XDG_DATA_HOME: path.join(work, 'share'), SDL_AUDIODRIVER: 'dummy' } });
  if (run.status !== 0) throw new Error(`native run of ${what} failed: ${run.stderr}`);
  const text = fs.readFileSync(report, 'utf8');
  fs.rmSync(work, { recursive: true, force: true });
  return JSON.parse(text);
}

// The parts of a report that depend on the machine, not the game.
function gameOnly(report) {
  const r = structuredClone(report);
  delete r.timing;
  delete r.fps;
  delete r.replay.file;  // the same file, in each one's own folder
  return r;
}

// --- the checks ---------------------------------------------------------------

// A request as a client sends it, with only the headers given (fetch would
// ask for gzip and unpack the answer itself).
function rawGet(target, headers = {}) {
  return new Promise((resolve, reject) => {
    // The path goes as it is: a URL would resolve its "..".
    const { hostname, port } = new URL(url);
    const req = http.request({ hostname, port, path: '/' + target.replace(/^\//, ''), headers }, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
      res.on('error', reject);
    });
    req.on('error', reject);
    req.end();
  });
}

async function serverAnswers() {
  const gzip = { 'Accept-Encoding': 'gzip, deflate, br' };
  for (const [name, type] of [['game.data', 'application/octet-stream'], ['game.wasm', 'application/wasm'],
                              ['game.js', 'text/javascript']]) {
    const plain = fs.readFileSync(path.join(site, name));
    const packed = fs.statSync(path.join(site, name + '.gz')).size;
    const r = await rawGet(name, gzip);
    let unpacked = Buffer.alloc(0);
    try { unpacked = zlib.gunzipSync(r.body); } catch { /* not gzip: differs below */ }
    check(r.status === 200 && r.headers['content-encoding'] === 'gzip' &&
          Number(r.headers['content-length']) === packed && r.body.length === packed &&
          r.headers['content-type'] === type && /accept-encoding/i.test(r.headers.vary || '') &&
          unpacked.equals(plain),
          `${name} to a client taking gzip: ${r.status}, ${r.headers['content-encoding'] || 'not encoded'}, ` +
          `${r.body.length} bytes (${name}.gz has ${packed}), ${r.headers['content-type']}, ` +
          `unpacks to ${unpacked.equals(plain) ? 'the file' : 'something else'}`);
  }
  const wasmSize = fs.statSync(path.join(site, 'game.wasm')).size;
  for (const [what, headers] of [['no Accept-Encoding', {}], ['gzip;q=0', { 'Accept-Encoding': 'gzip;q=0' }]]) {
    const r = await rawGet('game.wasm', headers);
    check(r.status === 200 && !r.headers['content-encoding'] && r.body.length === wasmSize &&
          r.headers['content-type'] === 'application/wasm',
          `game.wasm with ${what}: ${r.status}, ${r.headers['content-encoding'] || 'not encoded'}, ` +
          `${r.body.length} bytes (the file has ${wasmSize})`);
  }
  // The staged data lies next to the site: a way out would reach it.
  if (!fs.existsSync(path.join(site, '..', 'web-data', 'font.ini'))) throw new Error('web-data/font.ini is missing');
  for (const target of ['/../web-data/font.ini', '/%2e%2e/web-data/font.ini', '/..%2fweb-data/font.ini']) {
    const r = await rawGet(target, gzip);
    check(r.status === 404, `${target} is not served (${r.status})`);
  }
}

async function storyMenuAndGame() {
  const { page, ctx } = await openPage('', null);
  await waitFor(page, () => Module.gameState.screen === 'story', 20000, 'the story on the first start');
  check(true, 'a first start shows the story');
  await shot(page, 'story-1024x768.png');
  // The sound hint follows the audio's real state (this browser lets sound
  // start at once; a suspended context is what a browser waiting for a
  // gesture has).
  const sound = () => page.evaluate(() => {
    const ctx = Module.SDL2 && Module.SDL2.audioContext;
    return { state: ctx ? ctx.state : 'none', hint: !document.getElementById('soundhint').hidden };
  });
  const running = await sound();
  await page.evaluate(() => Module.SDL2.audioContext.suspend());
  await sleep(1000);
  const suspended = await sound();
  await page.evaluate(() => Module.SDL2.audioContext.resume());
  await sleep(1000);
  const resumed = await sound();
  check(running.state === 'running' && !running.hint && suspended.state === 'suspended' && suspended.hint &&
        resumed.state === 'running' && !resumed.hint,
        `the sound hint shows only while the audio is held back (${[running, suspended, resumed]
          .map((x) => `${x.state}: ${x.hint ? 'shown' : 'hidden'}`).join(', ')})`);
  await sleep(500);
  await press(page, 'Enter');
  await waitFor(page, () => Module.gameState.screen === 'story2', 5000, 'story page 2');
  await press(page, 'Enter');
  await waitFor(page, () => Module.gameState.screen === '' && !Module.gameState.inGame, 5000, 'the main menu');
  check(true, 'Return through the story pages leads to the main menu');
  await toNewGame(page);
  await sleep(1500);  // the menu fades in
  await shot(page, 'menu-1024x768.png');
  await page.setViewport({ width: 640, height: 900 });
  await sleep(400);
  await shot(page, 'menu-640x900.png');
  await page.setViewport({ width: 1024, height: 768 });
  await press(page, 'Enter');
  await waitFor(page, () => Module.gameState.inGame && !Module.gameState.gameOver, 5000, 'a game');
  const st = await state(page);
  check(st.inGame, `New Game starts a game (level ${st.level})`);
  await page.keyboard.down('ArrowRight');
  await sleep(1500);
  await page.keyboard.up('ArrowRight');
  const before = await state(page);
  await sleep(2000);
  const after = await state(page);
  check(after.frame - before.frame >= 50, `frames advance in a game (${after.frame - before.frame} in 2 s)`);
  const colours = await canvasColours(page);
  check(colours > 20, `the canvas shows a picture (${colours} colours sampled)`);
  await shot(page, 'game-1024x768.png');
  await page.setViewport({ width: 1600, height: 700 });
  await sleep(400);
  await shot(page, 'game-1600x700.png');
  await ctx.close();
}

async function attractReplays() {
  for (let i = 1; i <= 10; i++) {
    const replay = `replay${i}.ini`;
    const text = fs.readFileSync(path.join(site, '..', 'web-data', replay), 'utf8');
    const end = Number((/^endframe=(\d+)/m.exec(text) || [0, 0])[1]);
    const frames = end + 300;
    const expected = gameOnly(nativeReport(replay, frames));
    // Without drawing, as the native run: the game's steps alone, as fast as the page allows.
    const { page, ctx } = await openPage(
      `--headless --fast --play /data/${replay} --frames ${frames} --report /tmp/report.json`);
    await waitFor(page, () => Module.twExitCode !== undefined, 600000, `the end of ${replay}`);
    const got = await page.evaluate(() => ({ code: Module.twExitCode,
                                             text: FS.readFile('/tmp/report.json', { encoding: 'utf8' }) }));
    const report = gameOnly(JSON.parse(got.text));
    const same = JSON.stringify(report) === JSON.stringify(expected);
    check(got.code === 0 && same,
          `${replay}: end frame ${report.replay.end_frame}, score ${report.replay.end_score}, creature at ` +
          `(${report.game.player.x}, ${report.game.player.y}), run ended at frame ${report.frames}` +
          (same ? ' - identical to the native build' : ' - DIFFERS from the native build'));
    if (!same) {
      console.log('  native:  ' + JSON.stringify(expected));
      console.log('  browser: ' + JSON.stringify(report));
    }
    await ctx.close();
    // The page's own build checks the file's state trail too.
    const lines = [];
    const v = await openPage(`--verify /data/${replay}`, null, undefined, '', '', (page) =>
      page.on('console', (m) => lines.push(m.text())));
    await waitFor(v.page, () => Module.twExitCode !== undefined, 600000, `the check of ${replay}`);
    const verified = await v.page.evaluate(() => Module.twExitCode);
    const said = lines.find((l) => l.startsWith('verified: ')) || lines.join(' | ');
    check(verified === 0 && said.startsWith('verified: '), `${replay} verified in the page: ${said}`);
    await v.ctx.close();
  }
}

// A run in a link: index.html#run=CODE plays the run the code holds and ends
// as the native build's playback of the file the code was made from.
async function runLink() {
  const replay = 'replay7.ini';  // a short one
  const file = path.join(site, '..', 'web-data', replay);
  const share = spawnSync(path.join(native, 'tumblewell'), ['--share', file], { encoding: 'utf8' });
  const code = share.stdout.trim();
  const end = Number((/^endframe=(\d+)/m.exec(fs.readFileSync(file, 'utf8')) || [0, 0])[1]);
  const frames = end + 300;
  const expected = gameOnly(nativeReport(replay, frames));
  const { page, ctx } = await openPage(`--headless --fast --frames ${frames} --report /tmp/report.json`, null,
                                       undefined, '', '#run=' + code);
  await waitFor(page, () => Module.twExitCode !== undefined, 600000, 'the end of the linked run');
  const got = await page.evaluate(() => ({ code: Module.twExitCode,
                                           text: FS.readFile('/tmp/report.json', { encoding: 'utf8' }) }));
  const report = gameOnly(JSON.parse(got.text));
  const same = ['end_frame', 'end_score'].every((k) => report.replay[k] === expected.replay[k]) &&
    JSON.stringify(report.result) === JSON.stringify(expected.result) &&
    JSON.stringify(report.game.player) === JSON.stringify(expected.game.player);
  check(share.status === 0 && got.code === 0 && report.replay.game_ended && same,
        `index.html#run= with ${replay}'s code (${code.length} characters): end frame ${report.replay.end_frame}, ` +
        `score ${report.replay.end_score}, creature at (${report.game.player.x}, ${report.game.player.y})` +
        (same ? ', as the native playback of the file' : ' - DIFFERS from the native playback'));
  if (!same) {
    console.log('  native:  ' + JSON.stringify(expected));
    console.log('  browser: ' + JSON.stringify(report));
  }
  await ctx.close();
}

// --- touch ---------------------------------------------------------------------

// A phone held upright (Chromium's phone emulation: touch, mobile viewport).
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const PAD_LABELS = ['Up', 'Left', 'Right', 'Down', 'OK', 'Back', 'Bomb', 'Pause'];

// Fingers on the screen through the DevTools protocol, which takes the
// whole set of fingers down with every event.
function fingers(page) {
  let cdp = null;
  const down = new Map();  // id -> point
  let next = 1;
  const send = async (type) => {
    cdp = cdp || (await page.createCDPSession());
    const points = type === 'touchEnd' || type === 'touchCancel' ? [] : [...down.values()];
    await cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  };
  return {
    async put(x, y) {
      const id = next++;
      down.set(id, { x: Math.round(x), y: Math.round(y), id, radiusX: 4, radiusY: 4, force: 1 });
      await send('touchStart');
      return id;
    },
    async move(id, x, y) {
      Object.assign(down.get(id), { x: Math.round(x), y: Math.round(y) });
      await send('touchMove');
    },
    async lift(id) {
      down.delete(id);
      await send(down.size ? 'touchMove' : 'touchEnd');
    },
    async liftAll() { down.clear(); await send('touchEnd'); },
    async cancel() { down.clear(); await send('touchCancel'); },
  };
}

async function centreOf(page, selector) {
  const r = await page.$eval(selector, (el) => { const b = el.getBoundingClientRect(); return [b.x, b.y, b.width, b.height]; });
  return { x: r[0] + r[2] / 2, y: r[1] + r[3] / 2 };
}

const padButton = (label) => `.pad button[aria-label="${label}"]`;

async function tap(page, hand, label) {
  const c = await centreOf(page, padButton(label));
  const id = await hand.put(c.x, c.y);
  await sleep(90);
  await hand.lift(id);
  await sleep(130);
}

async function touchToNewGame(page, hand) {
  for (let i = 0; i < 12 && (await state(page)).item !== 1; i++) await tap(page, hand, 'Up');
  if ((await state(page)).item !== 1) throw new Error('New Game could not be selected by touch');
}

async function storyToMenuByTouch(page, hand) {
  await waitFor(page, () => Module.gameState.screen === 'story', 20000, 'the story on the first start');
  await sleep(500);
  await tap(page, hand, 'OK');
  await waitFor(page, () => Module.gameState.screen === 'story2', 5000, 'story page 2 after a tap on OK');
  await tap(page, hand, 'OK');
  await waitFor(page, () => Module.gameState.screen === '' && !Module.gameState.inGame, 5000,
                'the main menu after a tap on OK');
}

const boxes = (page) => page.evaluate(() => {
  const r = (sel) => { const b = document.querySelector(sel).getBoundingClientRect();
                       return { left: b.left, right: b.right, top: b.top, bottom: b.bottom, w: b.width, h: b.height }; };
  return { canvas: r('#canvas'), left: r('#pad-left'), right: r('#pad-right'), bar: r('.bar'),
           vw: window.innerWidth, vh: window.innerHeight };
});

// The page's own buttons (Saves, Full screen) lie wholly off the picture.
const barOff = (b) => b.bar.bottom <= b.canvas.top + 1 || b.bar.top >= b.canvas.bottom - 1 ||
                      b.bar.right <= b.canvas.left + 1 || b.bar.left >= b.canvas.right - 1;
const barText = (b) => `the page's buttons at ${b.bar.left.toFixed(0)}-${b.bar.right.toFixed(0)} x ` +
                       `${b.bar.top.toFixed(0)}-${b.bar.bottom.toFixed(0)}`;

// x over `ms`: [at start, at end].
async function xOver(page, ms) {
  const a = (await state(page)).x;
  await sleep(ms);
  return [a, (await state(page)).x];
}

async function phone() {
  const { page, ctx } = await openPage('', null, PHONE);
  const hand = fingers(page);
  const pad = await page.$$eval('.pad button', (bs) => bs.map((b) => {
    const r = b.getBoundingClientRect();
    return { label: b.getAttribute('aria-label'), w: r.width, h: r.height };
  }));
  const labels = pad.map((b) => b.label).sort();
  const smallest = Math.min(...pad.map((b) => Math.min(b.w, b.h)));
  check(JSON.stringify(labels) === JSON.stringify([...PAD_LABELS].sort()) && smallest >= 48,
        `a phone shows the pad: ${labels.join(', ')}; the smallest button ${smallest.toFixed(0)} CSS px`);
  let b = await boxes(page);
  check(b.canvas.top >= 0 && b.canvas.bottom <= b.left.top + 1 && b.canvas.bottom <= b.right.top + 1 &&
        b.left.bottom <= b.vh + 1 && b.canvas.w >= 0.95 * b.vw && Math.abs(b.canvas.w * 3 - b.canvas.h * 4) < 8 &&
        barOff(b),
        `portrait: the picture across the top (${b.canvas.w.toFixed(0)}x${b.canvas.h.toFixed(0)} of ` +
        `${b.vw}x${b.vh}), the pad below it (from y ${Math.min(b.left.top, b.right.top).toFixed(0)}), ${barText(b)}`);
  await shot(page, 'phone-portrait.png');

  await storyToMenuByTouch(page, hand);
  await touchToNewGame(page, hand);
  await tap(page, hand, 'OK');
  await waitFor(page, () => Module.gameState.inGame && !Module.gameState.gameOver, 5000, 'a game started by touch');
  check(true, 'from the first story page to a game by touch alone');
  await sleep(1500);

  const right = await centreOf(page, padButton('Right'));
  const up = await centreOf(page, padButton('Up'));
  // A second finger on Up while the first holds Left: a jump, and the walk goes on.
  const left = await centreOf(page, padButton('Left'));
  const f1b = await hand.put(left.x, left.y);
  await sleep(250);
  const yBefore = (await state(page)).y;
  const f2 = await hand.put(up.x, up.y);
  const heldNow = await page.$$eval('.pad button.held', (bs) => bs.map((x) => x.getAttribute('aria-label')).join('+'));
  let highest = yBefore;
  const xJump = (await state(page)).x;
  for (let i = 0; i < 12; i++) {
    await sleep(50);
    highest = Math.min(highest, (await state(page)).y);
  }
  const xAfterJump = (await state(page)).x;
  check(highest < yBefore - 4 && xAfterJump < xJump,
        `Up with a second finger down jumps while walking left (${heldNow} held; y ${yBefore} up to ${highest}, ` +
        `x ${xJump} -> ${xAfterJump})`);
  await hand.lift(f2);
  await hand.lift(f1b);
  await sleep(300);
  const x0 = (await state(page)).x;
  const f1 = await hand.put(right.x, right.y);
  await sleep(400);
  const walking = await xOver(page, 300);
  check(walking[1] > x0 && walking[1] > walking[0],
        `holding Right walks right (x ${x0} -> ${walking[0]} -> ${walking[1]})`);
  await hand.lift(f1);
  await sleep(400);
  // Whether the game still sees a key or button held is read from the game
  // itself: the creature's position alone cannot tell, since it may slide on
  // ice, fall or be pushed after a key is let go.
  const keysHeld = async () => (await state(page)).held;
  let still = await xOver(page, 1000);
  let gameHeld = await keysHeld();
  check(gameHeld === 0, `after the fingers lift the game sees nothing held (${gameHeld}; x ${still[0]} -> ${still[1]} in 1 s)`);

  // A touch the browser cancels lets go of every button.
  await hand.put(right.x, right.y);
  await sleep(300);
  const heldBeforeCancel = await keysHeld();
  const beforeCancel = await xOver(page, 200);
  await hand.cancel();
  await sleep(400);
  gameHeld = await keysHeld();
  const held = await page.$$eval('.pad button.held', (bs) => bs.length);
  check(heldBeforeCancel === 1 && gameHeld === 0 && held === 0,
        `a touchcancel releases everything (the game saw ${heldBeforeCancel} held, x ${beforeCancel[0]} -> ` +
        `${beforeCancel[1]}; after the cancel ${gameHeld}, and ${held} pad buttons held)`);

  // A finger sliding off a button lets go of it.
  const slide = await hand.put(right.x, right.y);
  await sleep(500);
  const heldOnButton = await keysHeld();
  await hand.move(slide, right.x, right.y - 250);
  await sleep(400);
  gameHeld = await keysHeld();
  await hand.liftAll();
  check(heldOnButton === 1 && gameHeld === 0,
        `a finger sliding off Right lets go of it (held on the button: ${heldOnButton}, after the slide: ${gameHeld})`);

  // A finger held on the picture is no mouse button (the left one walks left).
  const pic = await centreOf(page, '#canvas');
  const onPicture = await hand.put(pic.x, pic.y);
  await sleep(300);
  still = await xOver(page, 1000);
  gameHeld = await keysHeld();
  await hand.liftAll();
  check(gameHeld === 0, `a finger on the picture holds nothing (${gameHeld}; x ${still[0]} -> ${still[1]} in 1 s)`);
  void onPicture;

  await page.setViewport({ ...PHONE, width: PHONE.height, height: PHONE.width });
  await sleep(400);
  b = await boxes(page);
  check(b.left.right <= b.canvas.left + 1 && b.right.left >= b.canvas.right - 1 && b.canvas.bottom <= b.vh + 1 &&
        b.canvas.top >= -1 && Math.abs(b.canvas.w * 3 - b.canvas.h * 4) < 8 && barOff(b),
        `landscape: the pad at the sides (${b.left.left.toFixed(0)}-${b.left.right.toFixed(0)} and ` +
        `${b.right.left.toFixed(0)}-${b.right.right.toFixed(0)}), the picture between (` +
        `${b.canvas.left.toFixed(0)}-${b.canvas.right.toFixed(0)}, ${b.canvas.h.toFixed(0)} high of ${b.vh}), ` +
        barText(b));
  await shot(page, 'phone-landscape.png');

  // A key on a keyboard hides the pad; a touch brings it back.
  await press(page, 'KeyP');
  await sleep(200);
  const hidden = await page.$eval('#pad-left', (el) => getComputedStyle(el).display === 'none');
  const back = await hand.put(10, 10);
  await hand.lift(back);
  await sleep(200);
  const shown = await page.$eval('#pad-left', (el) => getComputedStyle(el).display !== 'none');
  check(hidden && shown, `a key hides the pad (${hidden}), a touch shows it again (${shown})`);
  await ctx.close();
}

// --- density --------------------------------------------------------------------

// A PNG from Chromium's screenshots (8-bit RGB or RGBA, not interlaced).
function decodePng(buf) {
  let pos = 8;
  let width = 0;
  let height = 0;
  let bpp = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos);
    const kind = buf.toString('ascii', pos + 4, pos + 8);
    const data = buf.subarray(pos + 8, pos + 8 + len);
    if (kind === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      bpp = data[9] === 6 ? 4 : data[9] === 2 ? 3 : 0;
      if (data[8] !== 8 || !bpp || data[12] !== 0) throw new Error('a screenshot in an unexpected PNG format');
    } else if (kind === 'IDAT') {
      idat.push(data);
    } else if (kind === 'IEND') {
      break;
    }
    pos += 12 + len;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * bpp;
  const px = Buffer.alloc(height * stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = y * (stride + 1) + 1;
    for (let x = 0; x < stride; x++) {
      const a = x >= bpp ? px[y * stride + x - bpp] : 0;
      const b = y > 0 ? px[(y - 1) * stride + x] : 0;
      const c = x >= bpp && y > 0 ? px[(y - 1) * stride + x - bpp] : 0;
      let v = raw[line + x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a);
        const pb = Math.abs(p - b);
        const pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      px[y * stride + x] = v & 255;
    }
  }
  return { width, height, bpp, px };
}

// The share of lit (not near-black) pixels in each quarter of a picture.
function quarterShares(img) {
  const shares = [];
  for (const [qx, qy] of [[0, 0], [1, 0], [0, 1], [1, 1]]) {
    let lit = 0;
    let n = 0;
    const x0 = Math.floor(qx * img.width / 2);
    const y0 = Math.floor(qy * img.height / 2);
    for (let y = y0; y < y0 + Math.floor(img.height / 2); y += 2) {
      for (let x = x0; x < x0 + Math.floor(img.width / 2); x += 2) {
        const i = (y * img.width + x) * img.bpp;
        if (img.px[i] + img.px[i + 1] + img.px[i + 2] > 90) lit++;
        n++;
      }
    }
    shares.push(n ? lit / n : 0);
  }
  return shares;
}

// The story's first page at densities 1, 1.5, 2 and 3, both renderers: the
// picture fills its box (each quarter of the box as lit as at density 1).
async function densities() {
  for (const renderer of ['software', 'opengles2']) {
    let reference = null;
    for (const dpr of [1, 1.5, 2, 3]) {
      const { page, ctx } = await openPage('', null, { width: 1024, height: 768, deviceScaleFactor: dpr },
                                           'renderer=' + renderer);
      await waitFor(page, () => Module.gameState.screen === 'story', 20000, 'the story');
      await sleep(1500);
      const box = await page.$eval('#canvas', (c) => {
        const r = c.getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height, backing: c.width + 'x' + c.height };
      });
      const png = await page.screenshot({ clip: { x: box.x, y: box.y, width: box.width, height: box.height } });
      if (shots) fs.mkdirSync(shots, { recursive: true });
      if (shots) fs.writeFileSync(path.join(shots, `density-${renderer}-${dpr}.png`), png);
      const img = decodePng(Buffer.from(png));
      const shares = quarterShares(img);
      reference = reference || shares;
      const close = shares.every((v, i) => v >= 0.02 && Math.abs(v - reference[i]) <= 0.25 * reference[i] + 0.01);
      check(close && img.width >= Math.floor(box.width * dpr) - 1,
            `${renderer} at density ${dpr}: a ${box.width.toFixed(0)}x${box.height.toFixed(0)} box ` +
            `(${img.width}x${img.height} device pixels, canvas ${box.backing}), quarters lit ` +
            shares.map((v) => (100 * v).toFixed(0) + ' %').join(' / '));
      await ctx.close();
    }
  }
}

// --- high scores and saves ---------------------------------------------------------

async function highScoreByTouch(ctx) {
  // The autoplayer earns the points (the lowest shipped entry is 250), fast.
  const { page } = await openPage('--autoplay --fast', ctx, PHONE);
  const hand = fingers(page);
  await storyToMenuByTouch(page, hand);
  // A game given up scores nothing: each plays to its end. The autoplayer is
  // held to a person's limits and now and then dies early, under the table's
  // lowest entry; then another one is played.
  for (let game = 1; ; ++game) {
    await touchToNewGame(page, hand);
    await tap(page, hand, 'OK');
    await waitFor(page, () => Module.gameState.inGame, 5000, 'a game');
    await waitFor(page, () => Module.gameState.gameOver, 400000, 'the end of the autoplayed game');
    if (await page.evaluate(() => Module.gameState.score >= 250) || game === 8) break;
    // No name to enter: the game winds itself up and the menu comes back.
    await waitFor(page, () => !Module.gameState.inGame, 15000, 'the menu after a game under the table');
  }
  await waitFor(page, () => Module.gameState.naming, 5000, 'the name entry');
  await sleep(300);
  const field = await page.evaluate(() => ({ shown: !document.getElementById('namebox').hidden,
                                             focused: document.activeElement === document.getElementById('name'),
                                             value: document.getElementById('name').value,
                                             name: Module.gameState.name }));
  check(field.shown && field.focused && field.value === field.name,
        `the name entry shows a focused text field holding the game's name ("${field.value}", game "${field.name}")`);
  await shot(page, 'phone-name-entry.png');
  // Cleared and typed as on a phone's keyboard: each key into the field.
  await page.focus('#name');
  await page.keyboard.press('End');
  for (let i = 0; i < field.value.length; i++) await page.keyboard.press('Backspace');
  await page.keyboard.type('web', { delay: 60 });
  await waitFor(page, () => Module.gameState.name === 'WEB', 5000, 'the typed name reaching the game');
  await page.keyboard.press('Enter');
  await waitFor(page, () => !Module.gameState.inGame, 15000, 'the menu after the name entry');
  await waitFor(page, () => Module.twSavesPending === 0, 10000, 'the saves reaching IndexedDB');
  const saved = await page.evaluate(() => Module.gameState.score);
  // Back in the menu, the page offers a link to the game just played; the
  // native build plays the link's run to the same score.
  await page.evaluate(() => document.getElementById('runbutton').click());
  const link = await page.evaluate(() => ({ shown: !document.getElementById('runbutton').hidden,
                                            url: document.getElementById('runlink').value }));
  const linked = /#run=([A-Za-z0-9_-]+)$/.exec(link.url);
  let played = null;
  // Without the attract replays, so the menu that follows shows no other game.
  const noAttract = (data) => {
    for (let i = 1; i <= 10; i++) fs.rmSync(path.join(data, `replay${i}.ini`), { force: true });
    return ['--play-code', linked[1]];
  };
  if (linked) played = nativeRun(noAttract, 40000, 'the linked run').replay;
  check(link.shown && played !== null && played.game_ended && Math.round(Number(played.end_score)) === Math.round(saved),
        `after the game a link to its run (${link.url.length} characters); played natively it ends with score ` +
        `${played ? played.end_score : 'nothing'} (the game's ${saved})`);
  await page.close();
  const report = await reportRun(ctx);
  const entry = report.high_scores.find((e) => e.name === 'WEB');
  check(entry !== undefined && report.options.story_readen === true,
        `a name typed through the text field reaches the table: after a reload it holds WEB with ` +
        `${entry ? entry.score : 'nothing'} (game score ${saved}), and the story stays read`);
  if (!entry) console.log('  table: ' + JSON.stringify(report.high_scores) + ', typed ' + report.typed_name);
}

// The first `failures` opens of IndexedDB fail (as a busy or locked store does).
function failingOpens(failures) {
  let left = failures;
  const realOpen = IDBFactory.prototype.open;
  IDBFactory.prototype.open = function (...openArgs) {
    if (left-- <= 0) return realOpen.apply(this, openArgs);
    const req = {};
    setTimeout(() => {
      req.error = new DOMException('refused by the test', 'UnknownError');
      if (req.onerror) req.onerror.call(req, { preventDefault() {}, target: req });
    }, 5);
    return req;
  };
}

// A short run in `ctx` that reports the table and options the game read.
async function reportRun(ctx, opensFailing = 0, shotName = '') {
  const page = await ctx.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  if (opensFailing) await page.evaluateOnNewDocument(failingOpens, opensFailing);
  await page.goto(pageUrl('--frames 50 --report /tmp/report.json'));
  await waitFor(page, () => window.Module && Module.twExitCode !== undefined, 60000, 'the reported run');
  const got = await page.evaluate(() => ({
    report: FS.readFile('/tmp/report.json', { encoding: 'utf8' }), state: Module.twSavesState,
    tries: Module.twSaveReadTries || 0, notices: document.getElementById('notices').textContent,
    probe: FS.analyzePath('/save/probe.txt').exists }));
  if (shotName) {
    // The notice over the game, as the player sees it (the run's end page hides it).
    await page.evaluate(() => { document.getElementById('message').hidden = true; });
    await shot(page, shotName);
  }
  await page.close();
  return { ...JSON.parse(got.report), page: got };
}

const hasWeb = (report) => report.high_scores.some((e) => e.name === 'WEB');

async function savesKept(ctx) {
  let r = await reportRun(ctx, 1);
  check(hasWeb(r) && r.options.story_readen && r.page.state === 'read' && r.page.tries === 2 && !r.page.notices,
        `the first IndexedDB open failing keeps what was stored: read on try ${r.page.tries}, WEB ` +
        `${hasWeb(r) ? 'in' : 'NOT in'} the table, story read ${r.options.story_readen}`);
  r = await reportRun(ctx, 1000, 'saves-unreadable.png');
  check(r.page.state === 'unreadable' && /could not be read/.test(r.page.notices),
        `every open failing: the page says "${r.page.notices}"`);
  r = await reportRun(ctx);
  check(hasWeb(r) && r.options.story_readen, `after a visit that could not read them the saves are still there ` +
        `(WEB ${hasWeb(r) ? 'in' : 'NOT in'} the table, story read ${r.options.story_readen})`);

  // A save IndexedDB refuses: told on the page, kept, and stored by a retry.
  const page = await ctx.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(pageUrl(''));
  await waitForRun(page);
  await page.evaluate(() => {
    window.twRefusePuts = true;
    const realPut = IDBObjectStore.prototype.put;
    // Refused as a full disk does: the request's error event, not an exception.
    IDBObjectStore.prototype.put = function (...putArgs) {
      if (!window.twRefusePuts) return realPut.apply(this, putArgs);
      const req = { error: new DOMException('refused by the test', 'QuotaExceededError') };
      Promise.resolve().then(() => req.onerror && req.onerror({ preventDefault() {} }));
      return req;
    };
    FS.writeFile('/save/probe.txt', 'kept');
    Module.twSyncSaves();
  });
  await waitFor(page, () => /not been stored/.test(document.getElementById('notices').textContent), 10000,
                'the notice of a refused save');
  const told = await page.evaluate(() => ({ text: document.getElementById('notices').textContent,
                                            pending: Module.twSavesPending }));
  await shot(page, 'saves-unwritten.png');
  await page.evaluate(() => { window.twRefusePuts = false; });
  await waitFor(page, () => Module.twSavesPending === 0 && !document.getElementById('notices').textContent, 20000,
                'the refused save stored on a retry');
  await page.close();
  r = await reportRun(ctx);
  check(told.pending === 1 && r.page.probe, `a refused save: the page says "${told.text}"; a retry stores it ` +
        `(there after a reload: ${r.page.probe})`);
}

async function exportClearImport(ctx) {
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-downloads-'));
  try {
    let page = await ctx.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    const cdp = await page.createCDPSession();
    const browserCdp = await browser.target().createCDPSession();
    await browserCdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads,
                                                            browserContextId: ctx.id });
    await page.goto(pageUrl(''));
    await waitForRun(page);
    await page.click('#savesbutton');
    await page.click('#export');
    let file = '';
    for (let i = 0; i < 100 && !file; i++) {
      await sleep(100);
      file = fs.readdirSync(downloads).find((f) => f.endsWith('.json')) || '';
    }
    // (The download behaviour lasts as long as the session that set it.)
    await browserCdp.detach();
    if (!file) throw new Error('the saves were not downloaded');
    const exported = JSON.parse(fs.readFileSync(path.join(downloads, file), 'utf8'));
    await cdp.send('Storage.clearDataForOrigin', { origin: new URL(url).origin, storageTypes: 'all' });
    await page.close();
    let r = await reportRun(ctx);
    const cleared = !hasWeb(r) && !r.options.story_readen;
    page = await ctx.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    await page.goto(pageUrl(''));
    await waitForRun(page);
    await page.click('#savesbutton');
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#import')]);
    await Promise.all([page.waitForNavigation({ timeout: 30000 }), chooser.accept([path.join(downloads, file)])]);
    await page.close();
    r = await reportRun(ctx);
    check(cleared && hasWeb(r) && r.options.story_readen,
          `export (${file}: ${Object.keys(exported.files).length} files), clear the site's storage (table ` +
          `${cleared ? 'gone' : 'NOT gone'}), import: WEB ${hasWeb(r) ? 'is back' : 'is NOT back'}, story read ` +
          `${r.options.story_readen}`);
  } finally {
    fs.rmSync(downloads, { recursive: true, force: true });
  }
}

async function scoresAndSaves() {
  const ctx = await browser.createBrowserContext();
  await highScoreByTouch(ctx);
  await savesKept(ctx);
  await exportClearImport(ctx);
  await ctx.close();
}

// --- offline --------------------------------------------------------------------

const storesOf = (page) => page.evaluate(async () => {
  const out = {};
  for (const name of await caches.keys()) {
    out[name] = (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.slice(1) +
                                                                    new URL(r.url).search);
  }
  return out;
});

async function offline() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-offline-'));
  const copy = path.join(work, 'site');
  fs.cpSync(site, copy, { recursive: true });
  let srv = await startServer(copy);
  const port = new URL(srv.url).port;
  const ctx = await browser.createBrowserContext();
  try {
    const page = await ctx.newPage();
    await page.setViewport({ width: 1024, height: 768 });
    await page.goto(pageUrl('', '', srv.url, true));
    await waitForRun(page);
    await waitFor(page, async () => {
      const names = await caches.keys();
      return navigator.serviceWorker.controller !== null && names.length === 1 &&
        (await (await caches.open(names[0])).keys()).length >= 7;
    }, 60000, 'the service worker storing the game');
    const stored = await storesOf(page);
    srv.server.kill();
    await sleep(300);
    await page.reload();
    await waitForRun(page);
    const ran = await page.evaluate(() => !!Module.gameState);
    check(ran, `with the server gone a reload starts the game (stored: ${Object.values(stored)[0].join(', ')})`);

    // A rebuild: game.js changes, the site is written again.
    fs.appendFileSync(path.join(copy, 'game.js'), '\n// rebuilt\n');
    fs.rmSync(path.join(copy, 'game.js.gz'));
    const stamp = spawnSync('python3', [path.join(here, '..', 'stamp-site.py'), copy, path.join(here, '..')]);
    if (stamp.status !== 0) throw new Error('stamp-site failed: ' + stamp.stderr);
    const version = /const VERSION = '([0-9a-f]+)'/.exec(fs.readFileSync(path.join(copy, 'sw.js'), 'utf8'))[1];
    const js = /"game\.js": \{"size": \d+, "v": "([0-9a-f]+)"\}/.exec(fs.readFileSync(path.join(copy, 'index.html'),
                                                                                       'utf8'))[1];
    srv = await startServer(copy, port);
    await page.reload();
    await waitForRun(page);
    const loaded = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => e.name)
      .filter((n) => /game\.js\?v=/.test(n)).map((n) => new URL(n).search.slice(3)));
    await waitFor(page, async (want) => {
      const names = await caches.keys();
      return names.length === 1 && names[0] === 'tumblewell-' + want;
    }, 60000, 'the new service worker taking over', version);
    const after = Object.values(await storesOf(page))[0];
    check(loaded.length === 1 && loaded[0] === js && after.includes('game.js?v=' + js) &&
          after.filter((n) => n.startsWith('game.js')).length === 1,
          `after a rebuild the page loads the new game.js (v=${loaded.join(',')}, built ${js}) and the one store ` +
          `(tumblewell-${version}) holds only the new files`);
  } finally {
    await ctx.close();
    srv.server.kill();
    fs.rmSync(work, { recursive: true, force: true });
  }
}

// --- failure pages ------------------------------------------------------------------

async function failurePage(name, setUp, expect) {
  const ctx = await browser.createBrowserContext();
  const page = await ctx.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await setUp(page);
  await page.goto(pageUrl(''));
  await waitFor(page, () => window.twFailed || (window.Module && Module.twExitCode !== undefined), 60000,
                `the page for ${name}`);
  const text = await page.$eval('#message', (m) => (m.hidden ? '' : m.innerText.replace(/\s+/g, ' ').trim()));
  const hint = await page.$eval('#soundhint', (h) => !h.hidden);
  await shot(page, `failure-${name}.png`);
  check(expect.test(text) && !hint, `${name}: "${text}"`);
  await ctx.close();
}

async function intercept(page, pattern, answer) {
  await page.setRequestInterception(true);
  page.on('request', (req) => {
    if (pattern.test(new URL(req.url()).pathname)) answer(req);
    else req.continue();
  });
}

async function failurePages() {
  await failurePage('no-webassembly', (page) => page.evaluateOnNewDocument(() => { delete window.WebAssembly; }),
                    /cannot run the game.*WebAssembly/);
  await failurePage('wasm-missing', (page) => intercept(page, /game\.wasm$/, (req) =>
    req.respond({ status: 404, contentType: 'text/plain', body: 'not here' })), /missing.*game\.wasm.*404/);
  const dataSize = fs.statSync(path.join(site, 'game.data')).size;
  await failurePage('data-cut-short', (page) => intercept(page, /game\.data$/, (req) =>
    req.respond({ status: 200, contentType: 'application/octet-stream',
                  body: fs.readFileSync(path.join(site, 'game.data')).subarray(0, dataSize >> 1) })),
                    new RegExp(`cut short.*game\\.data has [\\d,]+ of ${dataSize.toLocaleString('en')} bytes`));
  await failurePage('offline-nothing-stored', (page) => intercept(page, /game\./, (req) =>
    req.abort('internetdisconnected')), /offline.*not stored on this device/);

  // The menu's Exit: the page says the game has ended and offers another.
  const { page, ctx } = await openPage('', null);
  await waitFor(page, () => Module.gameState.screen === 'story', 20000, 'the story');
  await press(page, 'Enter', 2);
  await waitFor(page, () => Module.gameState.screen === '' && !Module.gameState.inGame, 5000, 'the main menu');
  for (let i = 0; i < 12 && (await state(page)).item !== 7; i++) await press(page, 'ArrowDown');
  await press(page, 'Enter');
  await waitFor(page, () => Module.twExitCode !== undefined, 10000, 'the game to exit');
  await sleep(300);
  const text = await page.$eval('#message', (m) => (m.hidden ? '' : m.innerText.replace(/\s+/g, ' ').trim()));
  await shot(page, 'failure-exit.png');
  await Promise.all([page.waitForNavigation(), page.click('#again')]);
  await waitForRun(page);
  const again = await page.evaluate(() => !!Module.gameState);
  check(/has ended.*Play again/.test(text) && again, `the menu's Exit: "${text}"; Play again starts the game anew`);
  await ctx.close();
}

async function benchmark() {
  for (const renderer of ['software', 'opengles2']) {
    const ctx = await browser.createBrowserContext();
    const page = await ctx.newPage();
    await page.setViewport({ width: 1920, height: 1080, deviceScaleFactor: 2 });
    await page.goto(url + 'index.html?renderer=' + renderer + '&args=' +
                    encodeURIComponent('--autoplay --start arcade --seed 3'));
    await waitFor(page, () => window.Module && Module.gameState && Module.gameState.inGame, 60000, 'a game');
    await sleep(3000);  // past the loading and the first fade
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    const metric = async () => {
      const { metrics } = await cdp.send('Performance.getMetrics');
      return Object.fromEntries(metrics.map((m) => [m.name, m.value]));
    };
    const m0 = await metric();
    const s0 = await state(page);
    const t0 = performance.now();
    await sleep(20000);
    const m1 = await metric();
    const s1 = await state(page);
    const seconds = (performance.now() - t0) / 1000;
    const fps = (s1.frame - s0.frame) / seconds;
    const busy = (m1.TaskDuration - m0.TaskDuration) / seconds;
    console.log(`${renderer.padEnd(9)} at 1920x1080, density 2: ${fps.toFixed(2)} frames/s, main thread busy ${(100 * busy).toFixed(1)} % ` +
                `over ${seconds.toFixed(1)} s (level ${s1.level}, score ${s1.score})`);
    await ctx.close();
  }
}

try {
  if (bench) {
    await benchmark();
  } else {
    const only = opt('--only', '');  // one part, when working on it
    if (!only || only === 'server') await serverAnswers();
    if (!only || only === 'menu') await storyMenuAndGame();
    if (!only || only === 'density') await densities();
    if (!only || only === 'touch') await phone();
    if (!only || only === 'failures') await failurePages();
    if (!only || only === 'offline') await offline();
    if (!only || only === 'replays') await attractReplays();
    if (!only || only === 'replays') await runLink();
    if (!only || only === 'scores') await scoresAndSaves();
  }
} catch (e) {
  check(false, String(e.message || e));
} finally {
  await cleanUp();
}
console.log(failures === 0 ? 'web-test: all passed' : `web-test: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
