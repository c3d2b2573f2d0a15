// Keys in the page: the seven the game answers, with any modifier, are the game's
// alone (arrows never scroll, Ctrl+R never reloads the page); every other key keeps
// its browser meaning; a held key repeats into the game as on the desktop. A game
// controller (a fake of the Gamepad API) plays as the keys do, and the page polls
// it only while one is connected and the page is in sight.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const lib = require('./lib');

async function chord(page, modifiers, key) {
  for (const m of modifiers) await page.keyboard.down(m);
  await page.keyboard.press(key);
  for (const m of modifiers.reverse()) await page.keyboard.up(m);
}

test('game keys are the game\'s alone, other keys keep their meaning, held keys repeat', async () => {
  const browser = await lib.launch();
  try {
    // A viewport smaller than the window, so that the page could scroll.
    const page = await lib.open(browser, lib.PAGE, {viewport: {width: 300, height: 150}});
    await page.evaluate(() => {
      window.stillThisPage = true;
      window.seen = [];
      // Registered after the game's own listener, so it sees the game's verdict.
      window.addEventListener('keydown', (e) => window.seen.push([e.code, e.defaultPrevented]));
    });
    const scroll = () => page.evaluate(() => [window.scrollX, window.scrollY]);

    await lib.press(page, ['Down', 'Right', 'Down', 'Right', 'Up', 'Left']);
    assert.deepStrictEqual(await scroll(), [0, 0], 'arrows scrolled the page');
    await lib.expectPicture(page, ['Down', 'Right', 'Down', 'Right', 'Up', 'Left'], 'arrows');

    await chord(page, ['Control'], 'KeyR');
    await chord(page, ['Shift'], 'ArrowDown');
    await chord(page, ['Alt'], 'F1');
    await chord(page, ['Control', 'Shift'], 'F2');
    assert.strictEqual(await page.evaluate(() => window.stillThisPage), true, 'the page reloaded');
    await lib.expectPicture(page, ['Down', 'R', 'Down', 'F1', 'F2'], 'keys with modifiers');
    assert.deepStrictEqual(await scroll(), [0, 0], 'Shift+Down scrolled the page');

    // Keys the game has no use for do what the browser does with them.
    await page.keyboard.press('PageDown');
    await chord(page, ['Control'], 'KeyL');
    await page.keyboard.press('Tab');
    // The browser scrolls smoothly, a moment after the key.
    const scrolled = await page.waitForFunction(() => window.scrollY > 0, {timeout: 5000})
        .then(() => true, () => false);
    assert.ok(scrolled, 'PageDown did not scroll the page');

    const seen = await page.evaluate(() => window.seen.filter(([code]) => !/^(Control|Shift|Alt)/.test(code)));
    assert.deepStrictEqual(seen, [
      ['ArrowDown', true], ['ArrowRight', true], ['ArrowDown', true], ['ArrowRight', true],
      ['ArrowUp', true], ['ArrowLeft', true], ['KeyR', true], ['ArrowDown', true], ['F1', true],
      ['F2', true], ['PageDown', false], ['KeyL', false], ['Tab', false]]);

    // A held key: one press and two repeats move the hero three times.
    await page.keyboard.down('ArrowRight');
    await page.keyboard.down('ArrowRight');
    await page.keyboard.down('ArrowRight');
    await page.keyboard.up('ArrowRight');
    await lib.expectPicture(page, ['Down', 'R', 'Down', 'F1', 'F2', 'Right', 'Right', 'Right'],
        'a held key');
  } finally {
    await browser.close();
  }
});

