// The page on phones and a tablet (Chromium's mobile emulation, touches through the
// DevTools protocol): the window fitted crisp beside the seven touch buttons, and
// re-fitted as the screen turns; the buttons and swipes play as the keys do; the
// "You won!" box answers a tap. GRAVISK_SHOTS=DIR keeps each screen's picture.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const lib = require('./lib');

const touch = {isMobile: true, hasTouch: true};
const PHONE = {width: 390, height: 844, deviceScaleFactor: 3, ...touch};
const TURNED = {width: 844, height: 390, deviceScaleFactor: 3, isLandscape: true, ...touch};
const ANDROID = {width: 412, height: 915, deviceScaleFactor: 2.625, ...touch};
const TABLET = {width: 820, height: 1180, deviceScaleFactor: 2, ...touch};
const NAMES = ['Left', 'Up', 'Right', 'Down', 'Restart', 'Next level', 'Previous level'];
const KEY_OF = {Left: 'Left', Up: 'Up', Right: 'Right', Down: 'Down', Restart: 'R',
  'Next level': 'F1', 'Previous level': 'F2'};

// Where the window, its canvas and close box and the seven buttons are, in CSS px.
const layout = () => {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return {left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height};
  };
  const buttons = [...document.querySelectorAll('#controls button')].filter((b) => b.checkVisibility());
  return {
    width: document.documentElement.clientWidth,
    height: document.documentElement.clientHeight,
    scrollWidth: document.documentElement.scrollWidth,
    dpr: devicePixelRatio,
    window: box(document.getElementById('game-window')),
    canvas: box(document.getElementById('client')),
    close: box(document.getElementById('close-box')),
    buttons: buttons.map((b) => ({name: b.getAttribute('aria-label'), ...box(b)})),
  };
};

const inside = (r, width, height) => r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
const apart = (a, b, gap) => a.right + gap <= b.left || b.right + gap <= a.left ||
    a.bottom + gap <= b.top || b.bottom + gap <= a.top;

// Checks the fit on the current screen and returns n, the device pixels per game
// pixel: all on screen, nothing overlapping, buttons a fingertip wide and apart,
// and in a screenshot every game pixel an n x n square of the headless game's colour.
async function expectFit(page, played, label) {
  const at = await page.evaluate(layout);
  assert.ok(at.scrollWidth <= at.width, `${label}: the page scrolls sideways (${at.scrollWidth} > ${at.width})`);
  assert.deepStrictEqual(at.buttons.map((b) => b.name).sort(), [...NAMES].sort(), `${label}: buttons shown`);
  for (const r of [at.window, ...at.buttons]) {
    assert.ok(inside(r, at.width, at.height), `${label}: ${r.name || 'window'} off screen ${JSON.stringify(r)}`);
    assert.ok(!r.name || (r.width >= 48 && r.height >= 48), `${label}: ${r.name} is under 48 x 48`);
    assert.ok(!r.name || apart(r, at.window, 8), `${label}: ${r.name} touches the window`);
  }
  for (const a of at.buttons) {
    for (const b of at.buttons) assert.ok(a === b || apart(a, b, 8), `${label}: ${a.name} and ${b.name} close`);
  }
  // The close box answers a fingertip 44 px wide from its corner of the title bar.
  const targets = await page.evaluate(({right, bottom}) => [[right - 1, bottom - 1], [right - 43, bottom - 43]]
      .map(([x, y]) => document.elementFromPoint(x, y) === document.getElementById('close-box')), at.close);
  assert.deepStrictEqual(targets, [true, true], `${label}: the close box's reach`);

  const n = Math.round(at.canvas.width * at.dpr / lib.WIDTH);
  const ox = Math.round(at.canvas.left * at.dpr);
  const oy = Math.round(at.canvas.top * at.dpr);
  const png = await page.screenshot({encoding: 'base64'});
  if (process.env.GRAVISK_SHOTS) {
    fs.writeFileSync(path.join(process.env.GRAVISK_SHOTS, `touch-${label.replace(/\W+/g, '-')}.png`),
        Buffer.from(png, 'base64'));
  }
  const shot = await lib.decodePng(page, png);
  assert.deepStrictEqual([shot.width, shot.height], [Math.round(at.width * at.dpr), Math.round(at.height * at.dpr)]);
  const wrong = lib.wrongPixels(shot, ox, oy, n, lib.headless(played).rgb);
  assert.strictEqual(wrong, 0, `${label}: ${wrong} device pixels off their game pixel (n = ${n})`);
  return n;
}

// A new screen size reaches the page as a resize event before its next frame.
async function turn(page, screen) {
  await page.setViewport(screen);
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(r)));
}

