// Headless Chromium driven over the DevTools protocol on a pipe (--remote-debugging-pipe): the few
// calls the browser suite and the browser benchmarks make, with nothing to install beyond Debian's
// chromium and node.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const KEYS = {
  Enter: {code: 'Enter', keyCode: 13, text: '\r'}, Escape: {code: 'Escape', keyCode: 27},
  ArrowDown: {code: 'ArrowDown', keyCode: 40}, ArrowUp: {code: 'ArrowUp', keyCode: 38},
};
const BUTTONS = {left: 1, right: 2, middle: 4};

class Page {
  constructor(browser, targetId, sessionId) {
    Object.assign(this, {browser, targetId, sessionId, closed: false, listeners: {}, loads: []});
    this.at = {x: 0, y: 0, buttons: 0};
    const send = this.send.bind(this);
    this.mouse = {
      move: (x, y) => send('Input.dispatchMouseEvent', {type: 'mouseMoved', ...(this.at = {...this.at, x, y}), button: 'none'}),
      down: ({button = 'left'} = {}) => {
        this.at.buttons |= BUTTONS[button];
        return send('Input.dispatchMouseEvent', {type: 'mousePressed', ...this.at, button, clickCount: 1});
      },
      up: ({button = 'left'} = {}) => {
        this.at.buttons &= ~BUTTONS[button];
        return send('Input.dispatchMouseEvent', {type: 'mouseReleased', ...this.at, button, clickCount: 1});
      },
    };
    this.keyboard = {
      press: async key => {
        const k = KEYS[key] ?? {code: `Key${key.toUpperCase()}`, keyCode: key.toUpperCase().charCodeAt(0), text: key};
        const event = {key, code: k.code, windowsVirtualKeyCode: k.keyCode, nativeVirtualKeyCode: k.keyCode};
        await send('Input.dispatchKeyEvent', {type: k.text ? 'keyDown' : 'rawKeyDown', ...event, text: k.text, unmodifiedText: k.text});
        await send('Input.dispatchKeyEvent', {type: 'keyUp', ...event});
      },
    };
    this.touchscreen = {
      tap: async (x, y) => {
        await send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{x, y}]});
        await send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
      },
    };
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }
  createCDPSession() { return {send: this.send.bind(this)}; }
  isClosed() { return this.closed; }

  // 'console' gets {type, text} (the page's console and the browser's own log), 'pageerror' an Error.
  on(name, listener) { (this.listeners[name] ??= []).push(listener); }
  emit(name, value) { for (const listener of this.listeners[name] ?? []) listener(value); }
  event(method, params) {
    if (method === 'Page.loadEventFired') this.loads.splice(0).forEach(loaded => loaded());
    if (method === 'Runtime.consoleAPICalled')
      this.emit('console', {type: params.type, text: params.args.map(a => a.value ?? a.description).join(' ')});
    if (method === 'Log.entryAdded') this.emit('console', {type: params.entry.level, text: params.entry.text});
    if (method === 'Runtime.exceptionThrown') {
      const details = params.exceptionDetails;
      this.emit('pageerror', new Error(details.exception?.description ?? details.text));
    }
  }
  // The next load of the page, for a navigation something else starts.
  nextLoad() { return new Promise(loaded => this.loads.push(loaded)); }

  async goto(url) {
    const loaded = this.nextLoad();
    await this.send('Page.navigate', {url});
    await loaded;
  }
  async setViewport({width, height, hasTouch = false, isMobile = false}) {
    await this.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: 1, mobile: isMobile});
    if (hasTouch) await this.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
  }
  evaluateOnNewDocument(fn) {
    return this.send('Page.addScriptToEvaluateOnNewDocument', {source: `(${fn})()`});
  }
  async evaluate(fn, ...args) {
    const {result, exceptionDetails} = await this.send('Runtime.evaluate', {
      expression: `(${fn})(...${JSON.stringify(args)})`, awaitPromise: true, returnByValue: true});
    if (exceptionDetails) throw new Error(exceptionDetails.exception?.description ?? exceptionDetails.text);
    return result.value;
  }
  async screenshot({path: file} = {}) {
    const png = Buffer.from((await this.send('Page.captureScreenshot', {format: 'png'})).data, 'base64');
    if (file) fs.writeFileSync(file, png);
    return png;
  }
  async close() {
    if (this.closed) return;
    this.closed = true;
    await this.browser.send('Target.closeTarget', {targetId: this.targetId});
  }
}

class Context {
  constructor(browser, id) { Object.assign(this, {browser, id}); }
  newPage() { return this.browser.newPage(this.id); }
  close() { return this.browser.send('Target.disposeBrowserContext', {browserContextId: this.id}); }
}

class Browser {
  constructor(child, profile) {
    Object.assign(this, {child, profile, next: 1, waiting: new Map(), pages: new Map()});
    let buffered = '';
    child.stdio[4].on('data', chunk => {
      const messages = (buffered + chunk.toString('utf8')).split('\0');
      buffered = messages.pop();
      for (const text of messages) this.receive(JSON.parse(text));
    });
    child.on('exit', () => {
      for (const {fail} of this.waiting.values()) fail(new Error('the browser has gone'));
      this.waiting.clear();
    });
  }

  receive(message) {
    const waiter = this.waiting.get(message.id);
    if (waiter) {
      this.waiting.delete(message.id);
      if (message.error) waiter.fail(new Error(`${waiter.method}: ${message.error.message}`));
      else waiter.done(message.result);
    } else if (message.method) {
      const page = this.pages.get(message.sessionId);
      const gone = message.method === 'Target.detachedFromTarget' && this.pages.get(message.params.sessionId);
      if (gone) gone.closed = true;
      page?.event(message.method, message.params);
    }
  }

  send(method, params = {}, sessionId) {
    const id = this.next++;
    return new Promise((done, fail) => {
      this.waiting.set(id, {done, fail, method});
      this.child.stdio[3].write(JSON.stringify({id, method, params, ...(sessionId && {sessionId})}) + '\0');
    });
  }

  process() { return this.child; }

  async createBrowserContext() {
    return new Context(this, (await this.send('Target.createBrowserContext')).browserContextId);
  }

  async newPage(browserContextId) {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank', ...(browserContextId && {browserContextId})});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    const page = new Page(this, targetId, sessionId);
    this.pages.set(sessionId, page);
    await Promise.all(['Page.enable', 'Runtime.enable', 'Log.enable'].map(method => page.send(method)));
    return page;
  }

  async close() {
    await this.send('Browser.close').catch(() => {});
    await new Promise(gone => this.child.exitCode !== null ? gone() : this.child.once('exit', gone));
    fs.rmSync(this.profile, {recursive: true, force: true});
  }
}

// Debian's Chromium, headless, in a profile of its own; audio plays (muted) without a gesture.
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'puffpop-chromium-'));
  const child = spawn('/usr/bin/chromium', [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--autoplay-policy=no-user-gesture-required', '--remote-debugging-pipe', `--user-data-dir=${profile}`,
    '--no-first-run', '--no-default-browser-check', '--hide-scrollbars', '--mute-audio',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--disable-backgrounding-occluded-windows', 'about:blank',
  ], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
  const browser = new Browser(child, profile);
  await browser.send('Browser.getVersion');
  return browser;
}