test('a screen reader hears every key as the headless game says it, from the game element', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE);
    // Each outcome of a move (an edge twice, a walk, a push, a rock that cannot move,
    // a dig, a wall), the keys that read the board, and every level key.
    const keys = ['Left', 'Left', 'Right', 'Right', 'Right', 'Space', 'P', 'Digit3', 'H', 'R',
      'Right', 'Right', 'Down', 'Down', 'Right', 'Down', 'Right', 'Up', 'Down', 'Down', 'Right', 'Right',
      'F2', 'Down', 'F1', 'F1'];
    const want = lib.sayings(keys);
    for (const outcome of ['Blocked left: edge.', 'Moved right.', 'Pushed the rock right.',
      'Blocked right: the rock cannot move.', 'Dug grass, moved right.', 'Blocked down: wall.']) {
      assert.ok(want.some(({sentence}) => sentence.startsWith(outcome)), `the game never says ${outcome}`);
    }
    const level = (sentence) => `Gravisk, level ${/^Level (\d)/.exec(sentence)[1]} of 3`;
    let name = level(want[0].sentence);
    let before = await lib.heard(page);
    assert.deepStrictEqual([before.said, before.live, before.focus],
        [want[0].sentence, ['polite', true], [['application', name, 'game']]], 'at the start');
    for (let i = 0; i < keys.length; ++i) {
      await lib.press(page, [keys[i]]);
      const now = await lib.heard(page);
      if (/^Level/.test(want[i + 1].sentence)) name = level(want[i + 1].sentence);
      assert.deepStrictEqual([now.said, now.focus], [want[i + 1].sentence, [['application', name, 'game']]],
          `after ${keys.slice(0, i + 1).join(' ')}`);
      // Said again, a sentence still changes the region, or a screen reader keeps quiet.
      assert.notStrictEqual(now.raw, before.raw, `${keys[i]} (key ${i + 1}) changed nothing a screen reader hears`);
      before = now;
    }

    // The grid names every cell as the board now shows it: after pushes, R, and a push.
    await lib.press(page, ['Right', 'Down', 'Right', 'Right']);
    const played = [...keys, 'Right', 'Down', 'Right', 'Right'];
    const grid = lib.axFind((await lib.heard(page)).tree, 'grid', 'Game board');
    const names = grid.children.map((row) => row.children.map((cell) => [cell.role, cell.name]));
    assert.deepStrictEqual(names, lib.boardNames(played).map((row) => row.map((cell) => ['gridcell', cell])));
    await lib.expectPicture(page, played, 'the keys that read the board change nothing');
    assert.deepStrictEqual(page.consoleErrors, []);
  } finally {
    await browser.close();
  }
});

// The standard layout's buttons (the Gamepad API's buttons[n]), and the keys they send.
const BUTTON = {A: 0, B: 1, X: 2, Y: 3, LB: 4, RB: 5, Back: 8, Start: 9, Up: 12, Down: 13, Left: 14, Right: 15};
const SENDS = {Y: 'R', Back: 'R', RB: 'F1', LB: 'F2', Up: 'Up', Down: 'Down', Left: 'Left', Right: 'Right'};
const tap = (page, pad, names) => {
  for (const name of names) assert.ok(name in BUTTON, `no button ${name}`);
  return page.evaluate((index, buttons) => fakeGamepads.tap(index, buttons), pad, names.map((n) => BUTTON[n]));
};
const boxOpen = (page) => page.evaluate(() => document.getElementById('box').open);
// Frame callbacks and timers the page has asked for and not yet had.
const pending = (page) => page.evaluate(() => fakeGamepads.pending());

