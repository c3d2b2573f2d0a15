// Plays gravisk.html in Chromium (headful, its accessibility on) while Orca listens
// (play), then prints what Orca said after each key from the "SPEECH OUTPUT" lines of
// its debug file (report). A level
// load, a blocked move three times, a walk, a push, the keys that read the board,
// level keys, and level 3 won: the box, then OK. The report checks that Orca said the
// headless game's sentences in order (the box's "You won!" for the winning key, the
// next level after OK); exit status 1 if not. Started by listen-web.sh, which sets up
// X, D-Bus and Orca.
// usage: node scripts/listen-web.js PAGE ORCA_DEBUG_FILE PROFILE_DIR play|report TIMES_FILE
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const puppeteer = require('puppeteer-core');

const [page, debugFile, profile] = process.argv.slice(2);
const HEADLESS = process.env.GRAVISK_HEADLESS;

const SOLUTION = fs.readFileSync(path.join(__dirname, '../tests/support/level_solutions.txt'), 'utf8')
    .split('\n').find((line) => line.startsWith('3 ')).split(' ').slice(1);
const KEYS = ['Left', 'Left', 'Left', 'Right', 'Right', 'Right', 'Space', 'P', 'Digit3', 'H', 'F1', 'F1', ...SOLUTION, 'Enter'];
const BROWSER_KEY = {Left: 'ArrowLeft', Up: 'ArrowUp', Right: 'ArrowRight', Down: 'ArrowDown', P: 'KeyP', H: 'KeyH'};

// The headless game's sentences, one for the start and one for each game key; the win's
// box speaks for its key, and the next level is the sentence of the Enter that closes it.
function expected() {
  const game = KEYS.filter((k) => k !== 'Enter');
  const lines = execFileSync(HEADLESS, ['--say', ...game], {encoding: 'utf8'}).split('\n');
  const said = lines.filter((l) => l.startsWith('say ')).map((l) => l.replace(/^say [^:]*: /, ''));
  const want = [said[0]];
  for (let i = 0; i < game.length; ++i) want.push(i === game.length - 1 ? 'You won!' : said[i + 1]);
  want.push(said[game.length]);
  return want;
}

// What Orca said, each line with the time it was said (ms since midnight, local time).
function spoken() {
  return fs.readFileSync(debugFile, 'utf8').split('\n').map((line) => {
    const m = /^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)'(?:[{[ \r]|$)/.exec(line);
    return m && {at: ((Number(m[1]) * 60 + Number(m[2])) * 60 + Number(m[3])) * 1000, text: m[4]};
  }).filter(Boolean);
}

const sinceMidnight = (ms) => {
  const d = new Date(ms);
  return ((d.getHours() * 60 + d.getMinutes()) * 60 + d.getSeconds()) * 1000 + d.getMilliseconds();
};

// Plays the keys, a second apart, and writes when each was pressed to `times`.
async function play(times) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: false, userDataDir: profile,
    pipe: true, defaultViewport: null,
    args: ['--no-sandbox', '--disable-gpu', '--force-renderer-accessibility', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync', '--window-size=900,700'],
  });
  const pressed = [{key: '(the page opens)', at: sinceMidnight(Date.now())}];
  try {
    const [tab] = await browser.pages();
    await tab.goto('file://' + path.resolve(page));
    await tab.bringToFront();
    await tab.waitForFunction(() => typeof graviskPage === 'object' && graviskPage.game !== 0);
    await new Promise((r) => setTimeout(r, 3000));
    for (const key of KEYS) {
      pressed.push({key, at: sinceMidnight(Date.now())});
      await tab.keyboard.press(BROWSER_KEY[key] || key);
      await new Promise((r) => setTimeout(r, 1000));
    }
    // Time for the last key's words before Orca is stopped.
    await new Promise((r) => setTimeout(r, 4000));
  } finally {
    await browser.close();
  }
  fs.writeFileSync(times, JSON.stringify(pressed));
}

// Prints what Orca said after each key, and checks that it said the headless game's
// sentences in order; 1 if it left any out.
function report(times) {
  const pressed = JSON.parse(fs.readFileSync(times, 'utf8'));
  const lines = spoken().filter((l) => l.at >= pressed[0].at);
  const want = expected();
  for (let i = 0; i < pressed.length; ++i) {
    console.log(pressed[i].key);
    const end = i + 1 < pressed.length ? pressed[i + 1].at : Infinity;
    for (const line of lines.filter((l) => l.at >= pressed[i].at && l.at < end)) {
      console.log(`    Orca: ${line.text}`);
    }
  }
  let next = 0;
  for (const line of lines) if (next < want.length && line.text === want[next]) ++next;
  if (next < want.length) {
    console.log(`Orca did not say, in this order: ${want.slice(next).join(' | ')}`);
    return 1;
  }
  console.log(`Orca said all ${want.length} of the game's sentences in order.`);
  return 0;
}

const [mode, times] = [process.argv[5], process.argv[6]];
if (mode === 'play') {
  play(times).catch((e) => {
    console.error(e);
    process.exit(2);
  });
} else {
  process.exit(report(times));
}