async function centre(page, name) {
  const r = await page.evaluate((label) => {
    const e = label[0] === '#' ? document.querySelector(label)
        : document.querySelector(`#controls button[aria-label="${label}"]`);
    const b = e.getBoundingClientRect();
    return [b.left + b.width / 2, b.top + b.height / 2];
  }, name);
  return {x: r[0], y: r[1]};
}

async function tap(page, name) {
  const {x, y} = await centre(page, name);
  await page.touchscreen.tap(x, y);
}

test('on phones and a tablet the window fits crisp beside the buttons, and turning re-fits it', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE, {viewport: PHONE});
    const played = ['Right', 'Down', 'Down'];
    await lib.press(page, played);
    // Portrait: the largest n whose 408 x n device px the screen's width holds. In
    // landscape 5 would leave 844 - 680 px for both pads, less than four 48 px buttons.
    for (const [label, screen, n] of [['phone', PHONE, 2], ['phone turned', TURNED, 4],
      ['android', ANDROID, 2], ['tablet', TABLET, 4], ['phone again', PHONE, 2]]) {
      await turn(page, screen);
      assert.strictEqual(await expectFit(page, played, label), n, `${label}: n`);
    }
    assert.deepStrictEqual(page.consoleErrors, []);
  } finally {
    await browser.close();
  }
});

test('the buttons and swipes play as the keys do, and a held arrow repeats until it is let go', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE, {viewport: PHONE});
    // Every button, from the start of level 1: each arrow moves or pushes, then the
    // level keys restart, go on and come back.
    const played = [];
    for (const name of ['Right', 'Down', 'Left', 'Up', 'Restart', 'Next level', 'Previous level']) {
      await tap(page, name);
      played.push(KEY_OF[name]);
      await lib.expectPicture(page, played, `the ${name} button`);
    }

    // A long swipe to the right is one step; a tap that slips less than 24 px is
    // none, and so is a stroke that starts on the close box; the Down button's
    // step shows that all have been handled.
    const stroke = async (from, moves) => {
      const at = await centre(page, from);
      const finger = await page.touchscreen.touchStart(at.x, at.y);
      for (const [dx, dy] of moves) await finger.move(at.x + dx, at.y + dy);
      await finger.end();
    };
    await stroke('#client', [[10, 0], [30, 4], [60, 4], [90, 8], [120, 8]]);
    await stroke('#client', [[2, 1], [-3, 10], [-5, 22]]);
    await stroke('#close-box', [[-10, 0], [-30, 4], [-60, 6]]);
    await tap(page, 'Down');
    played.push('Right', 'Down');
    await lib.expectPicture(page, played, 'a swipe and a tap on the board');

    // Held on a row of grass, Left repeats: after half a second, then about 30 a
    // second. Once the finger lifts, or slides off the button, no more come.
    const toGrass = ['R', 'Right', 'Right', 'Down', 'Down', 'Right', 'Down', 'Right', 'Up', 'Down', 'Down',
      'Right', 'Right', 'Down', 'Down', 'Down'];
    await lib.press(page, toGrass);
    played.push(...toGrass);
    // The keys that reach the game, and when the page heard the finger let go.
    await page.evaluate(() => {
      window.sent = [];
      window.letGo = 0;
      const noteLetGo = () => { window.letGo = window.letGo || performance.now(); };
      window.addEventListener('pointerup', noteLetGo, true);
      document.querySelector('#controls [aria-label="Left"]').addEventListener('pointerleave', noteLetGo);
      const key = Module._gravisk_key;
      Module._gravisk_key = (game, code, shift) => {
        window.sent.push({code, shift, at: performance.now()});
        return key(game, code, shift);
      };
    });
    const left = await centre(page, 'Left');
    for (const letGo of ['lift', 'slide off']) {
      const held = await page.touchscreen.touchStart(left.x, left.y);
      await page.waitForFunction(() => window.sent.length >= 3);
      if (letGo === 'lift') await held.end();
      else for (const dy of [10, 40, 100]) await held.move(left.x, left.y - dy);
      // Three repeat periods on the page's clock, then a button whose key is known.
      await page.evaluate(() => new Promise((r) => setTimeout(r, 100)));
      await tap(page, 'Up');
      if (letGo !== 'lift') await held.end();
      const [sent, letGoAt] = await page.evaluate(() => [window.sent.splice(0), window.letGo]);
      await page.evaluate(() => { window.letGo = 0; });
      const codes = sent.map((k) => k.code);
      assert.ok(letGoAt > 0 && sent.slice(0, -1).every((k) => k.at < letGoAt), `${letGo}: a key after it`);
      assert.ok(codes.length >= 4, `${letGo}: ${codes}`);
      assert.deepStrictEqual(codes, [...codes.slice(0, -1).map(() => 37), 38], `${letGo}: the keys sent`);
      assert.ok(sent.every((k) => k.shift === 0));
      assert.ok(sent[1].at - sent[0].at >= 450, `${letGo}: first repeat after ${sent[1].at - sent[0].at} ms`);
      played.push(...codes.slice(0, -1).map(() => 'Left'), 'Up');
      await lib.expectPicture(page, played, `Left held, then ${letGo}`);
    }
    assert.deepStrictEqual(page.consoleErrors, []);
  } finally {
    await browser.close();
  }
});

