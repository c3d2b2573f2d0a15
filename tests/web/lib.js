// What the browser tests share: Debian's Chromium started headless with a fresh
// profile and no way to download anything, driven over a pipe, gravisk.html opened
// from disk, the canvas read back, and the pictures of the headless game to compare
// it with; a fake of the Gamepad API for the controller tests; what a screen reader
// gets (Chromium's accessibility tree, axe-core's checks) and the headless game's
// sentences to compare it with.
'use strict';
const assert = require('node:assert');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

// Set by CTest: the page, the fault probe page, the web app folder and the Linux
// build's headless game.
const PAGE = process.env.GRAVISK_PAGE;
const WEBAPP = process.env.GRAVISK_WEBAPP;
const PROBE = process.env.GRAVISK_PROBE;
const HEADLESS = process.env.GRAVISK_HEADLESS;
const WIDTH = 402;
const HEIGHT = 201;

// Level 3's winning keys, from the list every suite plays; the last steps onto the door.
const SOLUTION = fs.readFileSync(path.join(__dirname, '../support/level_solutions.txt'), 'utf8')
    .split('\n').find((line) => line.startsWith('3 ')).split(' ').slice(1);

// Each level's winning keys, by level number.
const SOLUTIONS = Object.fromEntries(
    fs.readFileSync(path.join(__dirname, '../support/level_solutions.txt'), 'utf8').split('\n')
        .filter((line) => /^\d+ /.test(line)).map((line) => [line.split(' ')[0], line.split(' ').slice(1)]));

// The headless game's key names as the browser's key names.
const BROWSER_KEY = {Left: 'ArrowLeft', Up: 'ArrowUp', Right: 'ArrowRight', Down: 'ArrowDown',
  R: 'KeyR', F1: 'F1', F2: 'F2', P: 'KeyP', H: 'KeyH'};

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'gravisk-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    // DevTools over a pipe, not a port: the tests need no network, not even loopback.
    pipe: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return browser;
}

// Opens a page from disk with the network off; every request that is not the
// file itself or inline data fails the test. Console errors are collected.
async function open(browser, file, {hash = '', viewport = {width: 800, height: 600}, pads = false} = {}) {
  const page = await browser.newPage();
  if (pads) await page.evaluateOnNewDocument(fakeGamepads);
  await page.setViewport(viewport);
  await page.setOfflineMode(true);
  page.foreignRequests = [];
  page.consoleErrors = [];
  page.on('request', (r) => {
    if (!/^(file|data|blob):/.test(r.url())) page.foreignRequests.push(r.url());
  });
  page.on('console', (m) => { if (m.type() === 'error') page.consoleErrors.push(m.text()); });
  await page.goto('file://' + path.resolve(file) + hash);
  await page.waitForFunction(() => typeof graviskPage === 'object' &&
      (graviskPage.game !== 0 || graviskPage.boxOpen), {timeout: 20000});
  return page;
}