test('a controller alone plays all three levels; the page polls only while a pad is there and in sight',
    async () => {
      const browser = await lib.launch();
      try {
        // No pad: keys, a win and its box run no frame callback and no timer; 30 of
        // the browser's frames go by, in each of which a poll would have run.
        const idle = await lib.open(browser, lib.PAGE, {pads: true});
        await idle.evaluate(() => fakeGamepads.reset());
        await lib.press(idle, ['F1', 'F1', ...lib.SOLUTION, 'Enter', 'Right']);
        await idle.evaluate(() => fakeGamepads.frames(30));
        assert.deepStrictEqual(await idle.evaluate(() => [fakeGamepads.ran, fakeGamepads.pending()]),
            [{frames: 0, timers: 0}, {frames: 0, timers: 0}], 'with no pad');
        await lib.expectPicture(idle, ['F1', 'F1', ...lib.SOLUTION, 'Right'], 'keys with no pad');
        await idle.close();

        const page = await lib.open(browser, lib.PAGE, {pads: true});
        await page.evaluate(() => fakeGamepads.connect(0));
        const played = [];
        // Each level won with the D-pad; under its box the D-pad, Y and the shoulders
        // do nothing, and A (Start after the third) brings the next level.
        for (const [level, closer] of [['1', 'A'], ['2', 'A'], ['3', 'Start']]) {
          await tap(page, 0, lib.SOLUTIONS[level]);
          played.push(...lib.SOLUTIONS[level]);
          assert.strictEqual(await boxOpen(page), true, `level ${level} won`);
          await tap(page, 0, ['Left', 'Y', 'RB', 'LB', 'Back', 'B', 'X']);
          await lib.expectPicture(page, played.slice(0, -1), `under level ${level}'s box`);
          await tap(page, 0, [closer]);
          assert.strictEqual(await boxOpen(page), false, `${closer} closes level ${level}'s box`);
          await lib.expectPicture(page, played, `after level ${level}'s box`);
        }
        // Y and Back restart, the shoulders step the level; A, B, X and Start do nothing.
        for (const buttons of [['Right', 'Y'], ['RB', 'Right'], ['LB', 'Right', 'Back'],
          ['Right', 'A', 'B', 'X', 'Start']]) {
          await tap(page, 0, buttons);
          played.push(...buttons.filter((name) => SENDS[name]).map((name) => SENDS[name]));
          await lib.expectPicture(page, played, buttons.join(' '));
        }

        // The left stick past half its travel is the D-pad, its stronger axis only:
        // right, none (back, then not far enough), down, right as x grows stronger.
        for (const [x, y] of [[0.9, 0], [0, 0], [0.4, -0.3], [0.6, 0.8], [0.6, 0.4], [0, 0]]) {
          await page.evaluate((sx, sy) => fakeGamepads.stick(0, sx, sy), x, y);
        }
        played.push('Right', 'Down', 'Right');
        await lib.expectPicture(page, played, 'the stick');

        // A held direction repeats, the first after about half a second, until it is
        // let go; then no timer is left.
        const toGrass = ['Y', 'Right', 'Right', 'Down', 'Down', 'Right', 'Down', 'Right', 'Up', 'Down', 'Down',
          'Right', 'Right', 'Down', 'Down', 'Down'];
        await tap(page, 0, toGrass);
        played.push(...toGrass.map((name) => SENDS[name]));
        await page.evaluate(() => {
          window.sent = [];
          const key = Module._gravisk_key;
          Module._gravisk_key = (game, code, shift) => {
            window.sent.push({code, at: performance.now()});
            return key(game, code, shift);
          };
        });
        await page.evaluate((left) => fakeGamepads.press(0, left), BUTTON.Left);
        await page.waitForFunction(() => window.sent.length >= 3, {timeout: 10000});
        await page.evaluate((left) => fakeGamepads.release(0, left), BUTTON.Left);
        const sent = await page.evaluate(() => window.sent.splice(0));
        assert.deepStrictEqual(sent.map((k) => k.code), sent.map(() => 37), 'held Left');
        assert.ok(sent[1].at - sent[0].at >= 450, `first repeat after ${sent[1].at - sent[0].at} ms`);
        assert.deepStrictEqual(await pending(page), {frames: 1, timers: 0}, 'Left let go');
        played.push(...sent.map(() => 'Left'));
        await lib.expectPicture(page, played, 'Left held');

        // Right held until `letGo` ends its repeat: one press, and any repeats that
        // came before (on a slow machine).
        const holdRight = async (pad, letGo, label) => {
          await page.evaluate(() => window.sent.splice(0));
          await page.evaluate((index, right) => fakeGamepads.press(index, right), pad, BUTTON.Right);
          assert.deepStrictEqual(await pending(page), {frames: 1, timers: 1}, `Right held on pad ${pad}`);
          await letGo();
          const codes = (await page.evaluate(() => window.sent.splice(0))).map((k) => k.code);
          assert.ok(codes.length >= 1 && codes.every((code) => code === 39), `${label}: ${codes}`);
          played.push(...codes.map(() => 'Right'));
        };

        // Two pads both play. Taking one away mid-repeat ends its repeat; the last one
        // gone ends the polling.
        await page.evaluate(() => fakeGamepads.connect(1));
        await tap(page, 1, ['Up']);
        await tap(page, 0, ['Right']);
        played.push('Up', 'Right');
        await lib.expectPicture(page, played, 'two pads');
        await holdRight(1, async () => {
          await page.evaluate(() => fakeGamepads.disconnect(1));
          assert.deepStrictEqual(await pending(page), {frames: 1, timers: 0}, 'pad 1 gone');
        }, 'pad 1 taken away');
        await tap(page, 0, ['Down']);
        played.push('Down');
        await page.evaluate(() => fakeGamepads.disconnect(0));
        assert.deepStrictEqual(await pending(page), {frames: 0, timers: 0}, 'both pads gone');
        await lib.expectPicture(page, played, 'pads gone');

        // Hidden, the page stops polling and a held direction stops repeating; in
        // sight again, it polls and plays.
        await page.evaluate(() => fakeGamepads.connect(2));
        await holdRight(2, async () => {
          await page.evaluate(() => fakeGamepads.hide(true));
          assert.deepStrictEqual(await pending(page), {frames: 0, timers: 0}, 'hidden');
        }, 'the page hidden');
        await page.evaluate((right) => fakeGamepads.set(2, right, false), BUTTON.Right);
        await page.evaluate(() => fakeGamepads.hide(false));
        await tap(page, 2, ['Left']);
        played.push('Left');
        await lib.expectPicture(page, played, 'in sight again');
        assert.deepStrictEqual(page.consoleErrors, []);
      } finally {
        await browser.close();
      }
    });
