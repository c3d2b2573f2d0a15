// The web app (build/web/webapp, the folder the release zips) served on 127.0.0.1
// as a static host serves it: installable, playing with the server gone after one
// visit, a new release replacing the old by the second visit without ever mixing
// the two, and playing in frames of another site.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const lib = require('./lib');

const SOURCE = path.resolve(__dirname, '../..');
// Where a game site puts the game: a folder of its own, not the top of the host.
const FOLDER = '/games/gravisk/';

// A new tab that collects its console errors in page.errors and, in every
// document it or its frames open, the uncaught errors in window.uncaught.
async function newTab(browser, viewport = {width: 800, height: 600}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.errors = [];
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  await page.evaluateOnNewDocument(() => {
    window.uncaught = [];
    window.addEventListener('error', (e) => window.uncaught.push(e.message));
    window.addEventListener('unhandledrejection', (e) => window.uncaught.push(String(e.reason)));
  });
  return page;
}

// The uncaught errors of a page or frame once it has loaded.
async function uncaught(frame) {
  await frame.waitForFunction(() => document.readyState === 'complete');
  return frame.evaluate(() => window.uncaught);
}

const started = () => typeof graviskPage === 'object' && graviskPage.game !== 0;

async function visit(page, url) {
  await page.goto(url);
  await page.waitForFunction(started, {timeout: 20000});
}

// Once the service worker has kept the release and controls the page.
async function kept(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 20000});
  return page.evaluate(() => caches.keys());
}

