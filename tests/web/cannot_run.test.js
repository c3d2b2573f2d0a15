// A browser that cannot run the game: with WebAssembly turned off, or refusing to
// compile it, the page says so in one sentence and, once that box is closed, that
// the game could not start; with JavaScript off, the page says that it needs it.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const lib = require('./lib');

const state = () => ({
  box: document.getElementById('box').open,
  title: document.getElementById('box-title').textContent,
  text: document.getElementById('box-text').textContent,
  window: !!document.getElementById('game-window'),
  ended: document.getElementById('ended').checkVisibility() ? document.getElementById('ended').innerText : '',
});

test('without WebAssembly the page says why the game cannot run, and ends cleanly', async () => {
  const browser = await lib.launch();
  try {
    for (const [breakIt, why, close] of [
      [() => { delete window.WebAssembly; }, 'WebAssembly is turned off or missing in it', 'Enter'],
      [() => {
        WebAssembly.Module = function () { throw new WebAssembly.CompileError('refused by policy'); };
      }, 'it refused to compile the game\'s WebAssembly', '#box-ok']]) {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument(breakIt);
      await page.goto('file://' + path.resolve(lib.PAGE));
      await page.waitForFunction(() => graviskPage.boxOpen, {timeout: 20000});
      assert.deepStrictEqual(await page.evaluate(state), {box: true, title: 'Gravisk',
        text: `This browser cannot run Gravisk, because ${why}.`, window: false, ended: ''});
      if (close[0] === '#') await page.click(close);
      else await page.keyboard.press(close);
      const after = await page.evaluate(state);
      assert.deepStrictEqual({...after, ended: after.ended.split('\n')[0]}, {box: false, title: 'Gravisk',
        text: `This browser cannot run Gravisk, because ${why}.`, window: false, ended: 'Gravisk could not start.'});
      await page.close();
    }

    const page = await browser.newPage();
    await page.setJavaScriptEnabled(false);
    await page.goto('file://' + path.resolve(lib.PAGE));
    // The page's heading (for screen readers, unseen) and what it says.
    assert.strictEqual(await page.evaluate(() => document.body.innerText.trim()),
        'Gravisk V2.0\nGravisk needs JavaScript, which is turned off for this page.');
  } finally {
    await browser.close();
  }
});
