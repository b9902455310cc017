'use strict';
// Plays the browser build in headless Chromium, served from 127.0.0.1, and
// checks what a player would see. Run by scripts/web-test:
//   node web_test.js WEB_DIR DESKTOP_SPLASH_PNG OUT_DIR
// WEB_DIR holds the built page; DESKTOP_SPLASH_PNG is the desktop build's first
// splash frame; OUT_DIR receives screenshots and the measured figures.
// Prints one line per check and "N passed, N failed" last; exits 1 on a failure.
//
// Only the first visit sits through the splash's fifteen seconds; later visits
// (URL fragment #warp) run the page's clock ahead over every wait until the
// title screen is up, so the game starts as it always does, only sooner.

const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');
const {treeTicks, treeResidentBytes} = require('./proc_ticks.js');

const [webDir, desktopSplash, outDir] = process.argv.slice(2);
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const SPLASH_MS = 15000;  // three pictures of five seconds each
const KILOBYTE = 1024;
const MEGABYTE = 1000 * 1000;

let passed = 0;
let failed = 0;
function check(name, ok, detail) {
  if (ok) ++passed;
  else ++failed;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

const sleep = ms => new Promise(done => setTimeout(done, ms));

// ---- The server: build/web as any static server would give it, compressed
// with gzip as servers do, counting the bytes sent.
const TYPES = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};
let bytesSent = 0;
let bytesRaw = 0;
const requested = new Set();  // every path asked for
const server = http.createServer((request, response) => {
  let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  requested.add(name);
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(webDir, path.normalize(name));
  fs.readFile(file, (error, data) => {
    if (error) {
      response.writeHead(404);
      response.end();
      return;
    }
    const headers = {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Last-Modified': fs.statSync(file).mtime.toUTCString(),
    };
    bytesRaw += data.length;
    if (/\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      data = zlib.gzipSync(data, {level: 9});
      headers['Content-Encoding'] = 'gzip';
    }
    bytesSent += data.length;
    response.writeHead(200, headers);
    response.end(data);
  });
});

// ---- Reading a PNG as the desktop tests write it: 8-bit RGB, unfiltered rows.
function readPng(file) {
  const png = fs.readFileSync(file);
  let offset = 8;
  let width = 0;
  let height = 0;
  const idat = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset);
    const type = png.toString('ascii', offset + 4, offset + 8);
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 2) throw new Error(`${file}: not 8-bit RGB`);
    }
    if (type === 'IDAT') idat.push(body);
    offset += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = y * (width * 3 + 1);
    if (raw[row] !== 0) throw new Error(`${file}: filtered rows are not read here`);
    raw.copy(rgb, y * width * 3, row + 1, row + 1 + width * 3);
  }
  return {width, height, rgb};
}

// ---- What the page lets the test watch. The page calls window.onGameFlip
// on every flipped frame and window.onGameText for every line of text the
// game draws: the flips go to the test on the console, the first frame's
// pixels and the picture's place on the page are kept, the texts are
// gathered. Until the first key the test only listens: puppeteer's evaluate
// counts as a user's gesture, which lets sound start.
function watchGame() {
  window.firstFrame = null;
  window.textsSeen = new Set();
  window.onGameText = text => window.textsSeen.add(text);
  const picture = () => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return {x: r.x, y: r.y, width: r.width, height: r.height};
  };
  window.onGameFlip = count => {
    // The test may make every frame slow (window.slowFrameMs of work more).
    const busyUntil = performance.now() + (window.slowFrameMs || 0);
    while (performance.now() < busyUntil) {
    }
    console.debug(`flip ${count} ${performance.now()}`);
    window.flipCount = count;
    if (count === 1) {
      const canvas = document.getElementById('canvas');
      const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
      window.firstFrame = {width: canvas.width, height: canvas.height, data: pixels.data};
      window.firstPicture = picture();
    }
    if (count === 4) {
      window.titlePicture = picture();
      if (window.stopWarp) window.stopWarp();
    }
  };
  // The clock runs ahead over each wait until the title (#warp).
  if (location.hash.includes('warp')) {
    let ahead = 0;
    let warping = true;
    const setTimeoutNow = window.setTimeout.bind(window);
    // A message comes back at once; a timeout of 0 waits 4 ms when nested.
    const channel = new MessageChannel();
    const due = [];
    channel.port1.onmessage = () => due.shift()();
    const performanceNow = performance.now.bind(performance);
    const dateNow = Date.now;
    performance.now = () => performanceNow() + ahead;
    Date.now = () => dateNow() + ahead;
    window.setTimeout = (callback, ms, ...rest) => {
      if (!warping || !(ms > 0)) return setTimeoutNow(callback, ms, ...rest);
      ahead += ms;
      due.push(() => callback(...rest));
      channel.port2.postMessage(0);
      return 0;
    };
    window.stopWarp = () => warping = false;
  }
}

let flipTimes = [];  // page time of each flip since the page was loaded
function reportFlip(count, time) {
  if (count === 1) flipTimes = [];
  // A report from the page before a reload may come late.
  if (count === flipTimes.length + 1) flipTimes.push(time);
}

function flips() {
  return flipTimes.length;
}

async function waitForFlips(page, count, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    if (flips() >= count) return true;
    await sleep(50);
  }
  return false;
}

// The gaps between flips from the n-th on, in ms.
function gapsSince(n) {
  const times = flipTimes;
  const gaps = [];
  for (let i = Math.max(n, 1); i < times.length; ++i) gaps.push(times[i] - times[i - 1]);
  return gaps;
}

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

// The canvas as the game last drew it: RGBA bytes.
async function canvasPixels(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    }
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// Pixels of the hearts' pink (red, drawn see-through over the sand) where
// player two's hearts are, beside the score in the middle of the beach.
function heartPixelsOfPlayerTwo(rgba) {
  let count = 0;
  for (let y = 200; y < 280; ++y) {
    for (let x = 455; x < 600; ++x) {
      const [r, g, b] = rgba.subarray((y * 640 + x) * 4);
      if (r > 180 && g > 100 && r - g > 50 && Math.abs(g - b) < 30) ++count;
    }
  }
  return count;
}


// Share of one core used by Chromium over ms.
async function cpuShare(browser, ms) {
  const pid = browser.process().pid;
  const before = treeTicks(pid);
  await sleep(ms);
  return (treeTicks(pid) - before) / (ms / 1000) / 100;  // 100 ticks a second
}

async function press(page, key, pauseMs = 200) {
  await page.keyboard.press(key);
  await sleep(pauseMs);
}

// The best match on the canvas for a cell of a sheet in the data package
// (cyan see-through): {x, y, same} where more than 80% of a cell's visible
// pixels match, or null. A cell is the sheet's height unless
// search.cellHeight says otherwise. The search covers every place, or the row at
// search.top alone; search.quick gives up on a place whose first pixels mostly
// differ, which makes a search of the whole screen affordable.
async function bestCell(page, sheetFile, search) {
  return page.evaluate(async (file, {cellWidth, cellHeight: height, columns, rows, top, quick}) => {
    const bitmap = await createImageBitmap(new Blob([FS.readFile(file)]));
    const sheetCanvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const sheetContext = sheetCanvas.getContext('2d');
    sheetContext.drawImage(bitmap, 0, 0);
    const sheet = sheetContext.getImageData(0, 0, bitmap.width, bitmap.height);
    const canvas = document.getElementById('canvas');
    const screen = canvas.getContext('2d').getImageData(0, 0, 640, 480).data;
    const cellHeight = height || sheet.height;
    const tops = top === undefined ? [0, 480 - cellHeight] : [top, top];
    let best = null;
    for (let row = 0; row < rows; ++row) {
      for (let column = 0; column < columns; ++column) {
        const visible = [];
        for (let y = 0; y < cellHeight; ++y) {
          for (let x = 0; x < cellWidth; ++x) {
            const i = ((row * cellHeight + y) * sheet.width + column * cellWidth + x) * 4;
            const d = sheet.data;
            if (!(d[i] === 0 && d[i + 1] === 255 && d[i + 2] === 255)) visible.push([x, y, d[i], d[i + 1], d[i + 2]]);
          }
        }
        for (let y0 = tops[0]; y0 <= tops[1]; ++y0) {
          for (let left = 0; left + cellWidth <= 640; ++left) {
            let same = 0;
            for (let k = 0; k < visible.length; ++k) {
              const [x, y, r, g, b] = visible[k];
              const i = ((y0 + y) * 640 + left + x) * 4;
              if (screen[i] === r && screen[i + 1] === g && screen[i + 2] === b) ++same;
              else if (quick && (k >= 8 ? same < k / 2 : same < k)) break;
            }
            if (same > visible.length * 0.8 && (!best || same > best.same)) best = {x: left, y: y0, same};
          }
        }
      }
    }
    return best;
  }, sheetFile, search);
}