// PNG width and height from the header.
function pngSize(bytes) {
  assert.strictEqual(bytes.subarray(1, 4).toString('latin1'), 'PNG');
  return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

async function get(url) {
  const response = await fetch(url);
  assert.strictEqual(response.status, 200, url);
  return Buffer.from(await response.arrayBuffer());
}

test('the manifest has what an installed app needs and Chromium finds the app installable', async () => {
  const server = await lib.serve(lib.WEBAPP, FOLDER);
  const browser = await lib.launch();
  try {
    const page = await newTab(browser);
    await visit(page, server.url);
    await kept(page);
    const client = await page.target().createCDPSession();
    const {url, errors, data} = await client.send('Page.getAppManifest');
    assert.deepStrictEqual(errors, []);
    assert.strictEqual(url, server.url + 'manifest.webmanifest');
    const manifest = JSON.parse(data);
    assert.strictEqual(manifest.name, 'Gravisk V2.0');
    assert.ok(manifest.short_name && manifest.short_name.length <= 12, `short_name ${manifest.short_name}`);
    assert.strictEqual(manifest.display, 'standalone');
    for (const key of ['start_url', 'scope', 'id']) {
      assert.ok(new URL(manifest[key], url).href.startsWith(server.url), `${key} ${manifest[key]}`);
    }
    for (const key of ['theme_color', 'background_color']) assert.match(manifest[key], /^#[0-9a-f]{6}$/i);
    const icons = [];
    for (const icon of manifest.icons) {
      assert.strictEqual(pngSize(await get(new URL(icon.src, url))), icon.sizes, icon.src);
      icons.push(`${icon.sizes} ${icon.purpose || 'any'}`);
    }
    for (const want of ['192x192 any', '512x512 any', '512x512 maskable']) {
      assert.ok(icons.includes(want), `no ${want} icon among ${icons.join(', ')}`);
    }

    const head = await page.evaluate(() => ({
      touchIcon: document.querySelector('link[rel="apple-touch-icon"]').href,
      theme: document.querySelector('meta[name="theme-color"]').content,
    }));
    assert.strictEqual(head.theme, manifest.theme_color);
    assert.strictEqual(pngSize(await get(head.touchIcon)), '180x180');

    const {installabilityErrors} = await client.send('Page.getInstallabilityErrors');
    assert.deepStrictEqual(installabilityErrors, []);
    assert.deepStrictEqual([page.errors, await uncaught(page)], [[], []]);
  } finally {
    await browser.close();
    await server.close();
  }
});

test('after one visit the game opens and plays with the server gone', async () => {
  const server = await lib.serve(lib.WEBAPP, FOLDER);
  const browser = await lib.launch();
  try {
    const page = await newTab(browser);
    await visit(page, server.url);
    assert.strictEqual((await kept(page)).length, 1);
    await server.close();
    await assert.rejects(fetch(server.url), 'the server still answers');

    await page.reload();
    await page.waitForFunction(started, {timeout: 20000});
    await lib.expectPicture(page, [], 'offline start');
    await lib.press(page, ['Right', 'Down']);
    await lib.expectPicture(page, ['Right', 'Down'], 'offline walk');
    await lib.shot(page, 'offline-reload');
    assert.deepStrictEqual([page.errors, await uncaught(page)], [[], []]);
  } finally {
    await browser.close();
    await server.close();
  }
});

// Once the registration's newest worker has installed or failed to.
async function updateOutcome() {
  const registration = await navigator.serviceWorker.getRegistration();
  const outcome = (worker) => new Promise((resolve) => {
    const check = () => {
      if (worker.state === 'redundant' || worker.state === 'activated') resolve(worker.state);
    };
    worker.addEventListener('statechange', check);
    check();
  });
  if (registration.installing) return outcome(registration.installing);
  const found = new Promise((resolve) => {
    registration.addEventListener('updatefound', () => resolve(outcome(registration.installing)));
  });
  return registration.update().then(() => found, (e) => `update failed: ${e}`);
}

test('a new release on the server replaces the old one by the second visit, never mixed with it',
    async () => {
      const work = fs.mkdtempSync(path.join(os.tmpdir(), 'gravisk-release-'));
      const served = path.join(work, 'served');
      fs.cpSync(lib.WEBAPP, served, {recursive: true});
      // The next release: the page changed by one line, the app made again from it.
      const changed = path.join(work, 'gravisk.html');
      fs.writeFileSync(changed, fs.readFileSync(lib.PAGE, 'utf8')
          .replace('</head>', '<meta name="release" content="next">\n</head>'));
      const next = path.join(work, 'next');
      execFileSync(process.execPath, [path.join(SOURCE, 'src/web/app/make_app.js'), changed,
        path.join(SOURCE, 'data/linux/gravisk.svg'), '2.0', next]);
      const release = () => page.evaluate(() => {
        const meta = document.querySelector('meta[name="release"]');
        return meta ? meta.content : 'first';
      });

      const server = await lib.serve(served, FOLDER);
      const browser = await lib.launch();
      let page;
      try {
        page = await newTab(browser);
        await visit(page, server.url);
        const first = await kept(page);
        assert.strictEqual(first.length, 1);

        // Halfway through the upload the new worker is there, the old page still:
        // the new worker fails, the old release stays whole.
        fs.copyFileSync(path.join(next, 'sw.js'), path.join(served, 'sw.js'));
        await visit(page, server.url);
        assert.strictEqual(await page.evaluate(updateOutcome), 'redundant');
        assert.deepStrictEqual(await page.evaluate(() => caches.keys()), first);
        assert.strictEqual(await release(), 'first');

        // The upload done: the first visit after it may still show the old page,
        // but its worker takes over and drops the old release.
        for (const name of fs.readdirSync(next)) {
          fs.copyFileSync(path.join(next, name), path.join(served, name));
        }
        await visit(page, server.url);
        await page.waitForFunction(async (old) => {
          const names = await caches.keys();
          return names.length === 1 && names[0] !== old;
        }, {timeout: 20000}, first[0]);

        await visit(page, server.url);
        assert.strictEqual(await release(), 'next', 'the second visit shows the new release');
        await lib.expectPicture(page, [], 'the new release');
        // Offline, the new release plays, all of it kept.
        await server.close();
        await page.reload();
        await page.waitForFunction(started, {timeout: 20000});
        assert.strictEqual(await release(), 'next', 'offline after the new release');
        assert.deepStrictEqual([page.errors, await uncaught(page)], [[], []]);
      } finally {
        await browser.close();
        await server.close();
        fs.rmSync(work, {recursive: true, force: true});
      }
    });

// Whether the elements are inside the frame's viewport, and the frame unscrolled.
function insideFrame(selectors) {
  const root = document.documentElement;
  return selectors.filter((s) => {
    const r = document.querySelector(s).getBoundingClientRect();
    return !(r.left >= 0 && r.top >= 0 && r.right <= root.clientWidth && r.bottom <= root.clientHeight);
  }).concat(scrollX || scrollY ? [`frame scrolled to ${scrollX}, ${scrollY}`] : []);
}

test('framed by another site, a click gives the game the keys and the parent never scrolls',
    async () => {
      const game = await lib.serve(lib.WEBAPP, FOLDER);
      // A game site on another host name and port: a long page with the game in
      // two frames, one of them sandboxed without storage or a service worker.
      const siteDir = fs.mkdtempSync(path.join(os.tmpdir(), 'gravisk-site-'));
      fs.writeFileSync(path.join(siteDir, 'index.html'), `<!doctype html>
<meta charset="utf-8"><title>A game site</title><link rel="icon" href="data:,">
<style>body { margin: 0; height: 3000px; background: #eee; } iframe { display: block; margin: 8px; }</style>
<iframe id="open" src="${game.url}" width="460" height="280"></iframe>
<iframe id="sandboxed" src="${game.url}" width="460" height="280" sandbox="allow-scripts"></iframe>`);
      const site = await lib.serve(siteDir);
      const browser = await lib.launch();
      try {
        const page = await newTab(browser, {width: 800, height: 700});
        // Now and then (one run in ten, the same before the game had its newer
        // parts) puppeteer never reaches the scripts of one of the two frames, which
        // are out of process and made as the page loads; it is not the page's fault.
        // The site is then loaded once more, and both games must start.
        const load = async () => {
          await page.goto(site.url.replace('127.0.0.1', 'localhost'));
          const loaded = {};
          for (const id of ['open', 'sandboxed']) {
            const element = await page.$(`#${id}`);
            loaded[id] = {frame: await element.contentFrame(), box: await element.boundingBox()};
            await loaded[id].frame.waitForFunction(started, {timeout: 15000}).catch((e) => {
              throw new Error(`the ${id} frame's game did not start: ${e.message}`);
            });
          }
          return loaded;
        };
        const frames = await load().catch((e) => {
          console.error(`loading the site once more: ${e.message}`);
          return load();
        });
        assert.strictEqual(await frames.sandboxed.frame.evaluate(() => {
          try {
            return typeof navigator.serviceWorker;
          } catch (e) {
            return e.name;
          }
        }), 'SecurityError', 'the sandboxed frame is refused a service worker');

        // A click on a frame, outside the game's window, and keys play that frame only.
        const play = async (id, keys) => {
          await page.mouse.click(frames[id].box.x + 4, frames[id].box.y + 4);
          await lib.press(page, keys);
        };
        const scrolled = () => page.evaluate(() => new Promise((resolve) =>
          requestAnimationFrame(() => requestAnimationFrame(() => resolve([scrollX, scrollY])))));
        const openKeys = ['Down', 'Down', 'Right', 'Up', 'Left', 'Down'];
        await play('open', openKeys);
        await lib.expectPicture(frames.open.frame, openKeys, 'open frame');
        await lib.expectPicture(frames.sandboxed.frame, [], 'sandboxed frame, no keys');
        assert.deepStrictEqual(await scrolled(), [0, 0], 'the parent scrolled');
        await play('sandboxed', ['Right', 'Down']);
        await lib.expectPicture(frames.sandboxed.frame, ['Right', 'Down'], 'sandboxed frame');
        await lib.expectPicture(frames.open.frame, openKeys, 'open frame after the other played');
        assert.deepStrictEqual(await scrolled(), [0, 0], 'the parent scrolled');
        await lib.shot(page, 'framed');

        // The window, its close box and the message box stay inside the frame.
        assert.deepStrictEqual(await frames.open.frame.evaluate(insideFrame,
            ['#game-window', '#close-box']), []);
        await play('open', ['F1', 'F1', ...lib.SOLUTION]);
        await frames.open.frame.waitForFunction(() => graviskPage.boxOpen);
        assert.deepStrictEqual(await frames.open.frame.evaluate(insideFrame, ['#box', '#box-ok']), []);
        await lib.shot(page, 'framed-box');
        assert.deepStrictEqual(await scrolled(), [0, 0], 'the parent scrolled');
        assert.deepStrictEqual([page.errors, await uncaught(frames.open.frame),
          await uncaught(frames.sandboxed.frame)], [[], [], []]);
      } finally {
        await browser.close();
        await site.close();
        await game.close();
        fs.rmSync(siteDir, {recursive: true, force: true});
      }
    });
