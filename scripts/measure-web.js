// Measures gravisk.html in Debian's headless Chromium through the DevTools
// protocol: navigation start to the first full frame, a key to its redrawn canvas,
// on an emulated phone with the CPU slowed 4 times the start and a touch on an
// arrow to its painted redraw, the page's CPU in idle seconds, a game controller's
// (idle with and without one, a D-pad press to its redraw), memory after many
// reloads, and the web app beside it (webapp/): its zip's size, its first and
// offline visits. Prints one table.
// usage: node scripts/measure-web.js PAGE   (RUNS, IDLE, KEYS, TOUCHES, PRESSES, RELOADS from the environment)
'use strict';
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
// The same Chromium, started the same way, and the same web host as the browser tests use.
const {launch, serve, fakeGamepads} = require('../tests/web/lib.js');

const page = path.resolve(process.argv[2] || 'build/web/gravisk.html');
const RUNS = Number(process.env.RUNS || 5);
const IDLE = Number(process.env.IDLE || 10);
const KEYS = Number(process.env.KEYS || 400);
const TOUCHES = Number(process.env.TOUCHES || 100);
// A mid-range phone: Chromium's CPU throttling at 4 on a 390 x 844 touch screen.
const THROTTLE = 4;
const PHONE = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const RELOADS = Number(process.env.RELOADS || 1000);

const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const quantile = (v, q) => [...v].sort((a, b) => a - b)[Math.min(v.length - 1, Math.floor(q * v.length))];

// Notes when the canvas first receives the whole client area, and the next frame after it.
function watchFirstFrame() {
  const put = CanvasRenderingContext2D.prototype.putImageData;
  window.firstFrame = null;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (window.firstFrame === null && args[5] === 402 && args[6] === 201) {
      window.firstFrame = {drawn: performance.now()};
      requestAnimationFrame(() => { window.firstFrame.frame = performance.now(); });
    }
  };
}

async function metrics(client) {
  const {metrics: list} = await client.send('Performance.getMetrics');
  return Object.fromEntries(list.map((m) => [m.name, m.value]));
}

// The web app in `dir`: the size of its zip (made as the release makes it), and,
// served on 127.0.0.1 with the CPU slowed down 4 times as on a modest phone, a
// first visit and a visit with the server gone, each to the first full frame.
async function webAppRows(browser, dir) {
  const rows = [];
  const zip = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gravisk-zip-')), 'web.zip');
  const names = fs.readdirSync(dir).sort();
  execFileSync('zip', ['-X', '-D', '-9', '-q', zip, ...names], {cwd: dir});
  rows.push(['web app zip size', `${(fs.statSync(zip).size / 1024).toFixed(1)} KiB`, '< 150 KB']);
  fs.rmSync(path.dirname(zip), {recursive: true});

  const server = await serve(dir, '/gravisk/');
  const visit = async (context) => {
    const tab = await context.newPage();
    const client = await tab.target().createCDPSession();
    await client.send('Emulation.setCPUThrottlingRate', {rate: 4});
    await tab.evaluateOnNewDocument(watchFirstFrame);
    await tab.goto(server.url);
    await tab.waitForFunction(() => window.firstFrame && window.firstFrame.frame, {timeout: 60000});
    const t = await tab.evaluate(() => window.firstFrame.frame);
    // Kept for the next visit once the service worker controls the page.
    await tab.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 60000});
    await tab.close();
    return t;
  };
  // Each player a fresh profile of their own.
  const contexts = [];
  for (let i = 0; i < RUNS; ++i) contexts.push(await browser.createBrowserContext());
  const first = [];
  for (const context of contexts) first.push(await visit(context));
  await server.close();
  const offline = [];
  for (const context of contexts) offline.push(await visit(context));
  for (const context of contexts) await context.close();
  rows.push(['web app, CPU 4x slower: first visit to first frame', `${median(first).toFixed(0)} ms`, '']);
  rows.push([`  ... a visit with the server gone (medians of ${RUNS})`, `${median(offline).toFixed(0)} ms`, '']);
  return rows;
}

