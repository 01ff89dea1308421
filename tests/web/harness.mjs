// What the browser suite and the browser benchmarks share: a static server for the built site, one
// headless Chromium (cdp.mjs), waiting on a condition, and judging pixels by colour class as run_e2e.sh does.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

export const sleep = ms => new Promise(done => setTimeout(done, ms));

// The site's files as a plain static server would give them, on a free port of 127.0.0.1 (a
// secure origin, so the page has its Web Locks).
export async function serve(site) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
    const file = path.join(site, path.normalize(name));
    fs.readFile(file, (error, body) => {
      response.writeHead(error ? 404 : 200, {'Content-Type': types[path.extname(file)] ?? 'text/plain'});
      response.end(error ? 'not found' : body);
    });
  });
  await new Promise(ready => server.listen(0, '127.0.0.1', ready));
  return {url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close()};
}

export {launch} from './cdp.mjs';

// until(WHAT, PROBE, [OK], [MS]): polls PROBE until OK holds for its value; fails naming WHAT
// and the last value seen.
export async function until(what, probe, ok = Boolean, ms = 10000) {
  const deadline = Date.now() + ms;
  for (;;) {
    const value = await probe();
    if (ok(value)) return value;
    if (Date.now() > deadline) throw new Error(`${what}: not within ${ms} ms (last seen: ${JSON.stringify(value)})`);
    await sleep(50);
  }
}

// Colour classes of a pixel's 0..1 channels, as the Linux end-to-end run has them. Sky: clearly
// blue. Red: balloons, bursts and the crosshair. DESKTOP is the page's own background.
export const SKY = 'b>0.55&&b-r>0.2', YELLOW = 'r>0.75&&g>0.75&&b<0.4', WHITE = 'r>0.9&&g>0.9&&b>0.9';
export const BLACK = 'r+g+b<0.06', GREY = 'r>0.65&&r<0.95&&b>0.6&&b<0.95', RED = 'r-g>0.35';
export const DESKTOP = 'Math.abs(r-0.227)<0.02&&Math.abs(g-0.431)<0.02&&Math.abs(b-0.647)<0.02';

// How many pixels of the box [w, h, x, y] of RGBA data `width` wide are of the class.
export function count({data, width}, [w, h, x0, y0], cls) {
  const of = new Function('r', 'g', 'b', `return ${cls}`);
  let n = 0;
  for (let y = y0; y < y0 + h; ++y)
    for (let x = x0, i = (y * width + x0) * 4; x < x0 + w; ++x, i += 4)
      if (of(data[i] / 255, data[i + 1] / 255, data[i + 2] / 255)) ++n;
  return n;
}
export const mostly = (image, cls, ...boxes) => boxes.every(box => count(image, box, cls) * 10 >= box[0] * box[1] * 9);

// A screenshot (8-bit RGB or RGBA PNG, as Chromium writes them) as {width, height, data: RGBA}.
export function decodePng(png) {
  let width, height, channels;
  const parts = [];
  for (let at = 8; at < png.length;) {
    const size = png.readUInt32BE(at), kind = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + size);
    if (kind === 'IHDR') {
      [width, height, channels] = [body.readUInt32BE(0), body.readUInt32BE(4), {2: 3, 6: 4}[body[9]]];
      if (body[8] !== 8 || !channels || body[12]) throw new Error('screenshot: not an 8-bit RGB(A) PNG');
    } else if (kind === 'IDAT') parts.push(body);
    at += 12 + size;
  }
  const raw = zlib.inflateSync(Buffer.concat(parts)), stride = width * channels;
  const data = Buffer.alloc(width * height * 4, 255);
  let above = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = above[i], c = i >= channels ? above[i - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const guess = filter === 1 ? a : filter === 2 ? b : filter === 3 ? (a + b) >> 1 :
        filter === 4 ? (pa <= pb && pa <= pc ? a : pb <= pc ? b : c) : 0;
      line[i] = (line[i] + guess) & 255;
    }
    for (let x = 0; x < width; ++x) line.copy(data, (y * width + x) * 4, x * channels, x * channels + 3);
    above = line;
  }
  return {width, height, data};
}

export const screenshot = async page => decodePng(Buffer.from(await page.screenshot({type: 'png'})));