// Where a sprite of a one-row sheet of cells 40 wide is drawn, or null.
async function findSprite(page, sheetFile, cells) {
  return bestCell(page, sheetFile, {cellWidth: 40, columns: cells, rows: 1, quick: true});
}

// Holds a key down for about frames flipped frames.
async function holdFor(page, key, frames) {
  const start = flips();
  await page.keyboard.down(key);
  while (flips() < start + frames) await sleep(5);
  await page.keyboard.up(key);
}

// The records file as the page holds it, or what the records directory holds
// when the file is not there.
async function recordsFile(page) {
  return page.evaluate(() => {
    try {
      return FS.readFile('/records/records.dat', {encoding: 'utf8'});
    } catch (error) {
      return `no records.dat; /records holds ${JSON.stringify(FS.readdir('/records'))}`;
    }
  });
}

// ---- Later visits, each in a page of its own.

// How many frames the page has flipped since it was loaded.
async function frameCount(page) {
  return page.evaluate(() => window.flipCount || 0);
}

async function waitForFrame(page, count, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    if (await frameCount(page) >= count) return true;
    await sleep(20);
  }
  return false;
}

// Loads url in page and times its first frame and its title screen (the
// fourth frame), in ms from the start of the load; null when not reached.
async function startVisit(page, url) {
  const start = Date.now();
  await page.goto(url);
  const firstMs = await waitForFrame(page, 1, 10000) ? Date.now() - start : null;
  const titleMs = await waitForFrame(page, 4, SPLASH_MS + 5000) ? Date.now() - start : null;
  return {firstMs, titleMs};
}

async function openPage(browser, url, viewport, beforeLoad) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', error => page.errors.push(error.message));
  page.on('console', message => {
    if (message.type() === 'error') page.errors.push(message.text());
  });
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument(watchGame);
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  page.visit = await startVisit(page, url);
  return page;
}

// The centre of the control whose name begins with label (its visible
// label), in page pixels.
async function controlAt(page, label) {
  return page.evaluate(name => {
    const control = document.querySelector(`button[aria-label^="${name}"]`);
    const r = control.getBoundingClientRect();
    const shown = r.width > 0 && getComputedStyle(control).display !== 'none';
    return shown ? {x: r.x + r.width / 2, y: r.y + r.height / 2, width: r.width, height: r.height}
                 : null;
  }, label);
}

// Fingers down on the controls labelled, held while frames frames flip,
// then lifted, through the browser's touch input (several points at once).
async function touchFor(page, labels, frames) {
  const session = await page.target().createCDPSession();
  const points = [];
  for (const [id, label] of labels.entries()) {
    const at = await controlAt(page, label);
    if (!at) throw new Error(`no control "${label}" on the page`);
    points.push({x: at.x, y: at.y, id});
  }
  const start = await frameCount(page);
  await session.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: points});
  while (await frameCount(page) < start + frames) await sleep(5);
  await session.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  await session.detach();
}

// A finger held on a control for ms milliseconds (the game may end meanwhile).
async function holdTouch(page, label, ms) {
  const at = await controlAt(page, label);
  if (!at) throw new Error(`no control "${label}" on the page`);
  const session = await page.target().createCDPSession();
  await session.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{x: at.x, y: at.y, id: 0}]});
  await sleep(ms);
  await session.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  await session.detach();
}

async function tap(page, label) {
  await touchFor(page, [label], 1);
  await sleep(150);
}

// The x at which a pirate of sheet (four rows of three 80 x 80 cells) is
// drawn at height y, looked for from x 0 to 560; null when no cell is seen.
async function pirateX(page, sheet, y) {
  const best = await bestCell(page, sheet, {cellWidth: 80, cellHeight: 80, columns: 3, rows: 4, top: y});
  return best && best.x;
}

// pirateX, looked at again for a few frames when a passing cannonball or
// coin hides the pirate: for a pirate standing still.
async function standingPirateX(page, sheet, y) {
  for (let look = 0; look < 6; ++look) {
    const x = await pirateX(page, sheet, y);
    if (x !== null) return x;
    await sleep(120);
  }
  return null;
}

// The game goes on while the test looks: the cannonball may cover a pirate,
// or a hit or the ghost may leave him see-through for ten seconds, so an
// attempt that finds no pirate is made again a little later.
async function tries(count, attempt) {
  let result = null;
  for (let i = 0; i < count && !(result && result.ok); ++i) {
    if (i > 0) await sleep(3000);
    result = await attempt(i);
  }
  return result;
}

// A touch on pirate one's Left in a solo game just begun: where he stood and
// where he stands 3 frames later (the first look at the start, at 280).
async function touchedLeft(page) {
  return tries(4, async i => {
    const from = await standingPirateX(page, PIRATE_ONE, 120);
    await touchFor(page, ['Pirate one left'], 3);
    const to = await standingPirateX(page, PIRATE_ONE, 120);
    return {ok: (i > 0 || from === 280) && from !== null && to !== null && to < from, from, to};
  });
}

// Enter through the title and the hints to the mode screen, by touch.
async function toModeScreen(page) {
  for (let i = 0; i < 3; ++i) await tap(page, 'Enter');
}

const PHONE = {isMobile: true, hasTouch: true};

// A standard gamepad, stubbed in navigator.getGamepads, plugged by plugPad().
function padStub() {
  window.stubPads = [null, null, null, null];
  navigator.getGamepads = () => window.stubPads;
  window.plugPad = () => window.stubPads[0] = {
    index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
    buttons: Array.from({length: 17}, () => ({pressed: false, value: 0})),
  };
}
const PIRATE_ONE = 'sprites/pirate_ssheet.png';
const PIRATE_TWO = 'sprites/pirate2_ssheet.png';

// The translation of msgid in po/LANG.po, "" while none is written.
function translation(language, msgid) {
  const po = fs.readFileSync(path.join(__dirname, '..', '..', 'po', language + '.po'), 'utf8');
  const strings = '((?:"(?:[^"\\\\]|\\\\.)*"\\s*)+)';
  const entry = new RegExp(`^msgid ${strings}msgstr ${strings}`, 'gm');
  const text = quoted => quoted.trim().split(/\n\s*/).map(JSON.parse).join('');
  for (const m of po.matchAll(entry)) {
    if (text(m[1]) === msgid) return text(m[2]);
  }
  return '';
}

// ---- The browser's language: the page follows navigator.languages and
// fetches that language's catalog, and only that one, before the game
// starts; the title screen then says its words in it.
async function languageVisits(browser, url) {
  const msgid = 'Next ~ Enter';
  for (const visit of [{tags: ['de-DE', 'de', 'en'], code: 'de'}, {tags: ['ja-JP', 'ja'], code: 'ja'}]) {
    requested.clear();
    const languages = `Object.defineProperty(navigator, 'languages', {get: () => ${
        JSON.stringify(visit.tags)}}); Object.defineProperty(navigator, 'language', {get: () => ${
        JSON.stringify(visit.tags[0])}});`;
    const page = await openPage(browser, url + '#warp', {width: 1000, height: 600}, languages);
    await page.evaluate(() => new Promise(done => setTimeout(done, 1000)));
    const seen = await page.evaluate(() => Array.from(window.textsSeen));
    const want = translation(visit.code, msgid) || msgid;
    const catalogs = Array.from(requested).filter(name => name.startsWith('/locale/'));
    check(`${visit.tags[0]}: the catalog ${visit.code}.mo alone is fetched`,
          catalogs.length === 1 && catalogs[0] === `/locale/${visit.code}.mo`, catalogs.join(' '));
    check(`${visit.tags[0]}: the title screen says "${want}"` +
              (want === msgid ? ' (po/' + visit.code + '.po has no translation of it yet)' : ''),
          seen.includes(want), seen.join(' | '));
    await page.screenshot({path: path.join(outDir, `language_${visit.code}_title.png`)});
    await page.close();
  }
}

// What the axe-core checker finds serious or critical on the page.
async function accessibilityFaults(page) {
  await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
  return page.evaluate(async () => {
    // Also a control's name that does not contain its visible label.
    const found = await axe.run(document, {rules: {'label-content-name-mismatch': {enabled: true}}});
    return found.violations.filter(v => v.impact === 'serious' || v.impact === 'critical')
        .map(v => `${v.id}: ${v.nodes.map(n => n.target.join(' ')).join(', ')}`);
  });
}

