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
