// The game in headless Chromium, played as the Linux end-to-end run plays it: the mode choice,
// a windowed round with its cues started in Web Audio, pause, the game-over screen, the end of
// the game; the lock against a second tab; full screen; a touch round at a phone's size. Canvas
// pixels are read in the page; what lies outside the canvases, from screenshots.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {after, before, test} from 'node:test';
import {BLACK, DESKTOP, GREY, RED, SKY, WHITE, YELLOW, count, launch, mostly, screenshot, serve, sleep, until}
  from './harness.mjs';

const SITE = process.env.PUFFPOP_SITE;
const RESOURCES = fileURLToPath(new URL('../../resources', import.meta.url));
const ARTIFACTS = path.join(process.env.E2E_ARTIFACTS ?? 'e2e-artifacts', 'web');
const CHOOSER = ':: Puffpop ::   |   :: Izaberite mod igranja ::';
let server, browser;

before(async () => {
  assert.ok(SITE && fs.existsSync(path.join(SITE, 'index.html')), `PUFFPOP_SITE (${SITE}) holds no built site`);
  fs.rmSync(ARTIFACTS, {recursive: true, force: true});
  [server, browser] = await Promise.all([serve(SITE), launch()]);
});
after(async () => { await browser?.close(); server?.close(); });

// A cue's length in seconds, from its WAV header, as the page decodes it: Web Audio's record of
// what started is told apart by the lengths of the buffers.
function seconds(name) {
  const wav = fs.readFileSync(path.join(RESOURCES, name));
  let rate, step;
  for (let at = 12; at + 8 <= wav.length; at += 8 + wav.readUInt32LE(at + 4) + (wav.readUInt32LE(at + 4) & 1)) {
    const id = wav.toString('latin1', at, at + 4), body = at + 8;
    if (id === 'fmt ') [rate, step] = [wav.readUInt32LE(body + 4), wav.readUInt16LE(body + 14) / 8 * wav.readUInt16LE(body + 2)];
    if (id === 'data') return Math.floor(Math.min(wav.readUInt32LE(at + 4), wav.length - body) / step) / rate;
  }
}
const CUE = Object.fromEntries(['Start.wav', 'PucanjB.wav', 'PucanjSB.wav'].map(name => [name, seconds(name)]));

// Each scenario in a context of its own (its own lock), its pages' console errors and page errors
// collected; a failed one leaves screenshots of its pages (every one does with E2E_KEEP=1).
function scenario(name, body) {
  test(name, async () => {
    const context = await browser.createBrowserContext(), pages = [], problems = [];
    const open = async (viewport = {width: 1024, height: 768}) => {
      const page = await context.newPage();
      pages.push(page);
      page.on('console', m => m.type === 'error' && problems.push(`console: ${m.text}`));
      page.on('pageerror', e => problems.push(`page error: ${e.message}`));
      // Every buffer Web Audio starts: its length, and whether the audio is running to be heard.
      await page.evaluateOnNewDocument(() => {
        const start = AudioBufferSourceNode.prototype.start;
        window.started = [];
        AudioBufferSourceNode.prototype.start = function (...when) {
          window.started.push({seconds: this.buffer?.duration, state: this.context.state});
          return start.apply(this, when);
        };
      });
      await page.setViewport(viewport);
      await page.goto(server.url);
      return page;
    };
    let failed = true;
    try {
      await body(open);
      assert.deepEqual(problems, [], 'no console error or page error');
      failed = false;
    } finally {
      if (failed || process.env.E2E_KEEP === '1') {
        fs.mkdirSync(ARTIFACTS, {recursive: true});
        for (const [i, page] of pages.entries())
          if (!page.isClosed()) await page.screenshot({path: path.join(ARTIFACTS, `${name.split(':')[0].replace(/\W+/g, '-')}.${i}.png`)});
      }
      await context.close();
    }
  });
}

// A function of (image, ...args) run on the pixels of the canvas that many pixels wide.
const inCanvas = (page, width, judge, ...args) => page.evaluate((width, judge, args) => {
  const canvas = document.querySelector(`canvas[width="${width}"]`);
  if (!canvas) return null;
  const image = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
  return new Function(`return ${judge}`)()(image, ...args);
}, width, judge.toString(), args);
const inGame = (page, box, cls) => inCanvas(page, 640, count, box, cls);
const digest = image => image.data.reduce((h, v) => (h * 31 + v) >>> 0, 7);
// Red pixels a row, the box [w, h, x, y] (the crosshair around the pointer) left out.
const redRows = ({data}, [w, h, x0, y0]) => Array.from({length: 480}, (_, y) => {
  let n = 0;
  for (let x = 0; x < 640; ++x) {
    const i = (y * 640 + x) * 4;
    if (data[i] - data[i + 1] > 0.35 * 255 && !(x >= x0 && x < x0 + w && y >= y0 && y < y0 + h)) ++n;
  }
  return n;
});
// How far the red of frame `a` moved up to make frame `b` (best match of the rows' red counts).
function rise(a, b) {
  let best = 0, least = Infinity;
  for (let s = -40; s <= 40; ++s) {
    let d = 0;
    for (let y = 40; y < 440; ++y) d += Math.abs(a[y] - b[y - s]);
    if (d < least) [best, least] = [s, d];
  }
  return best;
}

