// The page's side of the web host: the desktop the windows stand on, their frames and canvases,
// the player's input, the cues through Web Audio, the single-copy lock and the end of the game.
// Linked into the program with --js-library; web_host.h declares what the C++ side calls.

var LibraryPuffpop = {
  $Puffpop: {
    desktop: null,
    windows: {},  // id -> {frame, canvas, context, width, height, fullScreen}
    wake: null,   // resolves the loop's wait
    capture: 0,   // the window a held mouse button belongs to
    held: 0,      // the mouse buttons held, as the game numbers them
    ended: false,
    reporting: false,
    refused: false,
    audio: null,
    cues: {},     // path -> AudioBuffer, or null where it cannot play
    playing: null,
    // What the end-to-end suite and the benchmarks read: frames presented (with the times of the
    // last few thousand), cues started, and how the game stands ('ended', 'refused', 'failed',
    // 'report' once it is no longer simply running).
    stats: {presents: 0, presentTimes: [], cues: [], state: 'running'},

    // Event kinds, buttons and keys as the core numbers them (input.h, keys.h).
    kind: {close: 0, exposed: 1, down: 2, up: 3, move: 4, keyDown: 5, keyUp: 6, character: 7},

    queue: function(kind, id, x, y, button, key, shift, repeat) {
      if (Puffpop.ended) return;
      Module['_puffpop_web_input'](kind, id, x, y, button, key, shift, repeat ? 1 : 0);
      if (Puffpop.wake) Puffpop.wake();
    },

    button: function(domButton) {
      return [1, 4, 2, 8, 16][domButton] || 32;
    },

    shift: function(e) {
      return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    },

    // A point of the page in the client pixels of a window's canvas, however it is scaled.
    toClient: function(w, clientX, clientY) {
      var box = w.canvas.getBoundingClientRect();
      return [Math.floor((clientX - box.left) * w.width / box.width),
              Math.floor((clientY - box.top) * w.height / box.height)];
    },

    keyCode: function(e) {
      var c = e.code || '';
      if (/^Key[A-Z]$/.test(c)) return c.charCodeAt(3);
      if (/^Digit[0-9]$/.test(c)) return c.charCodeAt(5);
      return {Escape: 27, Enter: 13, NumpadEnter: 13, Space: 32, Tab: 9, Backspace: 8,
              ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40}[c] || 0;
    },

    character: function(e) {
      if (e.ctrlKey || e.metaKey || e.altKey) return 0;
      if (e.key.length === 1) return e.key.charCodeAt(0);
      return {Enter: 13, Escape: 27, Tab: 9, Backspace: 8}[e.key] || 0;
    },

    // The first click or key lets the page's audio start (browsers refuse it before one).
    unlockAudio: function() {
      if (Puffpop.audio && Puffpop.audio.state === 'suspended') Puffpop.audio.resume();
    },

    // Whether the player has clicked or pressed a key in the page yet.
    activated: function() {
      return !navigator.userActivation || navigator.userActivation.hasBeenActive;
    },

    releaseAll: function() {
      for (var bit = 1; bit <= 32; bit <<= 1)
        if (Puffpop.held & bit) Puffpop.queue(Puffpop.kind.up, Puffpop.capture, 0, 0, bit, 0, 0);
      Puffpop.held = 0;
      Puffpop.capture = 0;
    },

    // The desktop is the viewport, but never smaller than the game's window where the game puts
    // it (a fifteenth of the desktop in from its corner): on a smaller screen (a phone) the whole
    // desktop is scaled down to fit.
    layout: function() {
      var d = Puffpop.desktop;
      var vw = window.innerWidth, vh = window.innerHeight;
      var scale = Math.min(1, vw / 690, vh / 520);
      var w = Math.floor(vw / scale), h = Math.floor(vh / scale);
      d.style.width = w + 'px';
      d.style.height = h + 'px';
      d.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
      d.dataset.width = w;
      d.dataset.height = h;
      for (var id in Puffpop.windows) Puffpop.fit(Puffpop.windows[id]);
    },

    // A full-screen window's canvas, scaled to fill the viewport with its shape kept.
    fit: function(w) {
      if (!w.fullScreen) {
        w.canvas.style.width = w.width + 'px';
        w.canvas.style.height = w.height + 'px';
        return;
      }
      var scale = Math.min(window.innerWidth / w.width, window.innerHeight / w.height);
      w.canvas.style.width = Math.floor(w.width * scale) + 'px';
      w.canvas.style.height = Math.floor(w.height * scale) + 'px';
    },

    // The error window: the title, the message, OK; dismissed() runs once OK is pressed. The game
    // gets no input meanwhile.
    report: function(title, message, dismissed) {
      var dialog = document.getElementById('puffpop-error'), ok = dialog.querySelector('button');
      dialog.querySelector('.pp-caption').textContent = title;
      dialog.querySelector('p').textContent = message;
      ok.onclick = function() {
        dialog.hidden = true;
        Puffpop.reporting = false;
        dismissed();
      };
      dialog.hidden = false;
      Puffpop.reporting = true;
      Puffpop.stats.state = 'report';
      ok.focus();
    },

    // The page itself failed under the game (the browser refused it something): the same error
    // window as the game's own errors, and the game does not go on.
    fail: function(what) {
      if (Puffpop.ended || Puffpop.reporting) return;
      Puffpop.report('Puffpop', String(what), function() { _puffpop_web_end(1); });
    },

    panel: function(text, button) {
      var panel = document.getElementById('puffpop-ended');
      panel.querySelector('p').textContent = text;
      panel.querySelector('button').textContent = button;
      panel.hidden = false;
    },

    onMouseDown: function(w, e) {
      e.preventDefault();
      Puffpop.unlockAudio();
      var p = Puffpop.toClient(w, e.clientX, e.clientY), b = Puffpop.button(e.button);
      Puffpop.capture = w.id;
      Puffpop.held |= b;
      Puffpop.queue(Puffpop.kind.down, w.id, p[0], p[1], b, 0, Puffpop.shift(e));
    },

    onMouseMove: function(e) {
      var w = Puffpop.windows[Puffpop.capture] || (e.target && e.target.puffpopWindow);
      if (!w) return;
      var p = Puffpop.toClient(w, e.clientX, e.clientY);
      Puffpop.queue(Puffpop.kind.move, w.id, p[0], p[1], e.buttons & 31, 0, Puffpop.shift(e));
    },

    onMouseUp: function(e) {
      var w = Puffpop.windows[Puffpop.capture] || (e.target && e.target.puffpopWindow);
      var b = Puffpop.button(e.button);
      if (!w || !(Puffpop.held & b)) return;
      var p = Puffpop.toClient(w, e.clientX, e.clientY);
      Puffpop.held &= ~b;
      Puffpop.queue(Puffpop.kind.up, w.id, p[0], p[1], b, 0, Puffpop.shift(e));
      if (!Puffpop.held) Puffpop.capture = 0;
    },

    // Touch: a finger aims and shoots as the left button does, where it is; a second finger
    // while the first is down fires a smart bomb (the right button), and stops the first one's
    // shooting, since a shot in the same tick would keep the bomb from going off. A release comes
    // at least one tick after its press, so that even the shortest tap is a shot the game sees.
    touch: {aim: null, shooting: false, bomb: null, downAt: {}},
    tapTicks: 60,

    onTouch: function(w, e) {
      e.preventDefault();
      Puffpop.unlockAudio();
      var t = Puffpop.touch, k = Puffpop.kind;
      var release = function(id, x, y, button) {
        var wait = Math.max(0, Puffpop.tapTicks - (performance.now() - t.downAt[id]));
        setTimeout(function() { Puffpop.queue(k.up, w.id, x, y, button, 0, 0); }, wait);
      };
      for (var i = 0; i < e.changedTouches.length; ++i) {
        var touch = e.changedTouches[i], id = touch.identifier;
        var p = Puffpop.toClient(w, touch.clientX, touch.clientY);
        if (e.type === 'touchstart' && t.aim === null) {
          t.aim = id;
          t.shooting = true;
          t.downAt[id] = performance.now();
          Puffpop.queue(k.move, w.id, p[0], p[1], 0, 0, 0);
          Puffpop.queue(k.down, w.id, p[0], p[1], 1, 0, 0);
        } else if (e.type === 'touchstart' && t.bomb === null) {
          t.bomb = id;
          t.downAt[id] = performance.now();
          if (t.shooting) Puffpop.queue(k.up, w.id, p[0], p[1], 1, 0, 0);
          t.shooting = false;
          Puffpop.queue(k.down, w.id, p[0], p[1], 2, 0, 0);
        } else if (e.type === 'touchmove') {
          var held = (t.shooting ? 1 : 0) | (t.bomb !== null ? 2 : 0);
          if (id === t.aim) Puffpop.queue(k.move, w.id, p[0], p[1], held, 0, 0);
        } else if (e.type !== 'touchstart' && id === t.aim) {
          if (t.shooting) release(id, p[0], p[1], 1);
          t.aim = null;
          t.shooting = false;
        } else if (e.type !== 'touchstart' && id === t.bomb) {
          release(id, p[0], p[1], 2);
          t.bomb = null;
        }
      }
    },

    onKey: function(e) {
      if (Puffpop.ended || Puffpop.reporting) return;
      var key = Puffpop.keyCode(e), down = e.type === 'keydown';
      var character = down ? Puffpop.character(e) : 0;
      if (!key && !character) return;
      if (down) Puffpop.unlockAudio();
      // The game's keys stay the game's (Tab, Space, the arrows); the browser's shortcuts do not.
      if (!e.ctrlKey && !e.metaKey) e.preventDefault();
      if (key) Puffpop.queue(down ? Puffpop.kind.keyDown : Puffpop.kind.keyUp, 0, 0, 0, 0, key,
                             Puffpop.shift(e), e.repeat);
      if (character) Puffpop.queue(Puffpop.kind.character, 0, 0, 0, 0, character, 0, e.repeat);
    },

    // A WAV file's PCM samples (8 or 16 bits, any channels) into an AudioBuffer, at once: no
    // first cue waits for an asynchronous decoder. Anything else stays silent.
    decode: function(bytes) {
      var v = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      var text = function(at) { return String.fromCharCode(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]); };
      if (bytes.length < 12 || text(0) !== 'RIFF' || text(8) !== 'WAVE') return null;
      var format = null;
      for (var at = 12; at + 8 <= bytes.length;) {
        var id = text(at), size = v.getUint32(at + 4, true), body = at + 8;
        if (id === 'fmt ' && size >= 16) {
          format = {tag: v.getUint16(body, true), channels: v.getUint16(body + 2, true),
                    rate: v.getUint32(body + 4, true), bits: v.getUint16(body + 14, true)};
        } else if (id === 'data' && format) {
          if (format.tag !== 1 || (format.bits !== 8 && format.bits !== 16) || !format.channels) return null;
          var step = format.bits / 8 * format.channels;
          var frames = Math.floor(Math.min(size, bytes.length - body) / step);
          if (!frames) return null;
          var buffer = Puffpop.audio.createBuffer(format.channels, frames, format.rate);
          for (var c = 0; c < format.channels; ++c) {
            var out = buffer.getChannelData(c);
            for (var f = 0; f < frames; ++f) {
              var p = body + f * step + c * format.bits / 8;
              out[f] = format.bits === 8 ? (bytes[p] - 128) / 128 : v.getInt16(p, true) / 32768;
            }
          }
          return buffer;
        }
        at = body + size + (size & 1);
      }
      return null;
    },
  },

  puffpop_web_start__deps: ['$Puffpop'],
  puffpop_web_start: function() {
    Puffpop.desktop = document.getElementById('puffpop-desktop');
    Puffpop.layout();
    window.addEventListener('resize', Puffpop.layout);
    window.addEventListener('mousemove', Puffpop.onMouseMove);
    window.addEventListener('mouseup', Puffpop.onMouseUp);
    window.addEventListener('keydown', Puffpop.onKey);
    window.addEventListener('keyup', Puffpop.onKey);
    // Buttons held when the page loses the focus are released, as a desktop does.
    window.addEventListener('blur', Puffpop.releaseAll);
    // An error thrown in the page's side while the game waits on the browser ends the game there.
    window.addEventListener('error', function(e) { Puffpop.fail(e.message); });
    window.addEventListener('unhandledrejection', function(e) { Puffpop.fail(e.reason); });
  },

  puffpop_web_desktop_width: function() { return +Puffpop.desktop.dataset.width; },
  puffpop_web_desktop_height: function() { return +Puffpop.desktop.dataset.height; },

  puffpop_web_end: function(status) {
    if (Puffpop.ended) return;
    Puffpop.ended = true;
    if (Puffpop.playing) Puffpop.playing.stop();
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    if (Puffpop.desktop) Puffpop.desktop.hidden = true;
    Puffpop.stats.state = Puffpop.refused ? 'refused' : status ? 'failed' : 'ended';
    if (Puffpop.refused)
      Puffpop.panel('Puffpop is already open in another tab. Close it there, then play here.', 'Try again');
    else
      Puffpop.panel(status ? 'Puffpop has stopped.' : 'Puffpop has ended. Thanks for playing!', 'Play again');
  },

  puffpop_web_halt: function() {
    return Asyncify.handleSleep(function() {});
  },

  puffpop_web_wait: function(timeoutMs) {
    return Asyncify.handleSleep(function(wakeUp) {
      var timer = setTimeout(function() { Puffpop.wake = null; wakeUp(); }, timeoutMs);
      Puffpop.wake = function() { clearTimeout(timer); Puffpop.wake = null; wakeUp(); };
    });
  },

  puffpop_web_window_open: function(id, caption, width, height, titled, border, captionHeight) {
    var frame = document.createElement('div');
    frame.className = titled ? 'pp-window pp-titled' : 'pp-window';
    frame.hidden = true;
    frame.style.borderWidth = titled ? border + 'px' : '0';
    frame.style.width = width + 'px';  // the caption never widens the frame
    if (titled) {
      var bar = document.createElement('div');
      bar.className = 'pp-caption';
      bar.style.height = captionHeight + 'px';
      var text = document.createElement('span');
      text.textContent = UTF8ToString(caption);
      bar.appendChild(text);
      var close = document.createElement('button');
      close.className = 'pp-close';
      close.textContent = '\u00d7';
      close.addEventListener('click', function() { Puffpop.queue(Puffpop.kind.close, id, 0, 0, 0, 0, 0); });
      bar.appendChild(close);
      frame.appendChild(bar);
    }
    var canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    frame.appendChild(canvas);
    var w = {id: id, frame: frame, canvas: canvas, context: canvas.getContext('2d'),
             width: width, height: height, fullScreen: false};
    canvas.puffpopWindow = w;
    canvas.addEventListener('mousedown', function(e) { Puffpop.onMouseDown(w, e); });
    canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(type) {
      canvas.addEventListener(type, function(e) { Puffpop.onTouch(w, e); }, {passive: false});
    });
    Puffpop.windows[id] = w;
    Puffpop.fit(w);
    Puffpop.desktop.appendChild(frame);
  },

  puffpop_web_window_close: function(id) {
    var w = Puffpop.windows[id];
    if (!w) return;
    if (Puffpop.capture === id) Puffpop.capture = 0;
    w.frame.remove();
    delete Puffpop.windows[id];
  },

  puffpop_web_window_move: function(id, x, y) {
    var w = Puffpop.windows[id];
    w.frame.style.left = x + 'px';
    w.frame.style.top = y + 'px';
  },

  puffpop_web_window_show: function(id, shown) {
    Puffpop.windows[id].frame.hidden = !shown;
  },

  // Full screen in the page at once (letterboxed over everything), and the browser's own full
  // screen as well where it grants it: it does within a moment of a click or key, which the
  // START press is. Leaving the browser's full screen leaves the game playing in the page.
  puffpop_web_window_full_screen: function(id, on) {
    var w = Puffpop.windows[id];
    w.fullScreen = !!on;
    w.frame.classList.toggle('pp-full-screen', w.fullScreen);
    // Out of the desktop, which may be scaled down (a phone), to cover the viewport itself.
    (w.fullScreen ? document.body : Puffpop.desktop).appendChild(w.frame);
    Puffpop.fit(w);
    if (on && w.frame.requestFullscreen && !document.fullscreenElement)
      w.frame.requestFullscreen().catch(function() {});
    else if (!on && document.fullscreenElement)
      document.exitFullscreen().catch(function() {});
  },

  // Puts the changed rectangles (x, y, width, height each) of the picture into the canvas.
  puffpop_web_window_present: function(id, rgba, width, height, rects, count) {
    var w = Puffpop.windows[id];
    if (!w) return;
    if (count > 0) {
      // A fresh view each time: the heap's buffer changes when memory grows.
      var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
      var image = new ImageData(pixels, width, height);
      for (var i = 0, r = rects >> 2; i < count; i++, r += 4)
        w.context.putImageData(image, 0, 0, HEAP32[r], HEAP32[r + 1], HEAP32[r + 2], HEAP32[r + 3]);
    }
    var stats = Puffpop.stats;
    stats.presents++;
    if (stats.presentTimes.push(performance.now()) > 4096) stats.presentTimes.splice(0, 2048);
  },

  puffpop_web_pointer: function(shown) {
    Puffpop.desktop.classList.toggle('pp-no-pointer', !shown);
  },

  puffpop_web_sound_prepare: function() {
    if (Puffpop.audio) return;
    var Context = window.AudioContext || window.webkitAudioContext;
    try {
      if (Context) Puffpop.audio = new Context();
    } catch (e) {
      Puffpop.audio = null;  // no device: every cue is silence
    }
  },

  puffpop_web_sound_known: function(path) {
    return UTF8ToString(path) in Puffpop.cues ? 1 : 0;
  },

  puffpop_web_sound_play: function(path, bytes, size) {
    var name = UTF8ToString(path), audio = Puffpop.audio;
    // Before the player's first click or key the browser keeps audio from starting: such a cue
    // is silence now, not a late one when the audio starts.
    if (!audio || (audio.state !== 'running' && !Puffpop.activated())) return 0;
    if (!(name in Puffpop.cues)) Puffpop.cues[name] = Puffpop.decode(HEAPU8.slice(bytes, bytes + size));
    var buffer = Puffpop.cues[name];
    if (!buffer) return 0;
    var previous = Puffpop.playing;
    if (previous) {
      previous.onended = null;  // a cut-off cue must not end the one that replaces it
      previous.stop();
    }
    var source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.onended = function() { if (Puffpop.playing === source) Puffpop.playing = null; };
    source.start();
    Puffpop.playing = source;
    Puffpop.stats.cues.push(name.substring(name.lastIndexOf('/') + 1));
    return 1;
  },

  puffpop_web_sound_wait: function(limitMs) {
    return Asyncify.handleAsync(async function() {
      var audio = Puffpop.audio, source = Puffpop.playing;
      if (!audio || !source) return;
      var sleep = function(ms) { return new Promise(function(done) { setTimeout(done, ms); }); };
      // Audio the browser has not let start yet may be starting from this very click; if it
      // does not within a moment, the page is silent and the game goes on.
      if (audio.state !== 'running') await Promise.race([audio.resume(), sleep(250)]);
      if (audio.state !== 'running') return;
      var heard = new Promise(function(done) { source.addEventListener('ended', done); });
      await Promise.race([heard, sleep(Math.min(limitMs, source.buffer.duration * 1000 + 250))]);
    });
  },

  puffpop_web_inflate: function(packed, packedSize, out, size) {
    return Asyncify.handleAsync(async function() {
      if (typeof DecompressionStream === 'undefined') return 0;
      var gzip = new Blob([HEAPU8.slice(packed, packed + packedSize)]);
      try {
        var inflated = gzip.stream().pipeThrough(new DecompressionStream('gzip'));
        var bytes = new Uint8Array(await new Response(inflated).arrayBuffer());
      } catch (e) {
        return 0;  // not gzip: a damaged download
      }
      if (bytes.length !== size) return 0;
      HEAPU8.set(bytes, out);  // the heap as it is now: memory may have grown meanwhile
      return 1;
    });
  },

  puffpop_web_lock_taken: function() {
    return Asyncify.handleAsync(async function() {
      if (!navigator.locks) return 0;  // no Web Locks (an insecure origin): nothing to share
      return await new Promise(function(answer) {
        navigator.locks.request('puffpop', {ifAvailable: true}, function(lock) {
          if (!lock) {
            Puffpop.refused = true;
            answer(1);
            return;
          }
          answer(0);
          return new Promise(function() {});  // held as long as the page is open
        });
      });
    });
  },

  puffpop_web_report: function(title, message) {
    return Asyncify.handleSleep(function(wakeUp) {
      Puffpop.report(UTF8ToString(title), UTF8ToString(message), wakeUp);
    });
  },
};

// A failure before the game runs is the WebAssembly's: missing, damaged, or refused by the browser.
LibraryPuffpop.$Puffpop__postset = 'window.puffpop = Puffpop.stats;' +
  'Module["onAbort"] = function(what) {' +
  '  what = String(what).replace(/ Build with .*$/, "");' +
  '  Puffpop.fail(runtimeInitialized ? what : "Cannot start the game from puffpop.wasm: " + what);' +
  '};';
LibraryPuffpop.$Puffpop__deps = ['puffpop_web_end'];
autoAddDeps(LibraryPuffpop, '$Puffpop');
mergeInto(LibraryManager.library, LibraryPuffpop);