// Put into a page before its own script (open's `pads`): the Gamepad API faked, as
// the DevTools protocol has none, and the page's frame callbacks and timers counted.
// window.fakeGamepads connects, changes and takes away pads of the standard layout
// (4 slots), hides and shows the page, and tells what ran and what is pending.
function fakeGamepads() {
  const raf = window.requestAnimationFrame.bind(window);
  const caf = window.cancelAnimationFrame.bind(window);
  const setTimer = window.setTimeout.bind(window);
  const clearTimer = window.clearTimeout.bind(window);
  const setRepeating = window.setInterval.bind(window);
  // Callbacks run since the last reset, and those asked for and not yet run.
  const ran = {frames: 0, timers: 0};
  const pending = {frames: new Set(), timers: new Set()};
  window.requestAnimationFrame = (callback) => {
    const id = raf((t) => {
      pending.frames.delete(id);
      ++ran.frames;
      callback(t);
    });
    pending.frames.add(id);
    return id;
  };
  window.cancelAnimationFrame = (id) => {
    pending.frames.delete(id);
    caf(id);
  };
  window.setTimeout = (callback, ms, ...args) => {
    const id = setTimer(() => {
      pending.timers.delete(id);
      ++ran.timers;
      callback(...args);
    }, ms);
    pending.timers.add(id);
    return id;
  };
  window.setInterval = (callback, ms, ...args) => {
    const id = setRepeating(() => {
      ++ran.timers;
      callback(...args);
    }, ms);
    pending.timers.add(id);
    return id;
  };
  window.clearTimeout = window.clearInterval = (id) => {
    pending.timers.delete(id);
    clearTimer(id);
  };

  const slots = [null, null, null, null];
  let hidden = false;
  let reads = [];  // what waits for the page's next look at the pads
  Object.defineProperty(Navigator.prototype, 'getGamepads', {configurable: true, value: () => {
    const waiting = reads;
    reads = [];
    waiting.forEach((resolve) => resolve());
    // A snapshot, as browsers give.
    return slots.map((pad) => pad && {...pad, axes: [...pad.axes], buttons: pad.buttons.map((b) => ({...b}))});
  }});
  Object.defineProperty(Document.prototype, 'hidden', {configurable: true, get: () => hidden});
  Object.defineProperty(Document.prototype, 'visibilityState', {configurable: true,
    get: () => (hidden ? 'hidden' : 'visible')});
  // GamepadEvent takes only a real Gamepad: a plain event carries the fake.
  const dispatch = (type, pad) => {
    const event = new Event(type);
    Object.defineProperty(event, 'gamepad', {value: pad});
    window.dispatchEvent(event);
  };
  // Resolves once the page has looked at the pads after a change; fails after 5 s.
  const read = () => new Promise((resolve, reject) => {
    const timer = setTimer(() => reject(new Error('the page did not read the pads')), 5000);
    reads.push(() => {
      clearTimer(timer);
      resolve();
    });
  });
  const change = (index, button, pressed) => {
    window.fakeGamepads.set(index, button, pressed);
    return read();
  };
  window.fakeGamepads = {
    connect: (index) => {
      slots[index] = {id: `Fake pad ${index} (STANDARD GAMEPAD)`, index, connected: true, mapping: 'standard',
        timestamp: performance.now(), axes: [0, 0, 0, 0],
        buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
      dispatch('gamepadconnected', slots[index]);
    },
    disconnect: (index) => {
      const pad = slots[index];
      slots[index] = null;
      pad.connected = false;
      dispatch('gamepaddisconnected', pad);
    },
    // A button changed, unseen (on a hidden page).
    set: (index, button, pressed) => {
      slots[index].buttons[button] = {pressed, touched: pressed, value: pressed ? 1 : 0};
    },
    press: (index, button) => change(index, button, true),
    release: (index, button) => change(index, button, false),
    // Each button pressed and let go in turn, each change seen by the page.
    tap: async (index, buttons) => {
      for (const button of buttons) {
        await change(index, button, true);
        await change(index, button, false);
      }
    },
    stick: (index, x, y) => {
      slots[index].axes[0] = x;
      slots[index].axes[1] = y;
      return read();
    },
    hide: (hide) => {
      hidden = hide;
      document.dispatchEvent(new Event('visibilitychange'));
    },
    ran,
    pending: () => ({frames: pending.frames.size, timers: pending.timers.size}),
    reset: () => {
      ran.frames = ran.timers = 0;
    },
    // Resolves after `n` of the browser's frames, itself uncounted.
    frames: (n) => new Promise((resolve) => {
      const next = () => (n-- > 0 ? raf(next) : resolve());
      next();
    }),
  };
}

async function press(page, keys) {
  for (const key of keys) await page.keyboard.press(BROWSER_KEY[key] || key);
}

// The canvas as RGB bytes, rows top to bottom.
async function canvasRgb(page) {
  const b64 = await page.evaluate(() => {
    const c = document.getElementById('client');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < data.length; i += 4) s += String.fromCharCode(data[i], data[i + 1], data[i + 2]);
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}

// A PNG (base64) as RGB bytes, decoded by the browser itself.
async function decodePng(page, b64) {
  const out = await page.evaluate(async (data) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + data;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.naturalWidth;
    c.height = img.naturalHeight;
    const context = c.getContext('2d');
    context.drawImage(img, 0, 0);
    const pixels = context.getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < pixels.length; i += 4) {
      s += String.fromCharCode(pixels[i], pixels[i + 1], pixels[i + 2]);
    }
    return {width: c.width, height: c.height, b64: btoa(s)};
  }, b64);
  return {width: out.width, height: out.height, rgb: Buffer.from(out.b64, 'base64')};
}

