// The browser version in headless Chromium (Debian's, driven by puppeteer-core):
//  - web/serve.py sends the .gz copies to a client that takes gzip, the plain
//    files to one that does not, and nothing from outside the site;
//  - the first load's transfer (the .gz copies) at most 15 MB;
//  - the story pages into the main menu with keys, a game started, the state
//    the page shows and a picture on the canvas, frames moving on;
//  - the ten attract replays played in the page, each end identical to the
//    native build's report of the same replay;
//  - a high score typed in, the page reloaded, the name read back from the
//    game's own table.
// With --bench instead: frames per second and the main thread's busy share
// over 20 s of a busy game, for each of SDL's renderers.
//
// Usage: node web/test/web-test.mjs --site build-web/site --native build [--bench] [--shots DIR]
//        [--only server|menu|replays|scores]
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

async function startServer() {
  const server = spawn('python3', [path.join(here, '..', 'serve.py'), '0', '--directory', site],
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
let firstLoad = true;
async function openPage(query, context, width = 1024, height = 768) {
  const ctx = context || (await browser.createBrowserContext());
  const page = await ctx.newPage();
  await page.setViewport({ width, height });
  page.on('pageerror', (e) => console.log(`  page error: ${e.message}`));
  const transfer = firstLoad && !context ? await countTransfer(page) : null;
  firstLoad = false;
  await page.goto(url + 'index.html' + (query ? '?args=' + encodeURIComponent(query) : ''));
  await waitFor(page, () => window.Module && (Module.gameState || Module.twFailed || Module.twExitCode !== undefined),
                60000, 'the game running');
  const failed = await page.evaluate(() => window.Module.twFailed || '');
  if (failed) throw new Error('the page says: ' + failed);
  if (transfer) await transfer();
  return { page, ctx };
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
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-native-'));
  // A scratch copy of the data the page ships, so both read the same files.
  const data = path.join(work, 'data');
  fs.cpSync(path.join(site, '..', 'web-data'), data, { recursive: true });
  const report = path.join(work, 'report.json');
  const run = spawnSync(path.join(native, 'tumblewell'),
                        ['--headless', '--fast', '--data', data, '--play', path.join(data, replay),
                         '--frames', String(frames), '--report', report],
                        { env: { ...process.env, XDG_CONFIG_HOME: path.join(work, 'config'),
                                 XDG_DATA_HOME: path.join(work, 'share'), SDL_AUDIODRIVER: 'dummy' } });
  if (run.status !== 0) throw new Error(`native run of ${replay} failed: ${run.stderr}`);
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
  }
}

async function highScoreKeptAcrossReload() {
  const ctx = await browser.createBrowserContext();
  // The autoplayer earns the points (the lowest shipped entry is 250), fast.
  let { page } = await openPage('--autoplay --fast', ctx);
  await waitFor(page, () => Module.gameState.screen === 'story', 20000, 'the story');
  await press(page, 'Enter', 2);
  await waitFor(page, () => Module.gameState.screen === '' && !Module.gameState.inGame, 5000, 'the main menu');
  // A game given up scores nothing: each plays to its end. The autoplayer is
  // held to a person's limits and now and then dies early, under the table's
  // lowest entry; then another one is played.
  for (let game = 1; ; ++game) {
    await toNewGame(page);
    await press(page, 'Enter');
    await waitFor(page, () => Module.gameState.inGame, 5000, 'a game');
    await waitFor(page, () => Module.gameState.gameOver, 400000, 'the end of the autoplayed game');
    if (await page.evaluate(() => Module.gameState.score >= 250) || game === 4) break;
    // No name to enter: the game winds itself up and the menu comes back.
    await waitFor(page, () => !Module.gameState.inGame, 15000, 'the menu after a game under the table');
  }
  await sleep(1000);  // the end of the game shows, then the name entry waits
  for (const k of ['KeyW', 'KeyE', 'KeyB']) await press(page, k);
  await press(page, 'Enter');
  await waitFor(page, () => !Module.gameState.inGame, 15000, 'the menu after the name entry');
  await waitFor(page, () => Module.twSavesPending === 0, 10000, 'the saves reaching IndexedDB');
  const saved = await page.evaluate(() => Module.gameState.score);
  // The reload runs a few frames and reports the table the game read back.
  await page.goto(url + 'index.html?args=' + encodeURIComponent('--frames 50 --report /tmp/report.json'));
  await waitFor(page, () => window.Module && Module.twExitCode !== undefined, 60000, 'the reloaded run');
  const report = JSON.parse(await page.evaluate(() => FS.readFile('/tmp/report.json', { encoding: 'utf8' })));
  const entry = report.high_scores.find((e) => e.name === 'WEB');
  check(entry !== undefined && report.options.story_readen === true,
        `after a reload the table holds WEB with ${entry ? entry.score : 'nothing'} ` +
        `(game score ${saved}) and the story stays read`);
  if (!entry) console.log('  table: ' + JSON.stringify(report.high_scores) + ', typed ' + report.typed_name);
  await ctx.close();
}

async function benchmark() {
  for (const renderer of ['software', 'opengles2']) {
    const ctx = await browser.createBrowserContext();
    const page = await ctx.newPage();
    await page.setViewport({ width: 1024, height: 768 });
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
    console.log(`${renderer.padEnd(9)}: ${fps.toFixed(2)} frames/s, main thread busy ${(100 * busy).toFixed(1)} % ` +
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
    if (!only || only === 'replays') await attractReplays();
    if (!only || only === 'scores') await highScoreKeptAcrossReload();
  }
} catch (e) {
  check(false, String(e.message || e));
} finally {
  await cleanUp();
}
console.log(failures === 0 ? 'web-test: all passed' : `web-test: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