// Touches held on `points` in turn, each until the frame after it has been
// painted (a task posted from requestAnimationFrame runs once that frame is out):
// from the touch event's creation to the first pointerdown listener (the
// browser's delivery), through the page's listeners, and from there to the frame.
async function touchTimes(tab, client, points) {
  await tab.evaluate(() => {
    window.touchTimes = [];
    let times = null;
    window.addEventListener('pointerdown', (e) => {
      times = {start: performance.now(), delivered: performance.now() - e.timeStamp};
    }, true);
    window.addEventListener('pointerdown', () => {
      const done = times;
      done.handled = performance.now() - done.start;
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
          done.painted = performance.now() - done.start;
          window.touchTimes.push(done);
        };
        channel.port2.postMessage(0);
      });
    });
  });
  for (let i = 0; i < TOUCHES; ++i) {
    await client.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [points[i % points.length]]});
    await tab.waitForFunction((n) => window.touchTimes.length > n, {}, i);
    await client.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  }
  const times = await tab.evaluate(() => window.touchTimes);
  const figure = (key, digits) => {
    const v = times.map((t) => t[key]);
    return `${median(v).toFixed(digits)} ms, ${quantile(v, 0.95).toFixed(digits)} ms`;
  };
  return {delivered: figure('delivered', 1), handled: figure('handled', 2), painted: figure('painted', 1)};
}

// A game controller. With no pad, the whole browser's CPU and context switches in
// IDLE seconds, beside an empty page's with and without a gamepadconnected listener.
// The page in IDLE seconds with the tests' fake Gamepad API and no pad, then with a
// pad connected and untouched (the page polls it once a frame): main-thread tasks,
// script, and the frame callbacks and timers that ran; then PRESSES D-pad presses
// (Right and Left in turn, each at a random point of a frame) from the pad's change
// to the canvas redrawn and to the browser frame that shows it.
const PRESSES = Number(process.env.PRESSES || 200);

// The CPU time (ms) and context switches so far of process `pid` and all below it.
function processTreeUsage(pid) {
  const usage = {ms: 0, switches: 0};
  const visit = (p) => {
    try {
      const stat = fs.readFileSync(`/proc/${p}/stat`, 'utf8').split(') ')[1].split(' ');
      usage.ms += (Number(stat[11]) + Number(stat[12])) * 1000 / 100;  // utime, stime in 1/100 s
      for (const task of fs.readdirSync(`/proc/${p}/task`)) {
        const status = fs.readFileSync(`/proc/${p}/task/${task}/status`, 'utf8');
        usage.switches += Number(/\nvoluntary_ctxt_switches:\s+(\d+)/.exec(status)[1]) +
            Number(/nonvoluntary_ctxt_switches:\s+(\d+)/.exec(status)[1]);
        const children = fs.readFileSync(`/proc/${p}/task/${task}/children`, 'utf8').trim();
        for (const child of children ? children.split(/\s+/) : []) visit(Number(child));
      }
    } catch {
      // A process that ended meanwhile.
    }
  };
  visit(pid);
  return usage;
}

// A browser of its own for `url` alone: all its processes' CPU and context switches
// in IDLE seconds, once it has settled.
async function browserIdle(url) {
  const browser = await launch();
  try {
    const tab = await browser.newPage();
    await tab.goto(url);
    await new Promise((r) => setTimeout(r, 3000));
    const before = processTreeUsage(browser.process().pid);
    await new Promise((r) => setTimeout(r, IDLE * 1000));
    const after = processTreeUsage(browser.process().pid);
    return `${(after.ms - before.ms).toFixed(0)} ms, ${after.switches - before.switches}`;
  } finally {
    await browser.close();
  }
}

