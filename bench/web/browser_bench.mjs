// The game in headless Chromium, measured: what a player downloads, how soon the first window is
// drawn, the tick cadence of a round with fire held (every tick presents), and the browser's CPU
// time while playing beside an idle page. node bench/web/browser_bench.mjs SITE_DIR [TICKS]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {execFileSync} from 'node:child_process';
import {launch, serve, sleep, until} from '../../tests/web/harness.mjs';

const [site, ticks = 1000] = [process.argv[2], Number(process.argv[3] ?? 1000)];
if (!site || !fs.existsSync(path.join(site, 'index.html'))) throw new Error(`usage: browser_bench.mjs SITE_DIR [TICKS] (no site in ${site})`);
const rows = [];
const row = (what, value) => rows.push([what, value]);
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

let total = 0, packed = 0;
for (const name of ['index.html', 'puffpop.js', 'puffpop.wasm']) {
  const body = fs.readFileSync(path.join(site, name)), gz = zlib.gzipSync(body, {level: 9}).length;
  [total, packed] = [total + body.length, packed + gz];
  row(`download ${name} (raw / gzip)`, `${(body.length / 1024).toFixed(1)} / ${(gz / 1024).toFixed(1)} KiB`);
}
row('download in all (raw / gzip)', `${(total / 1024).toFixed(1)} / ${(packed / 1024).toFixed(1)} KiB`);

const server = await serve(site), browser = await launch();
// The browser's processes and their CPU seconds so far (utime + stime of each, from /proc).
const hertz = Number(execFileSync('getconf', ['CLK_TCK']));
function cpu() {
  const parent = new Map(), seconds = new Map();
  for (const pid of fs.readdirSync('/proc').filter(p => /^\d+$/.test(p))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8'), f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parent.set(+pid, +f[1]);
      seconds.set(+pid, (+f[11] + +f[12]) / hertz);
    } catch { /* gone meanwhile */ }
  }
  const tree = new Set([browser.process().pid]);
  for (let grew = true; grew;) {
    grew = false;
    for (const [pid, ppid] of parent) if (tree.has(ppid) && !tree.has(pid)) tree.add(pid), grew = true;
  }
  return new Map([...tree].map(pid => [pid, seconds.get(pid) ?? 0]));
}
const spent = (from, to) => [...to].reduce((sum, [pid, s]) => sum + (from.has(pid) ? s - from.get(pid) : s), 0);

try {
  // Navigation start to the mode-choice window's first frame, each in a fresh context (no cache).
  const firsts = [];
  for (let i = 0; i < 5; ++i) {
    const context = await browser.createBrowserContext(), page = await context.newPage();
    await page.setViewport({width: 1024, height: 768});
    await page.goto(server.url);
    firsts.push(await until('the first present', () => page.evaluate(() => window.puffpop?.presentTimes[0])));
    await context.close();
  }
  row('navigation to the first frame (median of 5)', `${median(firsts).toFixed(0)} ms (${firsts.map(t => t.toFixed(0)).join(', ')})`);

  // A windowed round, the left button held from the start: each tick shoots and presents.
  const context = await browser.createBrowserContext(), page = await context.newPage();
  await page.setViewport({width: 1024, height: 768});
  await page.goto(server.url);
  await until('the mode choice', () => page.evaluate(() => window.puffpop?.presents > 0));
  await page.keyboard.press('Enter');
  await until('the game window', () => page.evaluate(() => !!document.querySelector('canvas[width="640"]')));
  await page.mouse.move(68 + 320, 51 + 240);
  await page.mouse.down();
  await until('the round under way', () => page.evaluate(() => window.puffpop.cues.includes('PucanjB.wav')));
  const [from, presents, wall] = [cpu(), await page.evaluate(() => window.puffpop.presents), Date.now()];
  await until(`${ticks} ticks`, () => page.evaluate(n => window.puffpop.presents >= n, presents + ticks + 1), Boolean, ticks * 200);
  const [playing, played] = [spent(from, cpu()), Date.now() - wall];
  const {times, starts} = await page.evaluate(n => ({times: window.puffpop.presentTimes.slice(-n),
    starts: window.puffpop.cues.filter(c => c === 'Start.wav').length}), ticks + 1);
  await page.mouse.up();
  await context.close();
  const gaps = times.slice(1).map((t, i) => t - times[i]);
  row(`tick interval over ${ticks} ticks (median / 99th / worst)`, `${median(gaps).toFixed(1)} / ` +
    `${[...gaps].sort((a, b) => a - b)[Math.floor(gaps.length * 0.99)].toFixed(1)} / ${Math.max(...gaps).toFixed(1)} ms`);
  row('catch-up ticks (interval < 10 ms)', `${gaps.filter(g => g < 10).length}`);
  row('rounds started (each waits for its fanfare)', `${starts}`);

  // The same wall time with only a blank page open.
  const idle = await browser.newPage(), before = cpu();
  await sleep(played);
  row(`browser CPU over ${(played / 1000).toFixed(1)} s: playing / idle page`,
    `${playing.toFixed(2)} / ${spent(before, cpu()).toFixed(2)} s (${(100 * playing * 1000 / played).toFixed(0)} % of a core playing)`);
  await idle.close();
} finally {
  await browser.close();
  server.close();
}
const width = Math.max(...rows.map(([what]) => what.length));
for (const [what, value] of rows) console.log(`${what.padEnd(width)}  ${value}`);
