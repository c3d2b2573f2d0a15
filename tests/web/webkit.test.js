// gravisk.html in WebKit (WebKitGTK's MiniBrowser, driven by WebKitWebDriver over
// the W3C WebDriver protocol, on a private Xvfb with a private home): a short game,
// its screen against the headless game's pictures after every step, at one and
// at two pixels a game pixel.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const {spawn, execFileSync} = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const path = require('node:path');
const lib = require('./lib');

const MINIBROWSER = process.env.MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const DRIVER = process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
// WebDriver's key values for the game's keys.
const KEY = {Left: '\uE012', Up: '\uE013', Right: '\uE014', Down: '\uE015', R: 'r', F1: '\uE031', F2: '\uE032'};

// Polls `check` every 20 ms until it gives something truthy; fails after `seconds`.
async function until(what, seconds, check) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await check().catch(() => null);
    if (value) return value;
    if (Date.now() > deadline) assert.fail(`${what}: not within ${seconds} s`);
    await new Promise((r) => setTimeout(r, 20));
  }
}

// A port the system picks, for a driver that cannot report the one it takes.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer().once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

// Xvfb on a display it picks itself, the driver, one browser session.
async function startWebKit(scratch) {
  const home = fs.mkdtempSync(path.join(scratch, 'webkit-home-'));
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1024x768x24', '-nolisten', 'tcp', '-noreset'],
      {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  let display = '';
  xvfb.stdio[3].on('data', (d) => { display += d; });
  await until('Xvfb', 10, async () => /\n/.test(display));
  const port = await freePort();
  const env = {...process.env, HOME: home, XDG_CONFIG_HOME: path.join(home, '.config'),
    XDG_CACHE_HOME: path.join(home, '.cache'), XDG_DATA_HOME: path.join(home, '.local/share'),
    DISPLAY: ':' + display.trim(), NO_AT_BRIDGE: '1'};
  const driver = spawn(DRIVER, [`--port=${port}`, '--host=127.0.0.1'], {env, stdio: 'ignore'});
  const base = `http://127.0.0.1:${port}`;
  const call = async (method, url, body) => {
    const r = await fetch(base + url, {method, body: body && JSON.stringify(body),
      headers: {'Content-Type': 'application/json'}});
    const json = await r.json();
    if (!r.ok) throw new Error(`${method} ${url}: ${JSON.stringify(json.value)}`);
    return json.value;
  };
  const stop = () => {
    driver.kill();
    xvfb.kill();
    fs.rmSync(home, {recursive: true, force: true});
  };
  try {
    await until('WebKitWebDriver', 10, async () => (await call('GET', '/status')).ready);
    const {sessionId} = await call('POST', '/session', {capabilities: {alwaysMatch: {
      browserName: 'MiniBrowser', 'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']}}}});
    const session = (method, url, body) => call(method, `/session/${sessionId}${url}`, body);
    session.close = async () => {
      await session('DELETE', '').catch(() => {});
      stop();
    };
    return session;
  } catch (e) {
    stop();
    throw e;
  }
}

test('the page plays in WebKit as in Chromium: a walk, a win with its box, F1, F2 and R', async () => {
  const session = await startWebKit(process.cwd());
  try {
    const run = (script) => session('POST', '/execute/sync', {script, args: []});
    const press = (keys) => session('POST', '/actions', {actions: [{type: 'key', id: 'keyboard',
      actions: keys.flatMap((k) => [{type: 'keyDown', value: KEY[k]}, {type: 'keyUp', value: KEY[k]}])}]});
    // The viewport's screenshot (one of the canvas alone loses its bottom rows),
    // read where the canvas is and matched against the headless game.
    const screenshot = async (label) => {
      const png = Buffer.from(await session('GET', '/screenshot'), 'base64');
      if (process.env.GRAVISK_SHOTS) {
        fs.writeFileSync(path.join(process.env.GRAVISK_SHOTS, `webkit-${label.replace(/\W+/g, '-')}.png`), png);
      }
      return png;
    };
    const expectScreen = async (played, label) => {
      const [x, y, canvasWidth] = await run('const r = document.getElementById("client").getBoundingClientRect();' +
          'return [r.left, r.top, r.width];');
      const n = Math.round(canvasWidth / lib.WIDTH);
      const want = lib.headless(played).rgb;
      // The keys have been handled when the actions return, but the browser may
      // not have painted their frame yet: look again until it shows, for a while.
      const deadline = Date.now() + 10000;
      for (;;) {
        const png = await screenshot(label);
        const [width] = execFileSync('identify', ['-format', '%w', 'png:-'], {input: png}).toString().split(' ');
        const rgb = execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], {input: png, maxBuffer: 1 << 26});
        const wrong = lib.wrongPixels({width: Number(width), rgb}, x, y, n, want);
        if (wrong === 0) return n;
        if (Date.now() > deadline) assert.strictEqual(wrong, 0, `${label}: pixels at ${n}`);
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    };

    await session('POST', '/url', {url: 'file://' + path.resolve(lib.PAGE)});
    await until('the game', 20, () => run('return graviskPage.game !== 0'));
    const played = [];
    await expectScreen(played, 'start');
    for (const [label, keys] of [['walk', ['Right', 'Down', 'Left', 'Up', 'Right', 'Right']],
      ['next level', ['F1']], ['previous level', ['F2']], ['restart', ['Right', 'R']]]) {
      await press(keys);
      played.push(...keys);
      await expectScreen(played, label);
    }

    // With the touch buttons (as after a first touch, which this browser cannot
    // make), the window on this 1024 x 730 screen is drawn twice its size.
    await run('graviskPage.useTouch()');
    await session('POST', '/execute/async', {args: [],
      script: 'requestAnimationFrame(() => requestAnimationFrame(() => arguments[0]()))'});
    assert.strictEqual(await expectScreen(played, 'touch buttons'), 2);

    const box = 'const b = document.getElementById("box");' +
        'return [b.open, document.getElementById("box-title").textContent,' +
        'document.getElementById("box-text").textContent];';
    await press(['F1', 'F1', ...lib.SOLUTION]);
    assert.deepStrictEqual(await run(box), [true, 'Gravisk', 'You won!']);
    await screenshot('the box');
    const ok = await session('POST', '/element', {using: 'css selector', value: '#box-ok'});
    await session('POST', `/element/${Object.values(ok)[0]}/click`, {});
    played.push('F1', 'F1', ...lib.SOLUTION);
    assert.deepStrictEqual((await run(box))[0], false);
    await expectScreen(played, 'after the win');
  } finally {
    await session.close();
  }
});