const state = page => page.evaluate(() => window.puffpop && {...window.puffpop, presentTimes: undefined});
const started = (page, cue) => page.evaluate(s => window.started.filter(c => c.seconds === s && c.state === 'running').length, CUE[cue]);
const frame = (page, caption) => page.evaluate(caption => {
  const frame = [...document.querySelectorAll('.pp-window')].find(f => !f.hidden &&
    (caption === null ? !f.classList.contains('pp-titled') : f.querySelector('.pp-caption')?.firstChild.textContent === caption));
  const box = frame?.getBoundingClientRect();
  return frame && {x: box.x, y: box.y, width: box.width, height: box.height, full: frame.classList.contains('pp-full-screen'),
    inBody: frame.parentNode === document.body, canvas: frame.querySelector('canvas').getBoundingClientRect().toJSON()};
}, caption);
const chooser = page => until('the mode-choice window shows, drawn', async () =>
  (await state(page))?.presents > 0 && frame(page, CHOOSER));
const ended = page => page.evaluate(() => {
  const panel = document.getElementById('puffpop-ended');
  return !panel.hidden && `${panel.querySelector('p').textContent} [${panel.querySelector('button').textContent}]`;
});
// A press of `ms`: 100 is a tick at least; a shot empties the gun for four ticks (180 ms), so a
// press right after one lasts 300 to be seen.
async function press(page, x, y, button = 'left', ms = 100) {
  await page.mouse.move(x, y);
  await page.mouse.down({button});
  await sleep(ms);
  await page.mouse.up({button});
}
const scoreLine = page => inGame(page, [640, 30, 0, 6], YELLOW);
const playing = page => until('a round: the score line', () => scoreLine(page), n => n > 80);
const cueStarted = async (page, cue, before) =>
  until(`${cue} started in running Web Audio`, () => started(page, cue), n => n > before, 3000);
async function gameOverAndBack(page) {
  await until('KRAJ IGRE', () => inGame(page, [340, 40, 150, 205], YELLOW), n => n > 400, 3000);
  await until('back to the title screen', async () => [await scoreLine(page), await inGame(page, [340, 40, 150, 205], YELLOW)],
    ([score, over]) => score < 20 && over < 50, 8000);
}
async function escEnds(page) {
  await page.keyboard.press('Escape');
  await until('Esc on the title screen ends the game', async () => (await state(page)).state, s => s === 'ended', 3000);
  assert.match(await ended(page), /has ended.*\[Play again\]/);
}

scenario('windowed: the mode choice, Enter, the title, a round with its cues, pause, game over, the end', async open => {
  const page = await open(), choice = await chooser(page);
  assert.ok(Math.abs(choice.x + choice.width / 2 - 512) <= 1 && Math.abs(choice.y + choice.height / 2 - 384) <= 1,
    `mode-choice window centred: ${JSON.stringify(choice)}`);
  assert.deepEqual([choice.canvas.width, choice.canvas.height], [329, 63]);
  const corners = await Promise.all([[2, 2], [313, 2], [2, 55], [313, 55]].map(([x, y]) => inCanvas(page, 329, count, [14, 6, x, y], GREY)));
  assert.ok(corners.every(n => n >= 76), `mode-choice window grey in its corners: ${corners}`);
  const around = await screenshot(page), {x, y} = choice;
  assert.ok(mostly(around, DESKTOP, [329, 20, Math.round(x), Math.round(y) - 40]), 'the desktop around the mode choice');

  await page.keyboard.press('Enter');
  const game = await until('Enter: the game window at (68, 51), the mode choice gone', async () =>
    !(await frame(page, CHOOSER)) && frame(page, null), f => f && f.x === 68 && f.y === 51);
  assert.deepEqual([game.canvas.width, game.canvas.height], [640, 480]);
  await until('sky in the game window, the desktop around it', () => screenshot(page),
    shot => mostly(shot, SKY, [600, 25, 88, 55]) && mostly(shot, DESKTOP, [300, 200, 724, 560], [60, 40, 4, 6]));
  const whites = [];
  for (let i = 0; i < 10; ++i, await sleep(200)) whites.push(await inGame(page, [360, 38, 140, 210], WHITE));
  assert.ok(Math.max(...whites) - Math.min(...whites) > 500, `the title text blinks: white pixels ${whites}`);

  await press(page, 68 + 320, 51 + 400);
  await playing(page);
  await cueStarted(page, 'Start.wav', 0);
  const crosshair = [80, 80, 280, 360];
  await until('balloons rise: red pixels move up', async () => {
    const a = await inCanvas(page, 640, redRows, crosshair);
    await sleep(250);
    const b = await inCanvas(page, 640, redRows, crosshair);
    return a.reduce((s, n) => s + n, 0) > 600 && rise(a, b);
  }, s => s >= 3);
  for (const [cue, button] of [['PucanjB.wav', 'left'], ['PucanjSB.wav', 'right']]) {
    const before = await started(page, cue);
    await press(page, 68 + 320, 51 + 400, button, 300);
    await cueStarted(page, cue, before);
  }

  await page.keyboard.press('p');
  await sleep(100);
  const still = await inCanvas(page, 640, digest);
  await sleep(600);
  assert.equal(await inCanvas(page, 640, digest), still, 'P freezes the round');
  await page.keyboard.press('p');
  await until('P again resumes it', () => inCanvas(page, 640, digest), d => d !== still, 3000);
  await page.keyboard.press('Escape');
  await gameOverAndBack(page);
  await escEnds(page);
  assert.ok(mostly(await screenshot(page), DESKTOP, [1024, 200, 0, 568]), 'the desktop is left bare');
});

