// gravisk.html plays the same game as the desktop, pixel for pixel: opened from
// disk with the network off, its canvas matches the headless game through a
// walk, a push, digging, R, F1 and F2 (a win: box.test.js), crisp on a 2x screen,
// in the window's own size and with no touch buttons on a desktop until a touch.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const lib = require('./lib');

test('the page plays from disk without the network and shows the headless pixels', async () => {
  const browser = await lib.launch();
  try {
    const page = await lib.open(browser, lib.PAGE);
    assert.strictEqual(await page.title(), 'Gravisk V2.0');
    const chrome = await page.evaluate(() => ({
      title: document.querySelector('#game-window .titlebar span').textContent,
      icon: document.querySelector('#window-icon').src.slice(0, 22),
      favicon: document.getElementById('favicon').href.slice(0, 22),
      boxes: document.querySelectorAll('#game-window button').length,
    }));
    assert.deepStrictEqual(chrome, {title: 'Gravisk V2.0', icon: 'data:image/png;base64,',
      favicon: 'data:image/png;base64,', boxes: 1});

    const steps = [
      ['start', []],
      ['walk', ['Right']],
      ['push', ['Right']],
      ['dig', ['Down', 'Down', 'Right', 'Down', 'Right', 'Up', 'Down', 'Down', 'Right', 'Right']],
      ['restart', ['R']],
      ['next level', ['Right', 'F1']],
      ['previous level', ['Down', 'F2']],
    ];
    const played = [];
    for (const [label, keys] of steps) {
      await lib.press(page, keys);
      played.push(...keys);
      await lib.expectPicture(page, played, label);
    }
    assert.deepStrictEqual(page.foreignRequests, []);
    assert.deepStrictEqual(page.consoleErrors, []);

    // A desktop used with a mouse: the window as it always was, no touch buttons.
    const desktop = () => page.evaluate(() => {
      const r = document.getElementById('game-window').getBoundingClientRect();
      return {size: [r.width, r.height],
        buttons: [...document.querySelectorAll('button')].filter((b) => b.checkVisibility()).length};
    });
    assert.deepStrictEqual(await desktop(), {size: [408, 226], buttons: 1});

    // On a screen with two device pixels to each page pixel, every game pixel
    // is a sharp 2 x 2 square of its own colour.
    await page.setViewport({width: 800, height: 600, deviceScaleFactor: 2});
    const want = lib.headless(played).rgb;
    const box = await (await page.$('#client')).boundingBox();
    const png = await page.screenshot({clip: box, type: 'png', encoding: 'base64'});
    const shot = await lib.decodePng(page, png);
    assert.deepStrictEqual([shot.width, shot.height], [2 * lib.WIDTH, 2 * lib.HEIGHT]);
    let blurred = 0;
    for (let y = 0; y < shot.height; ++y) {
      for (let x = 0; x < shot.width; ++x) {
        const i = (Math.floor(y / 2) * lib.WIDTH + Math.floor(x / 2)) * 3;
        const j = (y * shot.width + x) * 3;
        if (shot.rgb[j] !== want[i] || shot.rgb[j + 1] !== want[i + 1] ||
            shot.rgb[j + 2] !== want[i + 2]) {
          ++blurred;
        }
      }
    }
    assert.strictEqual(blurred, 0, `${blurred} device pixels differ from their game pixel`);
    assert.deepStrictEqual(await desktop(), {size: [408, 226], buttons: 1});
    // A first touch on the page, of a touch screen beside the mouse, brings them.
    await page.touchscreen.tap(10, 10);
    assert.strictEqual((await desktop()).buttons, 8);
  } finally {
    await browser.close();
  }
});

test('axe-core finds nothing wrong on the desktop page or on a phone; the page says what it is', async () => {
  const browser = await lib.launch();
  try {
    for (const viewport of [{width: 800, height: 600},
      {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}]) {
      const page = await lib.open(browser, lib.PAGE, {viewport});
      await lib.press(page, ['Right', 'Space']);
      assert.deepStrictEqual(await lib.axeViolations(page), [], `${viewport.width} x ${viewport.height}`);
      const tree = await lib.axTree(page);
      assert.deepStrictEqual([lib.axFind(tree, 'main') !== undefined, lib.axFind(tree, 'heading', 'Gravisk V2.0') !== undefined],
          [true, true], 'a main landmark and a heading');
      // None of it is seen or in the way: the pointer still finds the canvas and the close box.
      const hits = await page.evaluate(() => ['client', 'close-box'].map((id) => {
        const r = document.getElementById(id).getBoundingClientRect();
        return document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2).closest('[id]').id;
      }));
      assert.deepStrictEqual(hits, ['client', 'close-box']);
      const description = await page.$eval('meta[name="description"]', (m) => m.content);
      assert.match(description, /^Gravisk V2\.0 [^.]+\.$/, 'one sentence');
      await page.close();
    }
  } finally {
    await browser.close();
  }
});