test('the box is named, fits the turned screen, holds the buttons and closes by a tap', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE, {viewport: PHONE});
    const played = ['F1', 'F1', ...lib.SOLUTION];
    await lib.press(page, played);
    const named = async (selector) => {
      const node = await page.accessibility.snapshot({root: await page.$(selector), interestingOnly: false});
      return [node.role, node.name, node.description];
    };
    assert.deepStrictEqual(await named('#box'), ['alertdialog', 'Gravisk', 'You won!']);

    await tap(page, 'Right');
    await tap(page, 'Next level');
    await turn(page, TURNED);
    const box = await page.evaluate(() => {
      const r = document.getElementById('box').getBoundingClientRect();
      return {open: document.getElementById('box').open, left: r.left, top: r.top, right: r.right,
        bottom: r.bottom, width: innerWidth, height: innerHeight};
    });
    assert.strictEqual(box.open, true);
    assert.ok(inside(box, box.width, box.height), `the box off the screen: ${JSON.stringify(box)}`);
    assert.ok(Math.abs(box.left + box.right - box.width) <= 1 && Math.abs(box.top + box.bottom - box.height) <= 1,
        `the box not centred: ${JSON.stringify(box)}`);
    await lib.expectPicture(page, played.slice(0, -1), 'under the box, after the buttons');

    await tap(page, '#box-ok');
    assert.strictEqual(await page.evaluate(() => document.getElementById('box').open), false);
    await expectFit(page, played, 'the next level, turned');
    // The canvas is kept from screen readers: they read the board from its grid.
    const tree = await lib.axTree(page);
    assert.deepStrictEqual(lib.axNodes(tree).filter((n) => n.role === 'image' || n.role === 'canvas'), []);
    assert.ok(lib.axFind(tree, 'grid', 'Game board'), 'no board for screen readers');
  } finally {
    await browser.close();
  }
});

test('a screen reader plays by the buttons: a click with no press, or Enter or Space on one', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE, {viewport: PHONE});
    // The seven buttons come right after the board.
    const order = lib.axNodes(await lib.axTree(page)).filter((n) => n.role !== 'StaticText' &&
        n.role !== 'InlineTextBox' && n.role !== 'row' && n.role !== 'gridcell' && n.role !== 'generic');
    const grid = order.findIndex((n) => n.role === 'grid');
    assert.deepStrictEqual(order.slice(grid + 1, grid + 8).map((n) => [n.role, n.name]),
        ['Up', 'Left', 'Right', 'Down', 'Next level', 'Restart', 'Previous level'].map((name) => ['button', name]));

    // The keys that reach the game.
    await page.evaluate(() => {
      window.sent = [];
      const key = Module._gravisk_key;
      Module._gravisk_key = (game, code, shift) => {
        window.sent.push(code);
        return key(game, code, shift);
      };
    });
    const button = (name) => `#controls button[aria-label="${name}"]`;
    const played = [];
    // A screen reader's double tap is a click with no pointer down before it.
    for (const name of ['Right', 'Down', 'Right', 'Restart', 'Down', 'Next level', 'Previous level']) {
      await page.$eval(button(name), (b) => b.click());
      played.push(KEY_OF[name]);
    }
    // Enter and Space on the focused button act as it, never as Enter or Space to the game.
    for (const [name, key] of [['Right', 'Enter'], ['Down', 'Space'], ['Left', 'Enter'], ['Restart', 'Space']]) {
      await page.$eval(button(name), (b) => b.focus());
      await page.keyboard.press(key);
      played.push(KEY_OF[name]);
    }
    const codes = {Left: 37, Up: 38, Right: 39, Down: 40, R: 82, F1: 112, F2: 113};
    assert.deepStrictEqual(await page.evaluate(() => window.sent), played.map((k) => codes[k]));
    await lib.expectPicture(page, played, 'the buttons clicked and pressed');
    // Each says what it did, as the key does.
    await page.$eval(button('Right'), (b) => b.click());
    played.push('Right');
    assert.strictEqual((await lib.heard(page)).said, lib.sayings(played).at(-1).sentence);
  } finally {
    await browser.close();
  }
});
