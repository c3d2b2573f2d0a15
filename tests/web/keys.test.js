// Keys in the page: the seven the game answers, with any modifier, are the game's
// alone (arrows never scroll, Ctrl+R never reloads the page); every other key keeps
// its browser meaning; a held key repeats into the game as on the desktop.
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