async function otherVisits(browser, url, figures) {
  // ---- The picture's size from the first frame on: a whole number of
  // device pixels per game pixel, as large as fits the room left beside the
  // key list (261 px wide on a desktop), its corner on a device pixel; below
  // one device pixel as large as fits; on a phone held upright, where whole
  // steps would leave more than a third of the width empty, the width, with
  // the controls below it.
  const views = [
    {name: 'phone upright', viewport: {width: 390, height: 844, ...PHONE}, want: [0, 0, 390, 292.5],
     turned: 'phone on its side'},
    {name: 'phone on its side', viewport: {width: 844, height: 390, ...PHONE}, want: [162, 0, 520, 390]},
    // 1170 x 2532 device pixels: one step, 640 of 1170 across, fills the width.
    {name: 'phone upright at 300%', viewport: {width: 390, height: 844, deviceScaleFactor: 3, ...PHONE},
     want: [0, 0, 390, 292.5]},
    // 1170 device pixels high: two steps, 960; the bars beside the picture
    // hold the controls.
    {name: 'phone on its side at 300%',
     viewport: {width: 844, height: 390, deviceScaleFactor: 3, ...PHONE},
     want: [(844 - 1280 / 3) / 2, 35, 1280 / 3, 320], clear: true},
    {name: 'small phone on its side at 300%',
     viewport: {width: 640, height: 360, deviceScaleFactor: 3, ...PHONE},
     want: [(640 - 1280 / 3) / 2, 20, 1280 / 3, 320], covered: 'smallPhoneControlsOverPicturePct'},
    {name: 'tablet', viewport: {width: 1024, height: 768, ...PHONE}, want: [192, 144, 640, 480]},
    // 1640 device pixels across: two steps.
    {name: 'tablet upright at 200%', viewport: {width: 820, height: 1180, deviceScaleFactor: 2, ...PHONE},
     want: [90, 67.5, 640, 480]},
    {name: '1366 x 768', viewport: {width: 1366, height: 768}, want: [232.5, 144, 640, 480]},
    // 1275 x 864 of room, 1594 x 1080 device pixels: two steps.
    {name: '1536 x 864 at 125%', viewport: {width: 1536, height: 864, deviceScaleFactor: 1.25},
     want: [125.5, 48, 1024, 768]},
    // 1179 x 900 of room, 2358 x 1800 device pixels: three steps.
    {name: '1440 x 900 at 200%', viewport: {width: 1440, height: 900, deviceScaleFactor: 2},
     want: [109.5, 90, 960, 720]},
    {name: '1920 x 1080', viewport: {width: 1920, height: 1080}, want: [189.5, 60, 1280, 960]},
  ];
  const same = (a, b) => a && b.every((v, i) => Math.abs([a.x, a.y, a.width, a.height][i] - v) < 1);
  for (const view of views) {
    const page = await openPage(browser, url + '#warp', view.viewport);
    const at = await page.evaluate(() => [window.firstPicture, window.titlePicture]);
    const ratio = view.viewport.deviceScaleFactor || 1;
    const onEdge = at[1] && [at[1].x, at[1].y].every(v => Math.abs(v * ratio - Math.round(v * ratio)) < 0.1);
    check(`${view.name}: the whole picture at its scale from the first frame on, on a device pixel`,
          same(at[0], view.want) && same(at[1], view.want) && onEdge,
          `first frame ${JSON.stringify(at[0])}, title ${JSON.stringify(at[1])}, want ${view.want}`);
    const size = view.viewport.width + 'x' + view.viewport.height + '@' + ratio;
    await page.screenshot({path: path.join(outDir, `view_${size}_title.png`)});
    if (view.viewport.hasTouch) {
      // With both pirates' controls shown, every control (and the page's
      // tools, full screen among them) is on the screen, at least 48 px
      // each way, and apart from every other; solid in the bars beside the
      // picture, see-through over it.
      const bad = await page.evaluate(() => {
        document.body.classList.add('two');
        window.dispatchEvent(new Event('resize'));
        const picture = document.getElementById('canvas').getBoundingClientRect();
        const across = (r, o) => r.x < o.right && o.x < r.right && r.y < o.bottom && o.y < r.bottom;
        const controls = Array.from(document.querySelectorAll('#touch button, #tools button'))
            .filter(b => b.getClientRects().length > 0);
        const rects = controls.map(b => [b.getAttribute('aria-label') || b.textContent, b.getBoundingClientRect()]);
        const wrong = [];
        const over = [];
        for (const [i, [name, r]] of rects.entries()) {
          if (r.width < 48 || r.height < 48 || r.x < 0 || r.y < 0 || r.right > innerWidth ||
              r.bottom > innerHeight) wrong.push(name);
          for (const [other, o] of rects) {
            if (name < other && across(r, o)) wrong.push(`${name} over ${other}`);
          }
          const alpha = Number((/rgba\(.*,\s*([\d.]+)\)/.exec(getComputedStyle(controls[i]).backgroundColor) || [0, 1])[1]);
          if (across(r, picture)) over.push(name);
          if (across(r, picture) !== alpha < 1) wrong.push(`${name} ${alpha < 1 ? 'see-through' : 'solid'}`);
        }
        // The share of the picture under controls, counted pixel by pixel.
        let covered = 0;
        for (let y = Math.floor(picture.top); y < picture.bottom; ++y) {
          for (let x = Math.floor(picture.left); x < picture.right; ++x) {
            if (rects.some(([, r]) => x + .5 >= r.left && x + .5 < r.right && y + .5 >= r.top && y + .5 < r.bottom)) ++covered;
          }
        }
        return {count: rects.length, wrong, over,
                full: rects.some(([name]) => name === 'Full screen'),
                coveredPct: Math.round(1000 * covered / (picture.width * picture.height)) / 10};
      });
      check(`${view.name}: 17 controls and tools on screen (Full screen among them), 48 px or larger, ` +
            'none over another, see-through only over the picture' + (view.clear ? ', none over it' : ''),
            bad.count === 17 && bad.full && bad.wrong.length === 0 && !(view.clear && bad.over.length),
            JSON.stringify(bad));
      if (view.covered) figures[view.covered] = bad.coveredPct;
      await page.screenshot({path: path.join(outDir, `view_${size}_two_players.png`)});
      await page.evaluate(() => document.body.classList.remove('two'));
    }
    const faults = await accessibilityFaults(page);
    check(`${view.name}: axe-core finds nothing serious`, faults.length === 0, faults.join(' | '));
    if (view.turned) {
      const turned = views.find(other => other.name === view.turned);
      await page.setViewport(turned.viewport);
      await sleep(300);
      const now = await page.evaluate(() => {
        const r = document.getElementById('canvas').getBoundingClientRect();
        return {x: r.x, y: r.y, width: r.width, height: r.height};
      });
      check(`${view.name}, turned: the picture as on a ${turned.name}`, same(now, turned.want),
            JSON.stringify(now));
    }
    check(`${view.name}: no errors on the page`, page.errors.length === 0, page.errors.join(' | '));
    await page.close();
  }

  // ---- Full screen, from its button: whole steps, unless they would leave
  // more than a third of the screen's height empty; then the height, filled.
  const fullScreens = [
    // One step, 480 of 768: 288 empty, more than 256.
    {viewport: {width: 1366, height: 768}, want: [171, 0, 1024, 768]},
    // Two steps, 960 of 1080: 120 empty.
    {viewport: {width: 1920, height: 1080}, want: [320, 60, 1280, 960]},
    // 1200 device pixels high: two steps, 480 of 600: 120 empty, less than 200.
    {viewport: {width: 1280, height: 600, deviceScaleFactor: 2}, want: [320, 60, 640, 480]},
  ];
  {
    const page = await openPage(browser, url + '#warp', fullScreens[0].viewport);
    for (const screen of fullScreens) {
      await page.setViewport(screen.viewport);
      await page.click('aside .fullscreen');
      await sleep(300);
      const now = await page.evaluate(() => {
        const r = document.getElementById('canvas').getBoundingClientRect();
        return {full: !!document.fullscreenElement, x: r.x, y: r.y, width: r.width, height: r.height};
      });
      await page.evaluate(() => document.exitFullscreen());
      await sleep(300);
      const size = screen.viewport.width + ' x ' + screen.viewport.height;
      check(`full screen at ${size}: the picture at ${screen.want[2]} x ${screen.want[3]}`,
            now.full && same(now, screen.want), JSON.stringify(now));
    }
    await page.close();
  }

  // ---- Touch play: a tap on pirate one's Left; a hidden page pauses, the
  // pause control resumes; Alt+Enter and F11 raise no error.
  {
    const page = await openPage(browser, url + '#warp', {width: 844, height: 390, ...PHONE});
    await toModeScreen(page);
    await tap(page, 'Enter');  // a solo game
    await sleep(300);
    const solo = await page.evaluate(() => document.body.classList.contains('two'));
    const pad = await controlAt(page, 'Pirate two left');
    check('a solo game shows one set of controls', !solo && pad === null);
    const touched = await touchedLeft(page);
    check('a touch on pirate one\'s Left moves him left within 3 frames', touched.ok,
          `x ${touched.from} then ${touched.to}`);
    await page.screenshot({path: path.join(outDir, 'touch_play.png')});

    // A finger that slides from Left onto the strike button lets Left go:
    // pirate one stops (a strike does nothing on the beach).
    const slide = await tries(4, async () => {
      const from = await standingPirateX(page, PIRATE_ONE, 120);
      const session = await page.target().createCDPSession();
      const left = await controlAt(page, 'Pirate one left');
      const strike = await controlAt(page, 'Pirate one strikes');
      const waitFrames = async n => {
        const from = await frameCount(page);
        while (await frameCount(page) < from + n) await sleep(5);
      };
      await session.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{x: left.x, y: left.y, id: 1}]});
      await waitFrames(2);
      await session.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: [{x: strike.x, y: strike.y, id: 1}]});
      await waitFrames(2);
      const slid = await standingPirateX(page, PIRATE_ONE, 120);
      await waitFrames(3);
      const stayed = await standingPirateX(page, PIRATE_ONE, 120);
      await session.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
      await session.detach();
      return {ok: from !== null && slid !== null && slid < from && stayed === slid, from, slid, stayed};
    });
    check('a finger sliding off Left releases it', slide.ok,
          `x ${slide.from}, ${slide.slid} after the slide, then ${slide.stayed}`);

    // A hidden tab, and a window that loses focus: each pauses the game
    // ("Paused", nothing moves, not even once it is seen again), and a tap
    // on the pause control plays on.
    const leaves = [
      {name: 'a hidden page', leave: () => {
        Object.defineProperty(document, 'hidden', {configurable: true, get: () => true});
        Object.defineProperty(document, 'visibilityState', {configurable: true, get: () => 'hidden'});
        document.dispatchEvent(new Event('visibilitychange'));
      }, come: () => {
        delete document.hidden;
        delete document.visibilityState;
        document.dispatchEvent(new Event('visibilitychange'));
      }},
      {name: 'a window left', leave: () => window.dispatchEvent(new Event('blur')),
       come: () => window.dispatchEvent(new Event('focus'))},
    ];
    for (const way of leaves) {
      await page.evaluate(() => window.textsSeen.clear());
      await page.evaluate(way.leave);
      // A pirate hit just then holds the game still for a second first, and
      // the pause comes after it.
      let paused = false;
      for (let look = 0; look < 25 && !paused; ++look) {
        await sleep(100);
        paused = await page.evaluate(() => window.textsSeen.has('Paused'));
      }
      await sleep(300);
      const hiddenOne = await canvasPixels(page);
      await sleep(1000);
      const hiddenTwo = await canvasPixels(page);
      await page.evaluate(way.come);
      await sleep(400);
      const stillPaused = (await canvasPixels(page)).equals(hiddenTwo);
      check(`${way.name} pauses the game: "Paused", nothing moves`,
            paused && hiddenOne.equals(hiddenTwo) && stillPaused);
      await page.screenshot({path: path.join(outDir, 'touch_paused.png')});
      await tap(page, 'Pause');
      await sleep(600);
      check(`after ${way.name}, a tap on the pause control plays on`,
            !(await canvasPixels(page)).equals(hiddenTwo));
    }

    page.errors.length = 0;
    // Each switches the page's full screen: asks for it, or leaves it.
    await page.evaluate(() => {
      window.fullScreenAsked = 0;
      const ask = Element.prototype.requestFullscreen;
      Element.prototype.requestFullscreen = function(...args) {
        ++window.fullScreenAsked;
        return ask.apply(this, args);
      };
      const leave = Document.prototype.exitFullscreen;
      Document.prototype.exitFullscreen = function(...args) {
        ++window.fullScreenAsked;
        return leave.apply(this, args);
      };
    });
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
    await sleep(300);
    await page.keyboard.press('F11');
    await sleep(300);
    const canvasSize = await page.evaluate(() => [canvas.width, canvas.height].join('x'));
    const asked = await page.evaluate(() => window.fullScreenAsked);
    check('Alt+Enter and F11 switch the page\'s full screen, raise no error and keep the picture',
          asked === 2 && page.errors.length === 0 && canvasSize === '640x480',
          `${asked} asked; ${canvasSize}; ${page.errors.join(' | ')}`);
    const hidden = await page.evaluate(() => !document.body.classList.contains('touch'));
    check('a key pressed hides the touch controls', hidden);
    await page.close();
  }

  // ---- Two fingers, two pirates, on a tablet.
  {
    let moved = null;
    // The game seeds its random numbers with the second it starts in. These
    // seconds place the map piece and the sword-fight marker away from the
    // pirates, and keep the cannonball off them for the first seconds.
    for (const second of [1002, 1003, 1001]) {
      if (moved && moved.ok) break;
      const startsAt = `(() => {
        const now = Date.now;
        Date.now = () => window.flipCount ? now() : ${second} * 1000;
      })()`;
      const page = await openPage(browser, url + '#warp', {width: 1024, height: 768, ...PHONE}, startsAt);
      await toModeScreen(page);
      await tap(page, 'Space');
      await tap(page, 'Enter');
      await sleep(300);
      // Should a map piece or sword-fight marker still land where a pirate
      // starts, its game runs at once, over the beach: that game is given up.
      if (heartPixelsOfPlayerTwo(await canvasPixels(page)) < 500) {
        moved = {second, started: 'in a mini-game or fight'};
        await page.close();
        continue;
      }
      const one = await standingPirateX(page, PIRATE_ONE, 120);
      const two = await standingPirateX(page, PIRATE_TWO, 280);
      await touchFor(page, ['Pirate one left', 'Pirate two right'], 3);
      moved = {one: [one, await standingPirateX(page, PIRATE_ONE, 120)],
               two: [two, await standingPirateX(page, PIRATE_TWO, 280)]};
      moved.ok = one === 280 && two === 280 && moved.one[1] !== null && moved.one[1] < 280 &&
                 moved.two[1] !== null && moved.two[1] > 280;
      await page.screenshot({path: path.join(outDir, 'touch_two.png')});
      await page.close();
    }
    check('two fingers move both pirates at once', moved.ok, JSON.stringify(moved));
  }

  // ---- Keys changed on the settings screen: the touch controls press the
  // key pirate one's Left has now (a letter; a right-hand key), each visit
  // in storage of its own, the settings file written before a reload.
  const rebound = [
    {name: 'Left on J', settings: 'p1.left = j\np1.left.button = 3\n', padButton: 3},
    {name: 'Left on Right Shift', settings: 'p1.left = right shift\n'},
  ];
  for (const binding of rebound) {
    const context = await browser.createBrowserContext();
    const page = await openPage(context, url + '#warp', {width: 844, height: 390, ...PHONE},
                                padStub);
    await page.evaluate(text => new Promise((done, fail) => {
      FS.writeFile('/records/settings.conf', text);
      FS.syncfs(false, error => error ? fail(error) : done());
    }), binding.settings);
    await page.reload();
    await waitForFrame(page, 4, SPLASH_MS + 5000);
    await toModeScreen(page);
    await tap(page, 'Enter');  // a solo game
    await sleep(300);
    const touched = await touchedLeft(page);
    check(`${binding.name}: a touch on pirate one's Left moves him left, no page error`,
          touched.ok && page.errors.length === 0,
          `x ${touched.from} then ${touched.to}; ${page.errors.join(' | ')}`);
    if (binding.padButton !== undefined) {
      // A pad's button chosen for a move: the game maps the pad's raw state.
      await page.evaluate(() => window.plugPad());
      const pressed = await tries(4, async () => {
        const from = await standingPirateX(page, PIRATE_ONE, 120);
        const start = await frameCount(page);
        await page.evaluate(b => window.stubPads[0].buttons[b].pressed = true, binding.padButton);
        while (await frameCount(page) < start + 3) await sleep(5);
        await page.evaluate(b => window.stubPads[0].buttons[b].pressed = false, binding.padButton);
        const to = await standingPirateX(page, PIRATE_ONE, 120);
        return {ok: from !== null && to !== null && to < from, from, to};
      });
      check(`${binding.name}: the pad button chosen for Left (${binding.padButton}) moves pirate one left`,
            pressed.ok, `x ${pressed.from} then ${pressed.to}`);
    }
    await context.close();
  }

  // ---- Settings by touch, on a phone: the settings control on the mode
  // screen, pirate one's Down to the game speed, Left lowers it, a held
  // Escape leaves and saves; the speed is there again after "Play again". A
  // tap on Escape does nothing; held half a second it ends the program.
  {
    const context = await browser.createBrowserContext();
    const page = await openPage(context, url + '#warp', {width: 844, height: 390, ...PHONE});
    const labels = await page.evaluate(() => ['quit', 'players', 'next', 'settings'].map(action =>
        document.querySelector(`#touch [data-action="${action}"]`).getAttribute('aria-label')));
    check('the menu\'s touch controls are named as the screens name their keys',
          labels[0].startsWith('Escape') && labels[1].startsWith('Space: ') &&
              labels[2].startsWith('Enter') && labels[3].startsWith('Settings'),
          JSON.stringify(labels));
    await toModeScreen(page);
    const settingsFile = () => page.evaluate(() => {
      try {
        return FS.readFile('/records/settings.conf', {encoding: 'utf8'});
      } catch (none) {
        return '';
      }
    });
    const toSpeed = async () => {
      await page.evaluate(() => window.textsSeen.clear());
      await tap(page, 'Settings');
      for (let i = 0; i < 5; ++i) await tap(page, 'Pirate one down');
    };
    await toSpeed();
    const onSettings = await page.evaluate(() => window.textsSeen.has('100%'));
    await tap(page, 'Pirate one left');
    await holdTouch(page, 'Escape', 800);
    await sleep(300);
    const saved = await settingsFile();
    check('the settings screen by touch: the game speed lowered to 90% and saved',
          onSettings && /^speed = 90$/m.test(saved), JSON.stringify(saved));
    await tap(page, 'Escape');
    await sleep(500);
    const stillOn = await page.evaluate(() => document.getElementById('again').hidden);
    await holdTouch(page, 'Escape', 800);
    let ended = false;
    for (let look = 0; look < 30 && !ended; ++look) {
      await sleep(100);
      ended = await page.evaluate(() => !document.getElementById('again').hidden);
    }
    check('a tap on Escape does nothing; held half a second it ends the program',
          stillOn && ended);
    await page.evaluate(() => window.flipCount = 0);
    await page.click('#again');
    await waitForFrame(page, 1, 10000);
    await toModeScreen(page);
    await toSpeed();
    await sleep(200);
    check('after "Play again" the settings screen shows the speed kept, 90%',
          await page.evaluate(() => window.textsSeen.has('90%')));
    check('touch settings: no errors on the page', page.errors.length === 0,
          page.errors.join(' | '));
    await context.close();
  }

  // ---- A gamepad, through a stubbed navigator.getGamepads: it hides the
  // touch controls, Start goes on, the stick moves pirate one, Back ends the
  // game; then "Play again" starts it anew without loading the page again.
  {
    const page = await openPage(browser, url + '#warp', {width: 1024, height: 768, ...PHONE}, padStub);
    const requests = [];
    page.on('request', request => requests.push(request.url()));
    const touchBefore = await page.evaluate(() => document.body.classList.contains('touch'));
    await page.evaluate(() => window.plugPad());
    // The page looks for new pads four times a second.
    let touchAfter = true;
    for (let look = 0; look < 10 && touchAfter; ++look) {
      await sleep(100);
      touchAfter = await page.evaluate(() => document.body.classList.contains('touch'));
    }
    check('a gamepad hides the touch controls', touchBefore && !touchAfter);
    const button = async (index, ms = 150) => {
      await page.evaluate(i => window.stubPads[0].buttons[i].pressed = true, index);
      await sleep(ms);
      await page.evaluate(i => window.stubPads[0].buttons[i].pressed = false, index);
      await sleep(200);
    };
    await page.evaluate(() => window.textsSeen.clear());
    await button(9);
    check('Start on a gamepad is Enter', await page.evaluate(() => window.textsSeen.has('Hints:')));
    await button(9);
    await button(9);
    await button(9);  // from the mode screen into a solo game
    await sleep(300);
    const stick = await tries(4, async i => {
      const from = await standingPirateX(page, PIRATE_ONE, 120);
      const start = await frameCount(page);
      await page.evaluate(() => window.stubPads[0].axes[0] = -1);
      while (await frameCount(page) < start + 3) await sleep(5);
      await page.evaluate(() => window.stubPads[0].axes[0] = 0);
      const to = await standingPirateX(page, PIRATE_ONE, 120);
      return {ok: (i > 0 || from === 280) && from !== null && to !== null && to < from, from, to};
    });
    check('the gamepad\'s stick moves pirate one', stick.ok, `x ${stick.from} then ${stick.to}`);
    await page.evaluate(() => window.textsSeen.clear());
    await button(8);  // Escape: the game is over
    for (let look = 0; look < 20 && !await page.evaluate(() => window.textsSeen.has('Your score:')); ++look) {
      await sleep(100);
    }
    await button(8);  // Escape: the program ends
    for (let look = 0; look < 20 && await page.evaluate(() => document.getElementById('again').hidden); ++look) {
      await sleep(100);
    }
    const ended = await page.evaluate(() => ({
      text: document.getElementById('message-text').textContent,
      again: !document.getElementById('again').hidden,
    }));
    check('Back on a gamepad is Escape; the end offers "Play again"',
          ended.text === 'The game has ended' && ended.again, JSON.stringify(ended));
    requests.length = 0;
    await page.evaluate(() => window.flipCount = 0);
    if (ended.again) await page.click('#again');
    const again = ended.again && await waitForFrame(page, 1, 10000);
    const loaded = requests.filter(r => !r.startsWith('data:'));
    check('"Play again" starts the game anew, no file loaded again', again && loaded.length === 0,
          loaded.join(', '));
    check('gamepad visit: no errors on the page', page.errors.length === 0, page.errors.join(' | '));
    await page.close();
  }

  // ---- No IndexedDB, or one that refuses: the game plays, and the page
  // says the records cannot be kept.
  const stores = [
    {name: 'without IndexedDB', stub: () => Object.defineProperty(window, 'indexedDB', {value: undefined})},
    {name: 'when IndexedDB refuses', stub: () => {
      IDBFactory.prototype.open = () => { throw new DOMException('refused', 'SecurityError'); };
    }},
  ];
  // On a phone too, where the key list is folded away: the note is in sight
  // until the first key or touch.
  stores[1].viewport = {width: 844, height: 390, deviceScaleFactor: 3, ...PHONE};
  for (const store of stores) {
    const page = await openPage(browser, url + '#warp', store.viewport || {width: 1000, height: 600}, store.stub);
    const said = await page.evaluate(() => {
      const note = document.getElementById('records-note');
      const r = note.getBoundingClientRect();
      const inSight = note.checkVisibility() && r.x >= 0 && r.y >= 0 && r.right <= innerWidth &&
          r.bottom <= innerHeight;
      return inSight ? note.textContent : '';
    });
    check(`${store.name} the game starts and the page says, in sight, that records cannot be kept`,
          page.visit.titleMs !== null && /cannot be kept/.test(said),
          `"${said}", ${JSON.stringify(page.visit)}, ${page.errors.join(' | ')}`);
    await page.close();
  }
}

