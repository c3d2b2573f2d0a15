// How the game ends in the page: by its close box, which takes the window away and
// offers a new game; or by a run-time error (the fault probe page), reported in a
// box titled "Gravisk" and on the console, after which nothing reaches the game.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const lib = require('./lib');

const pageState = () => ({
  window: !!document.getElementById('game-window'),
  box: document.getElementById('box').open,
  title: document.getElementById('box-title').textContent,
  text: document.getElementById('box-text').textContent,
  ended: !document.getElementById('ended').hidden,
});

test('the close box ends the game; the page starts a new one on request', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE);
    await lib.press(page, ['Right', 'F1', 'Down']);
    await page.click('#close-box');
    assert.deepStrictEqual(await page.evaluate(pageState),
        {window: false, box: false, title: '', text: '', ended: true});
    await lib.press(page, ['Left', 'R']);
    await Promise.all([page.waitForNavigation(), page.click('#start-again')]);
    await page.waitForFunction(() => graviskPage.game !== 0);
    await lib.expectPicture(page, [], 'a new game');
    assert.deepStrictEqual(page.consoleErrors, []);
  } finally {
    await browser.close();
  }
});

test('a run-time error is reported in a Gravisk box and on the console, and ends the game',
    async () => {
      const browser = await lib.launch();
      try {
        // At start-up: no window comes up, only the report.
        const start = await lib.open(browser, lib.PROBE, {hash: '#start'});
        const line = 'Run-time error \'6\': Overflow (level 32768)';
        assert.deepStrictEqual(await start.evaluate(pageState),
            {window: false, box: true, title: 'Gravisk', text: line, ended: false});
        assert.deepStrictEqual(start.consoleErrors, ['gravisk: ' + line]);
        await start.keyboard.press('Enter');
        assert.deepStrictEqual(await start.evaluate(pageState),
            {window: false, box: false, title: 'Gravisk', text: line, ended: true});

        // From a key: F1's reload fails after the old window has gone.
        const key = await lib.open(browser, lib.PROBE, {hash: '#key'});
        await lib.expectPicture(key, [], 'the probe before F1');
        await lib.press(key, ['Right', 'F1', 'Left']);
        const state = await key.evaluate(pageState);
        assert.match(state.text, /^Run-time error '9': Subscript out of range/);
        assert.deepStrictEqual(state, {window: false, box: true, title: 'Gravisk',
          text: state.text, ended: false});
        assert.deepStrictEqual(key.consoleErrors, ['gravisk: ' + state.text]);
        await key.keyboard.press('Escape');
        assert.strictEqual((await key.evaluate(pageState)).ended, true);
      } finally {
        await browser.close();
      }
    });
