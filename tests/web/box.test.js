// The "You won!" box in the page: modal, titled "Gravisk", its OK button focused,
// the board with the hero beside the door kept in sight under it, no key or click
// reaching the game meanwhile; Enter, Space and Escape close it, and only then
// does the next level appear, in a window centred anew. A screen reader hears the
// box as an alert, and the next level once the focus is back on the game.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const lib = require('./lib');

const boxState = () => {
  const box = document.getElementById('box');
  const win = document.getElementById('game-window');
  const rect = win && win.getBoundingClientRect();
  return {
    open: box.open,
    title: document.getElementById('box-title').textContent,
    text: document.getElementById('box-text').textContent,
    focus: document.activeElement.id,
    window: rect && [rect.left, rect.top, rect.width, rect.height],
  };
};

test('the win box holds the game until it closes, by Enter, Space or Escape', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE, {viewport: {width: 800, height: 600}});
    const played = ['F1', 'F1'];
    await lib.press(page, played);
    let viewport = {width: 800, height: 600};
    for (const closer of ['Enter', 'Space', 'Escape']) {
      await lib.press(page, lib.SOLUTION);
      const before = await page.evaluate(boxState);
      assert.deepStrictEqual({...before, window: undefined},
          {open: true, title: 'Gravisk', text: 'You won!', focus: 'box-ok', window: undefined});
      // A screen reader speaks the box: an alert dialog, its title its name and its
      // text its description, OK focused; the page under it, live region included, is
      // out of its reach, and the region has been emptied.
      const boxHeard = await lib.heard(page);
      const dialog = lib.axFind(boxHeard.tree, 'alertdialog');
      assert.deepStrictEqual([dialog && dialog.name, dialog && dialog.description, boxHeard.said, boxHeard.focus],
          ['Gravisk', 'You won!', null, [['button', 'OK', '']]]);
      assert.strictEqual(await page.evaluate(() => document.getElementById('said').textContent), '');
      await lib.expectPicture(page, [...played, ...lib.SOLUTION.slice(0, -1)], 'under the box');

      // Keys and the close box do nothing while the box is up.
      await lib.press(page, ['Left', 'Down', 'R', 'F1', 'Tab']);
      const [x, y] = await page.evaluate(() => {
        const r = document.getElementById('close-box').getBoundingClientRect();
        return [r.left + r.width / 2, r.top + r.height / 2];
      });
      await page.mouse.click(x, y);
      assert.deepStrictEqual(await page.evaluate(boxState), before, `after keys, ${closer} round`);
      await lib.expectPicture(page, [...played, ...lib.SOLUTION.slice(0, -1)], 'still under the box');

      // The next window is centred in the viewport as it is when the box closes.
      viewport = {width: viewport.width + 100, height: viewport.height + 50};
      await page.setViewport(viewport);
      await page.keyboard.press(closer);
      played.push(...lib.SOLUTION);
      const after = await page.evaluate(boxState);
      assert.strictEqual(after.open, false, `${closer} closes the box`);
      const [left, top, width, height] = after.window;
      assert.deepStrictEqual([left, top],
          [Math.floor((viewport.width - width) / 2), Math.floor((viewport.height - height) / 2)],
          `window of ${width} x ${height} centred in ${viewport.width} x ${viewport.height}`);
      await lib.expectPicture(page, played, `next level after ${closer}`);
      // Then the focus is back on the game, and the next level is announced.
      const level = lib.sayings(played).at(-1);
      assert.ok(level.box, 'the headless game did not win');
      const afterHeard = await lib.heard(page);
      assert.deepStrictEqual([afterHeard.said, afterHeard.focus], [level.sentence,
        [['application', `Gravisk, level ${/^Level (\d)/.exec(level.sentence)[1]} of 3`, 'game']]], `after ${closer}`);
      played.push('F1', 'F1');
      await lib.press(page, ['F1', 'F1']);
    }
    await lib.press(page, ['Right']);
    await lib.expectPicture(page, [...played, 'Right'], 'keys reach the game again');
  } finally {
    await browser.close();
  }
});
