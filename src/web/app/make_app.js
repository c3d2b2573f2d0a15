// Makes the web app folder from the built page: index.html (the page linking its
// manifest and icons and registering its service worker), the manifest, the icons
// drawn from the program's SVG with rsvg-convert ($RSVG_CONVERT), and the service
// worker named after this release. usage: node make_app.js PAGE SVG VERSION OUT_DIR
'use strict';
const {execFileSync} = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');

const [page, svg, version, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node make_app.js PAGE SVG VERSION OUT_DIR');
  process.exit(2);
}

// The page's own background, the desktop blue around the window: the splash
// screen and the phone's bars show the same.
const COLOUR = '#3a6ea5';

// The program's icon as a PNG of size × size. A maskable icon fills its square:
// the picture sits on the background inside the middle circle that every mask keeps.
function icon(size, maskable) {
  let source = fs.readFileSync(svg, 'utf8');
  if (maskable) {
    const open = source.indexOf('>', source.indexOf('<svg')) + 1;
    const close = source.lastIndexOf('</svg>');
    source = '<svg xmlns="http://www.w3.org/2000/svg" width="512" height="512" viewBox="0 0 32 32">' +
      `<rect width="32" height="32" fill="${COLOUR}"/>` +
      `<g transform="translate(16 16) scale(0.6) translate(-16.5 -16)">${source.slice(open, close)}</g></svg>`;
  }
  return execFileSync(process.env.RSVG_CONVERT || 'rsvg-convert', ['-w', String(size), '-h', String(size)], {input: source});
}

const manifest = {
  id: './',
  name: 'Gravisk V2.0',
  short_name: 'Gravisk',
  description: 'A small tile puzzle game: dig the grass, push the rocks, reach the door.',
  lang: 'en',
  start_url: './',
  scope: './',
  display: 'standalone',
  background_color: COLOUR,
  theme_color: COLOUR,
  icons: [
    {src: 'icon-192.png', sizes: '192x192', type: 'image/png'},
    {src: 'icon-512.png', sizes: '512x512', type: 'image/png'},
    {src: 'icon-maskable-512.png', sizes: '512x512', type: 'image/png', purpose: 'maskable'},
  ],
};

// iOS takes the home screen's icon from apple-touch-icon (180 px, opaque: it
// rounds the corners itself) and the bars' colour from theme-color.
const head = [
  '<link rel="manifest" href="manifest.webmanifest">',
  '<link rel="apple-touch-icon" href="apple-touch-icon.png">',
  `<meta name="theme-color" content="${COLOUR}">`,
].join('\n') + '\n';
const register = `<script>\n${fs.readFileSync(path.join(__dirname, 'register.js'), 'utf8')}</script>\n`;

// The page with the head's lines before </head> and the registration before </body>.
function indexHtml() {
  const html = fs.readFileSync(page, 'utf8');
  const headEnd = html.indexOf('</head>');
  const bodyEnd = html.lastIndexOf('</body>');
  if (headEnd < 0 || bodyEnd < headEnd || html.indexOf('</head>', headEnd + 1) >= 0) {
    throw new Error(`${page}: no single </head> before </body>`);
  }
  return html.slice(0, headEnd) + head + html.slice(headEnd, bodyEnd) + register + html.slice(bodyEnd);
}

const files = {
  'index.html': indexHtml(),
  'manifest.webmanifest': JSON.stringify(manifest, null, 2) + '\n',
  'icon-192.png': icon(192, false),
  'icon-512.png': icon(512, false),
  'icon-maskable-512.png': icon(512, true),
  'apple-touch-icon.png': icon(180, true),
};

// The release is named after its version and the digest of all its files: any
// change to the served files is a new release, with a new cache.
const names = Object.keys(files).sort();
const digest = (data) => crypto.createHash('sha256').update(data);
const list = names.map((name) => [name, 'sha256-' + digest(files[name]).digest('base64')]);
const release = `gravisk-${version}-` +
  digest(list.map((entry) => entry.join(' ')).join('\n')).digest('hex').slice(0, 16);
const worker = fs.readFileSync(path.join(__dirname, 'sw.js'), 'utf8');
if (!worker.includes("'@RELEASE@'") || !worker.includes('/* @FILES@ */ []')) {
  throw new Error('sw.js: no @RELEASE@ or @FILES@ to fill in');
}
files['sw.js'] = worker.replace("'@RELEASE@'", JSON.stringify(release))
  .replace('/* @FILES@ */ []', `[\n${list.map((entry) => '  ' + JSON.stringify(entry)).join(',\n')},\n]`);

fs.mkdirSync(out, {recursive: true});
for (const old of fs.readdirSync(out)) {
  if (!(old in files)) fs.rmSync(path.join(out, old));
}
for (const [name, data] of Object.entries(files)) fs.writeFileSync(path.join(out, name), data);
console.log(`${release}: ${Object.keys(files).length} files in ${out}`);