async function padRows(browser) {
  const rows = [];
  const gamePage = await browserIdle('file://' + page);
  const emptyPage = await browserIdle('data:text/html,<!doctype html><title>-</title>');
  const listening = await browserIdle('data:text/html,<!doctype html><title>-</title>' +
      '<script>addEventListener("gamepadconnected", function () {});</script>');
  rows.push([`no pad: the whole browser's CPU, context switches in ${IDLE} idle s`, gamePage, ''],
      ['  ... the same with an empty page', emptyPage, ''],
      ['  ... with an empty page that listens for gamepadconnected', listening, '']);
  const tab = await browser.newPage();
  await tab.evaluateOnNewDocument(fakeGamepads);
  await tab.goto('file://' + page);
  await tab.waitForFunction(() => graviskPage.game !== 0);
  const client = await tab.target().createCDPSession();
  await client.send('Performance.enable');
  for (const connected of [false, true]) {
    if (connected) await tab.evaluate(() => fakeGamepads.connect(0));
    await new Promise((r) => setTimeout(r, 2000));
    await tab.evaluate(() => fakeGamepads.reset());
    const before = await metrics(client);
    await new Promise((r) => setTimeout(r, IDLE * 1000));
    const after = await metrics(client);
    const ran = await tab.evaluate(() => fakeGamepads.ran);
    const ms = (key) => ((after[key] - before[key]) * 1000).toFixed(1);
    rows.push([`${connected ? 'a pad connected, untouched' : 'no pad'}: ${IDLE} idle seconds' tasks, script`,
      `${ms('TaskDuration')} ms, ${ms('ScriptDuration')} ms`, connected ? '' : '0 ms'],
    ['  ... frame callbacks, timers that ran', `${ran.frames}, ${ran.timers}`, connected ? '' : '0, 0']);
  }

  // What a frame loop costs by itself: an empty page asking for every frame.
  const loop = await browser.newPage();
  await loop.goto('data:text/html,<!doctype html><title>-</title><script>' +
      'requestAnimationFrame(function frame() { requestAnimationFrame(frame); });</script>');
  const loopClient = await loop.target().createCDPSession();
  await loopClient.send('Performance.enable');
  await new Promise((r) => setTimeout(r, 2000));
  const loopBefore = await metrics(loopClient);
  await new Promise((r) => setTimeout(r, IDLE * 1000));
  const loopAfter = await metrics(loopClient);
  await loop.close();
  rows.push(['  ... an empty page with an empty frame loop: tasks, script',
    `${((loopAfter.TaskDuration - loopBefore.TaskDuration) * 1000).toFixed(1)} ms, ` +
    `${((loopAfter.ScriptDuration - loopBefore.ScriptDuration) * 1000).toFixed(1)} ms`, '']);

  await tab.evaluate(() => {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      put.apply(this, args);
      window.drawn = performance.now();
    };
    const button = Module._gravisk_pad_button;
    Module._gravisk_pad_button = (...args) => {
      window.polled = window.polled || performance.now();
      return button(...args);
    };
  });
  const times = [];
  for (let i = 0; i < PRESSES; ++i) {
    times.push(await tab.evaluate(async (dpad) => {
      await new Promise((r) => setTimeout(r, Math.random() * 17));
      window.drawn = window.polled = 0;
      const start = performance.now();
      await fakeGamepads.press(0, dpad);
      const t = {drawn: window.drawn - start, handled: window.drawn - window.polled};
      // The poll ran in a frame's callbacks: a task posted now runs once that frame is out.
      await new Promise((r) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = r;
        channel.port2.postMessage(0);
      });
      t.frame = performance.now() - start;
      await fakeGamepads.release(0, dpad);
      return t;
    }, i % 2 ? 14 : 15));
  }
  await tab.close();
  const figure = (key, digits) => {
    const v = times.map((t) => t[key]);
    return `${median(v).toFixed(digits)} ms, ${quantile(v, 0.95).toFixed(digits)} ms`;
  };
  rows.push([`a D-pad press to its redrawn canvas (median, p95 of ${PRESSES})`, figure('drawn', 1), ''],
  ['  ... of which the game, from the poll that saw it', figure('handled', 3), '<= 1 ms'],
  ['  ... to the painted frame that shows it', figure('frame', 1), '']);
  return rows;
}