// ---- The records' store, shared by every tab and never more than the
// browser allows.

// A solo game from the title, played for about ms and ended by Escape; true
// once its game-over screen is up.
async function soloGame(page, ms) {
  await page.bringToFront();
  for (let i = 0; i < 3; ++i) await press(page, 'Enter');
  await page.evaluate(() => window.textsSeen.clear());
  await press(page, 'Enter', ms);
  await press(page, 'Escape', 0);
  for (let look = 0; look < 50; ++look) {
    if (await page.evaluate(() => window.textsSeen.has('Your score:'))) return true;
    await sleep(100);
  }
  return false;
}

// The solo record and the best solo replay's score as the store holds them,
// read by a tab opened now.
async function storedSolo(context, url) {
  const page = await openPage(context, url + '#warp', {width: 1000, height: 600});
  const held = await page.evaluate(() => {
    const read = file => {
      try {
        return FS.readFile(file, {encoding: 'utf8'});
      } catch (missing) {
        return '';
      }
    };
    return {records: read('/records/records.dat'), best: read('/records/best-solo.replay'),
            files: FS.readdir('/records')};
  });
  await page.close();
  const best = /\nscore = (\d+)\n/.exec(held.best);
  return {record: Number(held.records.trim().split(/\s+/)[0]) || 0,
          records: held.records.trim(), bestScore: best ? Number(best[1]) : null, files: held.files};
}