// The headless game after `keys`: its picture as RGB bytes and what it printed.
function headless(keys) {
  const out = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gravisk-headless-')), 'p.ppm');
  const text = execFileSync(HEADLESS, ['--out', out, ...keys], {encoding: 'utf8'});
  const ppm = fs.readFileSync(out);
  fs.rmSync(path.dirname(out), {recursive: true, force: true});
  const header = `P6\n${WIDTH} ${HEIGHT}\n255\n`;
  assert.strictEqual(ppm.subarray(0, header.length).toString('latin1'), header);
  return {rgb: ppm.subarray(header.length), text};
}

// Fails with the first differing pixel unless the canvas shows the headless
// game's picture after `keys`.
async function expectPicture(page, keys, label) {
  const want = headless(keys).rgb;
  const got = await canvasRgb(page);
  assert.strictEqual(got.length, want.length, `${label}: canvas size`);
  for (let i = 0; i < want.length; i += 3) {
    if (got[i] !== want[i] || got[i + 1] !== want[i + 1] || got[i + 2] !== want[i + 2]) {
      const p = i / 3;
      const hex = (b, j) => [...b.subarray(j, j + 3)].map((v) => v.toString(16).padStart(2, '0')).join('');
      assert.fail(`${label}: pixel (${p % WIDTH}, ${Math.floor(p / WIDTH)}) is #${hex(got, i)}, ` +
          `the headless game after [${keys.join(' ')}] has #${hex(want, i)}`);
    }
  }
}

// The headless game's sentences for a screen reader: one {key, sentence, box} for the
// start and for each of `keys` (box: the key won, and the sentence is the next level's,
// said once the box has closed).
function sayings(keys) {
  const text = execFileSync(HEADLESS, ['--say', ...keys], {encoding: 'utf8'});
  const said = [];
  let box = false;
  for (const line of text.split('\n')) {
    if (line.startsWith('message ')) box = true;
    const m = /^say ([^:]*): (.*)$/.exec(line);
    if (!m) continue;
    said.push({key: m[1], sentence: m[2], box});
    box = false;
  }
  assert.strictEqual(said.length, keys.length + 1, text);
  return said;
}

// The board's cell names as the headless game reads its rows out after `keys`: 8
// rows of 16, runs of one kind ("5 grass") spelt out.
function boardNames(keys) {
  const rows = sayings([...keys, ...[1, 2, 3, 4, 5, 6, 7, 8].map((n) => `Digit${n}`)]).slice(-8);
  return rows.map(({sentence}) => sentence.replace(/^Row \d: /, '').replace(/\.$/, '').split(', ')
      .flatMap((run) => {
        const m = /^(\d+) (.*)$/.exec(run);
        return m ? Array(Number(m[1])).fill(m[2]) : [run];
      }));
}