// Opens a tab as the phone, its CPU slowed.
async function phoneTab(browser) {
  const tab = await browser.newPage();
  await tab.setViewport(PHONE);
  const client = await tab.createCDPSession();
  await client.send('Emulation.setCPUThrottlingRate', {rate: THROTTLE});
  return {tab, client};
}

async function main() {
  const browser = await launch();
  const rows = [];
  try {
    const size = fs.statSync(page).size;
    const gz = require('node:zlib').gzipSync(fs.readFileSync(page), {level: 9}).length;
    rows.push(['gravisk.html size', `${(size / 1024).toFixed(1)} KiB`, '<= 250 KB']);
    rows.push(['gravisk.html gzipped (gzip -9)', `${(gz / 1024).toFixed(1)} KiB`, '<= 100 KB']);

    // RUNS starts in fresh tabs from `open`; `last` gets the last one before it closes.
    const firstFrames = async (open, last) => {
      const drawn = [];
      const framed = [];
      for (let i = 0; i < RUNS; ++i) {
        const {tab, client} = await open();
        await tab.evaluateOnNewDocument(watchFirstFrame);
        await tab.goto('file://' + page);
        await tab.waitForFunction(() => window.firstFrame && window.firstFrame.frame);
        const t = await tab.evaluate(() => window.firstFrame);
        drawn.push(t.drawn);
        framed.push(t.frame);
        if (last && i === RUNS - 1) await last(tab, client);
        await tab.close();
      }
      return [`${median(drawn).toFixed(1)} ms`, `${median(framed).toFixed(1)} ms`];
    };
    const [drawn, framed] = await firstFrames(async () => ({tab: await browser.newPage()}));
    rows.push([`navigation start to first full canvas (median of ${RUNS})`, drawn, '<= 100 ms']);
    rows.push(['  ... to the browser frame that shows it', framed, '']);
    const empty = [];
    for (let i = 0; i < RUNS; ++i) {
      const tab = await browser.newPage();
      await tab.goto('data:text/html,<!doctype html><title>-</title>');
      empty.push(await tab.evaluate(() => performance.getEntriesByType('navigation')[0].domInteractive));
      await tab.close();
    }
    rows.push(['  ... an empty page, navigation start to DOM ready', `${median(empty).toFixed(1)} ms`, '']);

    // The phone: the start, then touches on Right and Left in turn, each held
    // until the frame after its redraw has been painted, as a finger would be.
    let touch = null;
    const [slowDrawn, slowFramed] = await firstFrames(() => phoneTab(browser), async (tab, client) => {
      // Right and Left in turn: the hero walks to and fro.
      const arrows = await tab.evaluate(() => ['Right', 'Left'].map((name) => {
        const r = document.querySelector(`#controls [aria-label="${name}"]`).getBoundingClientRect();
        return {x: r.left + r.width / 2, y: r.top + r.height / 2};
      }));
      touch = await touchTimes(tab, client, arrows);
    });
    const {tab: emptyTab, client: emptyClient} = await phoneTab(browser);
    await emptyTab.goto('data:text/html,<!doctype html><title>-</title><button>-</button>');
    const emptyTouch = await touchTimes(emptyTab, emptyClient, [{x: 10, y: 10}]);
    await emptyTab.close();
    rows.push([`phone, CPU ${THROTTLE}x slower: navigation start to first canvas (median)`, slowDrawn, ''],
    ['  ... to the browser frame that shows it', slowFramed, ''],
    [`phone: a touch on an arrow, the game's handler (median, p95 of ${TOUCHES})`, touch.handled, ''],
    ['  ... from the handler to its painted frame, finger still down', touch.painted, '<= 16 ms'],
    ['  ... before it, the touch\'s delivery to the page', touch.delivered, ''],
    ['  ... an empty page: a touch\'s delivery, to its next frame', `${emptyTouch.delivered}; ${emptyTouch.painted}`, '']);

    const tab = await browser.newPage();
    await tab.goto('file://' + page);
    await tab.waitForFunction(() => graviskPage.game !== 0);
    const client = await tab.target().createCDPSession();
    await client.send('Performance.enable');

    // Idle: the renderer's main-thread work while nobody presses a key, once the
    // start has settled, and the same for an empty page beside it (what the
    // browser does on its own).
    await new Promise((r) => setTimeout(r, 2000));
    const idleTasks = async (session) => {
      const before = await metrics(session);
      await new Promise((r) => setTimeout(r, IDLE * 1000));
      const after = await metrics(session);
      return [(after.TaskDuration - before.TaskDuration) * 1000,
        (after.ScriptDuration - before.ScriptDuration) * 1000];
    };
    const [tasks, script] = await idleTasks(client);
    const blank = await browser.newPage();
    await blank.goto('about:blank');
    const blankClient = await blank.target().createCDPSession();
    await blankClient.send('Performance.enable');
    const [blankTasks] = await idleTasks(blankClient);
    await blank.close();
    rows.push([`page CPU in ${IDLE} idle seconds: main-thread tasks, script`,
      `${tasks.toFixed(1)} ms, ${script.toFixed(1)} ms`, '0 ms']);
    rows.push(['  ... an empty page\'s main-thread tasks meanwhile', `${blankTasks.toFixed(1)} ms`, '']);
    rows.push(...await padRows(browser));

    // A key: the game's handler alone (from a capturing listener before it to one
    // after it), from the event's creation to the end of that handler, and to the
    // next browser frame. Right and Left walk to and fro.
    await tab.evaluate(() => {
      window.keyTimes = [];
      let entry = null;
      window.addEventListener('keydown', (e) => {
        entry = {start: performance.now(), created: e.timeStamp};
      }, true);
      window.addEventListener('keydown', () => {
        const now = performance.now();
        const done = {handler: now - entry.start, handled: now - entry.created};
        window.keyTimes.push(done);
        requestAnimationFrame(() => { done.frame = performance.now() - entry.created; });
      });
    });
    for (let i = 0; i < KEYS; ++i) {
      await tab.keyboard.press(i % 2 ? 'ArrowLeft' : 'ArrowRight');
      await tab.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0))));
    }
    const keys = await tab.evaluate(() => window.keyTimes);
    const handler = keys.map((k) => k.handler);
    const handled = keys.map((k) => k.handled);
    rows.push([`key: the game's handler, canvas redrawn (median, p95 of ${KEYS})`,
      `${median(handler).toFixed(3)} ms, ${quantile(handler, 0.95).toFixed(3)} ms`, '<= 1 ms']);
    rows.push(['  ... from the key event\'s creation (median, p95)',
      `${median(handled).toFixed(2)} ms, ${quantile(handled, 0.95).toFixed(2)} ms`, '']);
    rows.push(['  ... to the browser frame that shows it (median)',
      `${median(keys.map((k) => k.frame)).toFixed(1)} ms`, '']);

    // Reloads: R rebuilds the window and the board each time.
    const memory = async () => {
      await client.send('HeapProfiler.collectGarbage');
      const m = await metrics(client);
      const wasm = await tab.evaluate(() => HEAP8.length);
      return {js: m.JSHeapUsedSize, nodes: m.Nodes, wasm};
    };
    const start = await memory();
    for (let i = 0; i < RELOADS; ++i) await tab.keyboard.press('KeyR');
    const end = await memory();
    const kib = (v) => `${(v / 1024).toFixed(0)} KiB`;
    rows.push([`JS heap before / after ${RELOADS} reloads`, `${kib(start.js)} / ${kib(end.js)}`,
      'flat']);
    rows.push([`WebAssembly memory before / after`, `${kib(start.wasm)} / ${kib(end.wasm)}`, 'flat']);
    rows.push([`DOM nodes before / after`, `${start.nodes} / ${end.nodes}`, 'flat']);

    const app = path.join(path.dirname(page), 'webapp');
    if (fs.existsSync(app)) rows.push(...await webAppRows(browser, app));
  } finally {
    await browser.close();
  }
  console.log(`Browser figures (headless ${process.env.CHROMIUM || '/usr/bin/chromium'})`);
  for (const [label, value, aim] of rows) console.log(`${label.padEnd(66)} ${value.padStart(24)}  ${aim}`);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