const TEMPORARY = /\.(dat|replay|conf)\.[A-Za-z0-9]{6}$/;

async function storeVisits(browser, url, figures) {
  // Two tabs: B is opened first, A then scores more and saves, B saves a
  // lower score later. The store keeps A's record and A's game as the best.
  {
    const context = await browser.createBrowserContext();
    const tabB = await openPage(context, url + '#warp', {width: 1000, height: 600});
    const tabA = await openPage(context, url + '#warp', {width: 1000, height: 600});
    const endedA = await soloGame(tabA, 5000);
    await sleep(500);
    const scoreA = await tabA.evaluate(() => Number(FS.readFile('/records/records.dat', {encoding: 'utf8'}).split(' ')[0]));
    // B's game is ended almost at once, so that its score is nearly always
    // the lower; whichever is higher is what the store must keep.
    const endedB = await soloGame(tabB, 100);
    await sleep(500);
    const seenB = await tabB.evaluate(() => ({
      unsaved: window.textsSeen.has('The record could not be saved.'),
      last: /\nscore = (\d+)\n/.exec(FS.readFile('/records/last.replay', {encoding: 'utf8'}))[1],
    }));
    const fresh = await storedSolo(context, url);
    figures.twoTabs = {scoreA, scoreB: Number(seenB.last), fresh: fresh.records, freshBest: fresh.bestScore};
    check('two tabs: the one opened first saving a lower score later leaves the higher record ' +
              'and its replay in the store',
          endedA && endedB && !seenB.unsaved &&
              fresh.record === Math.max(scoreA, Number(seenB.last)) &&
              fresh.bestScore === fresh.record,
          JSON.stringify({endedA, endedB, ...figures.twoTabs, files: fresh.files}));
    await context.close();
  }

  // A full store (its quota cut to 50 KB): the save fails as a save does on
  // a full disk. The game goes on to its game-over screen, which says so;
  // the page says why; no temporary file is left; with room again, the next
  // save keeps the record.
  {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    page.errors = [];
    await page.setViewport({width: 1000, height: 600});
    await page.evaluateOnNewDocument(watchGame);
    const session = await page.target().createCDPSession();
    const origin = new URL(url).origin;
    await session.send('Storage.overrideQuotaForOrigin', {origin, quotaSize: 50 * KILOBYTE});
    await startVisit(page, url + '#warp');
    const ended = await soloGame(page, 2000);
    const before = await frameCount(page);
    await sleep(1000);
    const full = await page.evaluate(() => ({
      unsaved: window.textsSeen.has('The record could not be saved.'),
      note: document.getElementById('records-note').hidden ? '' : document.getElementById('records-note').textContent,
      files: FS.readdir('/records'),
    }));
    full.flips = await frameCount(page) - before;
    check('a full store: the game-over screen says the record could not be saved, frames go on, ' +
              'the page says the storage is full, no temporary file is left',
          ended && full.unsaved && full.flips >= 20 && /full/.test(full.note) &&
              !full.files.some(file => TEMPORARY.test(file)),
          JSON.stringify(full));
    figures.fullStore = full;
    await session.send('Storage.overrideQuotaForOrigin', {origin});
    await press(page, 'Enter', 500);  // play again, past the title
    const again = await soloGame(page, 1000);
    await sleep(500);
    const unsavedAgain = await page.evaluate(() => window.textsSeen.has('The record could not be saved.'));
    const stored = await storedSolo(context, url);
    check('with room again, the next save keeps the record', again && !unsavedAgain && stored.record > 0 &&
              stored.bestScore === stored.record && !stored.files.some(file => TEMPORARY.test(file)),
          JSON.stringify({again, unsavedAgain, ...stored}));
    await session.detach();
    await context.close();
  }
}