scenario('START clicked; a second tab is refused until the first closes', async open => {
  const first = await open(), choice = await chooser(first);
  await press(first, choice.canvas.x + 256, choice.canvas.y + 32);
  await until('START clicked: the game window', () => frame(first, null));
  const second = await open();
  await until('the second tab is refused', async () => (await state(second))?.state, s => s === 'refused');
  assert.match(await ended(second), /already open in another tab.*\[Try again\]/);
  assert.equal(await second.evaluate(() => document.querySelectorAll('.pp-window:not([hidden])').length), 0, 'no window in the refused tab');
  await first.close();
  const reloaded = second.nextLoad();
  await second.evaluate(() => document.querySelector('#puffpop-ended button').click());
  await reloaded;
  await chooser(second);
  await second.keyboard.press('Enter');
  await until('the reloaded tab plays', () => frame(second, null));
  assert.equal((await state(second)).state, 'running');
});

scenario('full screen: the radio button, START, the frame letterboxed over the page', async open => {
  const page = await open({width: 1280, height: 720}), {canvas} = await chooser(page);
  await press(page, canvas.x + 30, canvas.y + 44);
  await press(page, canvas.x + 256, canvas.y + 32);
  const full = await until('the game window goes full screen', () => frame(page, null), f => f?.full);
  assert.ok(full.inBody, 'out of the desktop, over the page');
  assert.deepEqual(full.canvas, {x: 160, y: 0, width: 960, height: 720, left: 160, top: 0, right: 1120, bottom: 720});
  await until('the frame fills the height, black bars beside it', () => screenshot(page), shot =>
    mostly(shot, SKY, [900, 30, 190, 8]) && mostly(shot, BLACK, [150, 700, 4, 10], [150, 700, 1126, 10]));
  // The browser's own full screen, where it was granted, takes the first Esc: the game plays on
  // over the page, and the next Esc is the game's.
  if (await page.evaluate(() => !!document.fullscreenElement)) {
    await page.keyboard.press('Escape');
    await until('the browser leaves its full screen', () => page.evaluate(() => !document.fullscreenElement));
    assert.ok((await frame(page, null)).full, 'the game still fills the page');
    assert.equal((await state(page)).state, 'running');
  }
  await escEnds(page);
});

scenario('touch at a phone size: a tap starts, a touch shoots, a second finger fires a smart bomb', async open => {
  const page = await open({width: 390, height: 844, hasTouch: true, isMobile: true});
  const choice = await chooser(page), scale = choice.canvas.width / 329;
  await page.touchscreen.tap(choice.canvas.x + 256 * scale, choice.canvas.y + 32 * scale);
  const {canvas} = await until('a tap on START: the game window', () => frame(page, null));
  const at = (x, y) => ({x: canvas.x + x * canvas.width / 640, y: canvas.y + y * canvas.height / 480});
  await page.touchscreen.tap(at(320, 400).x, at(320, 400).y);
  await playing(page);
  const cdp = await page.createCDPSession(), aim = {...at(300, 300), id: 1}, bomb = {...at(400, 300), id: 2};
  const touch = (type, touchPoints) => cdp.send('Input.dispatchTouchEvent', {type, touchPoints});
  let before = await started(page, 'PucanjB.wav');
  await touch('touchStart', [aim]);
  await sleep(300);  // past the reload of the start's own shot
  await touch('touchEnd', []);
  await cueStarted(page, 'PucanjB.wav', before);
  before = await started(page, 'PucanjSB.wav');
  await touch('touchStart', [aim]);
  await sleep(400);  // a first finger held down, shooting at every reload
  await touch('touchStart', [aim, bomb]);
  await cueStarted(page, 'PucanjSB.wav', before);  // with both fingers still down
  await touch('touchEnd', []);
});