// Chromium's accessibility tree, what a screen reader is given (read it after each
// key: the DevTools protocol sends no event when a live region changes). Nodes a
// screen reader sees, nested, in reading order: {role, name, description, props,
// children}; text(node) is the text inside a node.
async function axTree(page) {
  if (!page.axSession) {
    page.axSession = await page.createCDPSession();
    await page.axSession.send('Accessibility.enable');
  }
  const {nodes} = await page.axSession.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const build = (n, into) => {
    let node = null;
    if (!n.ignored) {
      node = {role: n.role && n.role.value, name: (n.name && n.name.value) || '',
        description: (n.description && n.description.value) || '',
        props: Object.fromEntries((n.properties || []).map((p) => [p.name, p.value.value])), children: []};
      into.push(node);
    }
    for (const id of n.childIds || []) if (byId.has(id)) build(byId.get(id), node ? node.children : into);
  };
  const roots = [];
  build(nodes[0], roots);
  return roots[0];
}

// Every node of the tree, depth first: the order in which a screen reader reads them.
const axNodes = (node) => [node, ...node.children.flatMap(axNodes)];
const axFind = (tree, role, name) => axNodes(tree).find((n) => n.role === role && (name === undefined || n.name === name));
const axText = (node) => axNodes(node).filter((n) => n.role === 'StaticText').map((n) => n.name).join('');

// What a screen reader has after a key: the live region's words (raw: as they are, and
// as spoken, without surrounding space; null while a modal box hides the page), and
// the focused node.
async function heard(page) {
  const tree = await axTree(page);
  const status = axFind(tree, 'status');
  const focused = axNodes(tree).filter((n) => n.props.focused && n.role !== 'RootWebArea');
  const raw = status ? axText(status) : null;
  return {raw, said: status ? raw.replace(/\s+$/, '') : null, live: status && [status.props.live, status.props.atomic],
    tree, focus: focused.map((n) => [n.role, n.name, n.props.roledescription || ''])};
}

// axe-core's accessibility rules on the page as it is: the violations, each as its
// rule's id, how many elements break it and the first of them.
async function axeViolations(page) {
  await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
  const result = await page.evaluate(() => axe.run(document));
  return result.violations.map((v) => `${v.id}: ${v.nodes.length} elements, ${v.nodes[0].target.join(' ')}`);
}

// A static web host for the files under `dir` at the path `base`, on 127.0.0.1 at
// a port the system picks: {url, close()} with url the folder's; close() stops it
// at once, open connections included.
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json'};
async function serve(dir, base = '/') {
  const root = path.resolve(dir);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    let file = name.startsWith(base) ? path.join(root, name.slice(base.length)) : root;
    if (name.endsWith('/')) file = path.join(file, 'index.html');
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      file = null;
    }
    response.writeHead(file ? 200 : 404,
        {'Content-Type': (file && TYPES[path.extname(file)]) || 'text/plain'});
    response.end(file ? fs.readFileSync(file) : 'not found');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}${base}`,
    port: server.address().port,
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    }),
  };
}

// Writes a screenshot of `page` to $GRAVISK_SHOTS/NAME.png when that is set.
async function shot(page, name) {
  const dir = process.env.GRAVISK_SHOTS;
  if (dir) await page.screenshot({path: path.join(dir, `${name}.png`)});
}

// How many pixels of a screenshot ({width, rgb}) differ from the game's picture
// `want` drawn at n x n pixels a game pixel with its top-left corner at (ox, oy).
function wrongPixels(shot, ox, oy, n, want) {
  let count = 0;
  for (let y = 0; y < HEIGHT * n; ++y) {
    for (let x = 0; x < WIDTH * n; ++x) {
      const i = (Math.floor(y / n) * WIDTH + Math.floor(x / n)) * 3;
      const j = ((oy + y) * shot.width + ox + x) * 3;
      if (shot.rgb[j] !== want[i] || shot.rgb[j + 1] !== want[i + 1] || shot.rgb[j + 2] !== want[i + 2]) ++count;
    }
  }
  return count;
}

module.exports = {PAGE, PROBE, WEBAPP, HEADLESS, WIDTH, HEIGHT, SOLUTION, SOLUTIONS, launch, open, press, canvasRgb,
  headless, expectPicture, decodePng, serve, shot, wrongPixels, fakeGamepads, sayings, boardNames, axTree, axNodes,
  axFind, axText, heard, axeViolations};