// ---- Replays: kept in the browser's storage, offered once the program has
// ended ("Watch the best game", "Share this game"), and a shared link played
// in a fresh browser context, which shares no storage with the player's.

// Ends the program from the game-over screen of a game that set a record;
// the page must offer both, and the share button gives the link.
async function shareAfterGame(page, figures) {
  await press(page, 'Escape', 500);
  for (let look = 0; look < 20 && await page.evaluate(() => document.getElementById('again').hidden); ++look) {
    await sleep(100);
  }
  const offered = await page.evaluate(() => ({
    watch: !document.getElementById('watch-best').hidden,
    share: !document.getElementById('share').hidden,
  }));
  check('after a game that set a record the page offers "Watch the best game" and "Share this game"',
        offered.watch && offered.share, JSON.stringify(offered));
  if (!offered.share) return null;
  await page.click('#share');
  await page.waitForFunction(() => document.getElementById('share-link').value, {timeout: 5000});
  const shared = await page.evaluate(() => {
    const bytes = FS.readFile('/records/last.replay');
    let text = '';
    for (const b of bytes) text += String.fromCharCode(b);
    return {link: document.getElementById('share-link').value, replay: btoa(text)};
  });
  shared.replay = Buffer.from(shared.replay, 'base64');
  // Kept for watching on the desktop: its numbers and keys are the desktop's.
  fs.writeFileSync(path.join(outDir, 'shared.replay'), shared.replay);
  shared.frames = Number(/\nframes = (\d+)\n/.exec(shared.replay.toString('latin1'))[1]);
  figures.replayBytes = shared.replay.length;
  figures.shareLinkLength = shared.link.length;
  check('the link carries the game compressed in its fragment',
        /#replay=deflate\.[A-Za-z0-9_-]+$/.test(shared.link) &&
            shared.link.length - shared.link.indexOf('.') < shared.replay.length * 4 / 3,
        `${shared.link.length} characters for ${shared.replay.length} bytes`);
  // The record's game is the one just played: watched, it runs all its frames.
  await page.evaluate(() => window.flipCount = 0);
  await page.click('#watch-best');
  const watched = await page.waitForFunction(() => {
    const said = document.getElementById('message-text').textContent;
    return said != 'Loading…' && !document.getElementById('again').hidden &&
        {said, flips: window.flipCount};
  }, {timeout: 60000}).then(handle => handle.jsonValue()).catch(error => ({said: error.message}));
  check('"Watch the best game" plays the record\'s game to its end',
        watched.said === 'The replay has ended' && watched.flips >= shared.frames,
        `${JSON.stringify(watched)}, the game had ${shared.frames} frames`);
  // Where the browser has a share sheet (a phone's), the link goes there,
  // and no text box is shown.
  await page.evaluate(() => navigator.share = what => {
    window.sharedWith = what;
    return Promise.resolve();
  });
  await page.click('#share');
  const sheet = await page.waitForFunction(() => window.sharedWith && {
    url: window.sharedWith.url, box: !document.getElementById('share-link').hidden,
  }, {timeout: 5000}).then(handle => handle.jsonValue()).catch(error => ({url: error.message}));
  check('where there is a share sheet, "Share this game" hands it the link, no text box',
        /#replay=deflate\.[A-Za-z0-9_-]+$/.test(sheet.url) && !sheet.box, JSON.stringify(sheet));
  return shared;
}

// After a reload, the replays are in /records, under their own names.
async function replaysKept(page) {
  const names = await page.evaluate(() => FS.readdir('/records'));
  check('last.replay and best-solo.replay are still there after a reload, no temporary file left',
        names.includes('last.replay') && names.includes('best-solo.replay') &&
            !names.some(name => /\.replay\./.test(name)),
        JSON.stringify(names));
}

// The link opened in a fresh context plays the game to its end; so does a
// game recorded by the desktop game, whose numbers the browser draws too; the
// same game marked as drawn by another C library is refused, nothing played.
async function watchShared(browser, url, shared, figures) {
  const musl = shared.replay.toString('latin1').replace('\nrandom = glibc\n', '\nrandom = musl\n');
  const desktop = fs.readFileSync(path.join(__dirname, '..', 'replays', 'multi-second-game.replay'));
  const linkTo = bytes => url + '#replay=plain.' + Buffer.from(bytes).toString('base64url');
  const cases = [
    {name: 'a shared link plays its game to the end in a fresh browser', link: shared.link,
     said: /^The replay has ended$/, fewestFlips: shared.frames},
    {name: 'a desktop game\'s replay plays to its end, the same game, by link',
     link: linkTo(desktop), said: /^The replay has ended$/,
     fewestFlips: Number(/\nframes = (\d+)\n/.exec(desktop.toString('latin1'))[1])},
    {name: 'a replay of other random numbers is refused, nothing played',
     link: linkTo(Buffer.from(musl, 'latin1')),
     said: /^This replay was recorded by a different build of the game: made by a game drawing from musl, whose random numbers differ from this browser's$/,
     fewestFlips: 0, mostFlips: 0},
    // 256 KB of link that unpack to 256 MB of zeros.
    {name: 'a link that unpacks past the bound of a replay is refused, nothing played',
     link: url + '#replay=deflate.' + Buffer.concat([...Array(256).fill(zlib.deflateRawSync(
         Buffer.alloc(1 << 20), {finishFlush: zlib.constants.Z_SYNC_FLUSH})), Buffer.from([3, 0])])
         .toString('base64url'),
     said: /^This replay cannot be watched: too large for a replay$/, fewestFlips: 0, mostFlips: 0,
     measured: 'bombLink'},
    // Cut so that it ends in a lone base64 character, which is no whole byte.
    {name: 'a link cut short says it holds no replay, nothing played',
     link: shared.link.slice(0, shared.link.indexOf('.') + 1 +
         4 * Math.floor((shared.link.length - shared.link.indexOf('.') - 1) / 8) + 1),
     said: /^This replay cannot be watched: this link does not hold a replay$/, fewestFlips: 0,
     mostFlips: 0},
  ];
  for (const c of cases) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(watchGame);
    const startedAt = Date.now();
    const residentBefore = treeResidentBytes(browser.process().pid);
    let residentMost = residentBefore;
    await page.goto(c.link);
    let end = null;
    for (let look = 0; look < 600 && !end; ++look) {
      end = await page.evaluate(() => document.getElementById('again').hidden ? null : {
        said: document.getElementById('message-text').textContent,
        flips: window.flipCount || 0,
        // A link refused before the program has made its files holds none.
        records: typeof FS === 'undefined' ? [] : FS.readdir('/records'),
      });
      residentMost = Math.max(residentMost, treeResidentBytes(browser.process().pid));
      if (!end) await sleep(100);
    }
    if (c.measured) {
      figures[c.measured] = {ms: Date.now() - startedAt, linkBytes: c.link.length,
                             browserGrewMB: Math.round((residentMost - residentBefore) / MEGABYTE)};
    }
    check(c.name, end && c.said.test(end.said) && end.flips >= c.fewestFlips &&
              !(end.flips > c.mostFlips) && !end.records.includes('last.replay'),
          `${JSON.stringify(end)}, the game had ${c.fewestFlips} frames`);
    await context.close();
  }
}

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    protocolTimeout: 30000,  // a frozen page fails the run instead of hanging it
    // As a browser on a desktop: sound only after a key or click.
    args: ['--no-sandbox', '--mute-audio', '--autoplay-policy=document-user-activation-required'],
  });
  const figures = {};
  const errors = [];
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1000, height: 600});
    page.on('pageerror', error => errors.push(error.message));
    page.on('console', message => {
      const flip = /^flip (\d+) ([\d.]+)$/.exec(message.text());
      if (flip) reportFlip(Number(flip[1]), Number(flip[2]));
      if (message.type() === 'error') errors.push(message.text());
      if (process.env.WEB_TEST_CONSOLE && !flip) console.log('console: ' + message.text());
    });
    await page.evaluateOnNewDocument(watchGame);

    // ---- First visit: the splash, the title's pace, a solo game.
    bytesSent = 0;
    await page.goto(url);
    const started = await waitForFlips(page, 1, 10000);
    check('the first frame is drawn', started);
    if (!started) return;
    figures.firstFrameMs = Math.round(flipTimes[0]);
    await sleep(500);
    figures.transferBytesGzip = bytesSent;
    figures.transferBytes = bytesRaw;
    check('the page and its files come to at most 1 MB compressed', bytesSent <= MEGABYTE,
          `${bytesSent} bytes gzip-compressed, ${bytesRaw} bytes as files`);
    // The service worker keeps the files once the game runs; the copy it
    // takes comes from the browser's cache, not the network again.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await sleep(500);
    check('keeping the files for offline play downloads nothing more',
          bytesSent <= figures.transferBytesGzip + 16 * KILOBYTE,
          `${bytesSent - figures.transferBytesGzip} bytes more`);
    const silent = await page.evaluate(() => ({
      note: !document.getElementById('sound').hidden,
      audio: SDL.audioContext ? SDL.audioContext.state : 'none',
    }));
    check('the sound waits for a key or click, and the page says so',
          silent.note && silent.audio === 'suspended', JSON.stringify(silent));

    const desktop = readPng(desktopSplash);
    const web = await page.evaluate(() => {
      const f = window.firstFrame;
      let text = '';
      for (let i = 0; i < f.data.length; i += 0x8000) {
        text += String.fromCharCode.apply(null, f.data.subarray(i, i + 0x8000));
      }
      return {width: f.width, height: f.height, base64: btoa(text)};
    });
    const webRgba = Buffer.from(web.base64, 'base64');
    let differing = 0;
    let firstDifference = '';
    if (web.width === desktop.width && web.height === desktop.height) {
      for (let p = 0; p < web.width * web.height; ++p) {
        for (let c = 0; c < 3; ++c) {
          if (webRgba[p * 4 + c] !== desktop.rgb[p * 3 + c]) {
            if (!differing) firstDifference = ` (first at ${p % web.width},${Math.floor(p / web.width)})`;
            ++differing;
            break;
          }
        }
      }
    }
    check('the first splash frame is the desktop build\'s, pixel for pixel',
          web.width === desktop.width && web.height === desktop.height && differing === 0,
          `${web.width}x${web.height}, ${differing} pixels differ${firstDifference}`);

    // The title comes after the three splash pictures.
    check('the title screen comes after the splash', await waitForFlips(page, 4, SPLASH_MS + 5000));
    const titleFlip = flips();
    await sleep(2000);
    const titleFlips = flips() - titleFlip;
    check('the title screen flips 25 times a second', titleFlips >= 45 && titleFlips <= 55,
          `${titleFlips} flips in 2 s`);
    figures.cpuTitle = await cpuShare(browser, 5000);
    const titleGaps = gapsSince(titleFlip + 1);
    figures.titleGapMedian = percentile(titleGaps, 0.5);
    figures.titleGapP95 = percentile(titleGaps, 0.95);
    await page.screenshot({path: path.join(outDir, 'web_title.png')});

    await press(page, 'Enter');
    await sleep(300);  // the page looks four times a second
    const sounding = await page.evaluate(() => ({
      note: !document.getElementById('sound').hidden,
      audio: SDL.audioContext.state,
    }));
    check('the sound starts with the first key, and the note goes',
          !sounding.note && sounding.audio === 'running', JSON.stringify(sounding));
    await press(page, 'Enter');
    await press(page, 'Enter');  // the mode screen

    // A held key repeats in the browser; the game sees one press. Space
    // toggles the mode, so a repeat that got through would toggle it back.
    const modeOne = await canvasPixels(page);
    await page.keyboard.down('Space');
    await sleep(200);
    const modeTwo = await canvasPixels(page);
    await page.keyboard.down('Space');  // a repeat
    await sleep(200);
    const modeHeld = await canvasPixels(page);
    await page.keyboard.up('Space');
    check('a held key counts once', !modeOne.equals(modeTwo) && modeTwo.equals(modeHeld));
    await press(page, 'Space');  // back to one player

    await press(page, 'Enter', 0);  // play
    const playFlip = flips();
    await sleep(3000);
    figures.playFlips = flips() - playFlip;
    const solo = await canvasPixels(page);
    await page.screenshot({path: path.join(outDir, 'web_solo_play.png')});
    const soloHearts = heartPixelsOfPlayerTwo(solo);
    check('solo play shows one player\'s hearts', soloHearts < 50, `${soloHearts} pink pixels`);
    // The sounds are Ogg Vorbis under their WAV names: the browser decodes
    // them by their content.
    const sounds = await page.evaluate(() => {
      const loaded = SDL.audios.filter(audio => audio && audio.webAudio);
      return {loaded: loaded.length, decoded: loaded.filter(a => a.webAudio.decodedBuffer).length};
    });
    check('every sound loaded decodes', sounds.loaded >= 5 && sounds.decoded === sounds.loaded,
          `${sounds.decoded} of ${sounds.loaded}`);
    await press(page, 'Escape', 500);
    const saved = await recordsFile(page);
    const soloRecord = Number(saved.trim().split(/\s+/)[0]) || 0;
    check('a solo game ended by Escape writes its record', soloRecord > 0, `records.dat: ${saved}`);
    await page.screenshot({path: path.join(outDir, 'web_game_over.png')});
    await sleep(500);  // the save reaches IndexedDB
    const shared = await shareAfterGame(page, figures);

    // ---- Second visit: the record is still there; a two-player game.
    flipTimes = [];
    await page.reload();
    await waitForFlips(page, 1, 10000);
    const kept = await recordsFile(page);
    check('the record is still there after a reload', kept === saved, `records.dat: ${kept}`);
    await replaysKept(page);
    // The new game places its map piece anywhere, pirates included: a pirate
    // standing on it plays its mini-game at once (and the treasure boxes then
    // wait for keys), or a pirate may hide it. A fresh page places a new
    // piece, so the two-player game gets up to three tries.
    let twoFlips = 0;
    let twoHearts = 0;
    let piece = null;
    let tries = 0;
    while (tries < 3 && !piece) {
      if (tries++) {
        flipTimes = [];
        await page.reload();
        await waitForFlips(page, 1, 10000);
      }
      await waitForFlips(page, 4, SPLASH_MS + 5000);
      await press(page, 'Enter');
      await press(page, 'Enter');
      await press(page, 'Enter');
      await press(page, 'Space');
      await press(page, 'Enter', 0);
      const twoFlip = flips();
      if (tries === 1) {
        figures.cpuPlay = await cpuShare(browser, 5000);
        const playGaps = gapsSince(twoFlip + 1);
        figures.playGapMedian = percentile(playGaps, 0.5);
        figures.playGapP95 = percentile(playGaps, 0.95);
      } else {
        await sleep(5000);
      }
      twoFlips = flips() - twoFlip;
      const two = await canvasPixels(page);
      await page.screenshot({path: path.join(outDir, 'web_two_players.png')});
      twoHearts = heartPixelsOfPlayerTwo(two);
      // The piece may be hidden for a moment under the cannonball.
      for (let look = 0; look < 10 && !piece && twoHearts >= 500; ++look) {
        piece = await findSprite(page, 'minigames/map_sheet.png', 4);
        if (!piece) await sleep(120);
      }
    }
    check('two-player mode reaches play, with both players\' hearts',
          twoFlips >= 50 && twoHearts >= 500,
          `${twoFlips} flips in 5 s, ${twoHearts} pink pixels`);
    // Pirate one walks onto the map piece (or meets the swords on the way):
    // a mini-game or the fight takes over the screen.
    check('the map piece is on the beach', piece !== null,
          `${JSON.stringify(piece)} (game ${tries} of 3)`);
    if (piece) {
      // Pirate one starts at (280, 120); his upper box is 27 in and 10 down.
      const dx = piece.x - 27 - 280;
      const dy = piece.y - 10 - 120;
      // A mini-game screen has no hearts.
      let seen = false;
      const look = async () => {
        if (!seen && heartPixelsOfPlayerTwo(await canvasPixels(page)) < 50) {
          seen = true;
          await page.screenshot({path: path.join(outDir, 'web_minigame.png')});
        }
      };
      if (dx) await holdFor(page, dx > 0 ? 'ArrowRight' : 'ArrowLeft', Math.round(Math.abs(dx) / 10));
      // His hit boxes may reach the piece before he is level with it. Then
      // the next key would be a pick in the treasure boxes, which may end
      // that mini-game before it is seen.
      await sleep(200);
      await look();
      if (dy && !seen) await holdFor(page, dy > 0 ? 'ArrowDown' : 'ArrowUp', Math.round(Math.abs(dy) / 10));
      // Looked at four times a second for 2.5 s: frames go on (a one-second
      // pause, for a pirate hit on the way or at the end of a short game,
      // cannot fill the time).
      const miniFlip = flips();
      for (let i = 0; i < 10; ++i) {
        await sleep(250);
        await look();
      }
      const miniFlips = flips() - miniFlip;
      check('a mini-game runs when a pirate reaches the map piece', seen && miniFlips >= 25,
            `${seen ? 'seen' : 'not seen'}, ${miniFlips} flips in 2.5 s`);
    }

    // ---- Third visit: the canvas's scale; frames that overrun; Escape on the
    // title ends the game, and the page says so.
    flipTimes = [];
    await page.reload();
    await waitForFlips(page, 4, SPLASH_MS + 5000);
    // A larger window: the canvas grows by whole steps only.
    const sizes = [];
    for (const [width, height] of [[1600, 1100], [1100, 700], [500, 400]]) {
      await page.setViewport({width, height});
      await sleep(200);
      sizes.push(await page.evaluate(() => document.getElementById('canvas').getBoundingClientRect().width + 'px'));
    }
    await page.setViewport({width: 1000, height: 600});
    check('the canvas is scaled by whole steps where the window has room',
          sizes[0] === '1280px' && sizes[1] === '640px' && parseFloat(sizes[2]) < 640,
          sizes.join(', '));

    // A machine too slow for the title's frames: each overruns its 40 ms, and
    // the game must still give the browser its turn to take the key.
    const slowFlip = flips();
    await page.evaluate(() => window.slowFrameMs = 60);
    await sleep(1000);
    await press(page, 'Escape', 1000);
    const slowGaps = gapsSince(slowFlip + 2);
    check('frames that overrun still let the page draw and read keys',
          slowGaps.length >= 5 && percentile(slowGaps, 0.5) > 60,
          `${slowGaps.length} frames, median gap ${percentile(slowGaps, 0.5)} ms`);
    const ended = await page.evaluate(() => {
      const message = document.getElementById('message');
      return message.hidden ? '' : document.getElementById('message-text').textContent;
    });
    check('Escape on the title ends the game, and the page says so', ended === 'The game has ended',
          `the page shows "${ended}"`);
    await page.screenshot({path: path.join(outDir, 'web_ended.png')});

    // The ended game keeps no key: the focus is on "Play again", and Enter
    // starts a game at its title, without the splash (one picture in 5 s).
    const focused = await page.evaluate(() => document.activeElement.id);
    await page.evaluate(() => window.flipCount = 0);
    await press(page, 'Enter', 2500);
    const again = await page.evaluate(() => ({
      flips: window.flipCount,
      said: document.getElementById('message').hidden ? '' : document.getElementById('message-text').textContent,
    }));
    check('after the end, Enter on the focused "Play again" starts the title without the splash',
          focused === 'again' && again.flips >= 10 && again.said === '',
          `focus on "${focused}", ${again.flips} frames in 2.5 s, the page shows "${again.said}"`);
    const named = await page.evaluate(() => ({
      title: document.title,
      main: document.querySelectorAll('main').length,
      headings: document.querySelectorAll('h1, h2, h3, h4, h5, h6').length,
      canvas: document.getElementById('canvas').getAttribute('aria-label') || '',
      live: document.getElementById('message-text').getAttribute('role'),
      controls: Array.from(document.querySelectorAll('#touch button'))
          .filter(b => b.textContent.trim().length > 1 && /^[\x20-\x7e]+$/.test(b.textContent.trim()))
          .filter(b => !(b.getAttribute('aria-label') || b.textContent).includes(b.textContent.trim()))
          .map(b => b.textContent),
    }));
    check('the page is called Brinegrab, with one main landmark and one heading, a named ' +
          'picture, its messages in a live region, controls named by their labels',
          named.title === 'Brinegrab' && named.main === 1 && named.headings === 1 &&
              named.canvas.includes('Brinegrab') && named.live === 'status' && !named.controls.length,
          JSON.stringify(named));

    // ---- Offline: the files come from the service worker's cache.
    await page.setOfflineMode(true);
    const offline = await startVisit(page, url + '?offline#warp');
    check('offline after one visit, the title screen is up within 3 s',
          offline.titleMs !== null && offline.titleMs <= 3000,
          `first frame ${offline.firstMs} ms, title ${offline.titleMs} ms after the reload`);
    figures.offlineFirstFrameMs = offline.firstMs;
    figures.offlineTitleMs = offline.titleMs;
    await page.setOfflineMode(false);

    check('no errors on the page', errors.length === 0, errors.slice(0, 5).join(' | '));
    await page.close();

    await otherVisits(browser, url, figures);
    await languageVisits(browser, url);
    await storeVisits(browser, url, figures);
    if (shared) await watchShared(browser, url, shared, figures);
  } finally {
    await browser.close();
    server.close();
    fs.writeFileSync(path.join(outDir, 'figures.json'), JSON.stringify(figures, null, 2) + '\n');
    console.log('figures: ' + JSON.stringify(figures));
  }
}

main().catch(error => check('the test runs to its end', false, error.stack)).then(() => {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
});
