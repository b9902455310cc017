'use strict';
// Plays the browser build in headless Chromium, served from 127.0.0.1, and
// checks what a player would see. Run by scripts/web-test:
//   node web_test.js WEB_DIR DESKTOP_SPLASH_PNG OUT_DIR
// WEB_DIR holds the built page; DESKTOP_SPLASH_PNG is the desktop build's first
// splash frame; OUT_DIR receives screenshots and the measured figures.
// Prints one line per check and "N passed, N failed" last; exits 1 on a failure.

const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');

const [webDir, desktopSplash, outDir] = process.argv.slice(2);
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const SPLASH_MS = 15000;  // three pictures of five seconds each
const KILOBYTE = 1024;

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
const server = http.createServer((request, response) => {
  let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(webDir, path.normalize(name));
  fs.readFile(file, (error, data) => {
    if (error) {
      response.writeHead(404);
      response.end();
      return;
    }
    const headers = {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'};
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

// ---- What the page lets the test watch. Module.onFlip is called on every
// flipped frame; the first frame's pixels are kept as the game drew them.
function watchFlips() {
  window.flipTimes = [];
  window.firstFrame = null;
  let module;
  Object.defineProperty(window, 'Module', {
    configurable: true,
    get: () => module,
    set: value => {
      module = value;
      module.onFlip = count => {
        window.flipTimes.push(performance.now());
        if (count === 1) {
          const canvas = module.canvas;
          const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
          window.firstFrame = {width: canvas.width, height: canvas.height, data: pixels.data};
        }
      };
    },
  });
}

async function flips(page) {
  return page.evaluate(() => window.flipTimes.length);
}

async function waitForFlips(page, count, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    if ((await flips(page)) >= count) return true;
    await sleep(50);
  }
  return false;
}

// The gaps between flips from the n-th on, in ms.
async function gapsSince(page, n) {
  const times = await page.evaluate(() => window.flipTimes);
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

// CPU time of every Chromium process, in clock ticks.
function chromiumTicks(rootPid) {
  const parents = new Map();
  const ticks = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (error) {
      // the process has gone
    }
  }
  let total = 0;
  for (const [pid, t] of ticks) {
    for (let p = pid; p > 1; p = parents.get(p) || 0) {
      if (p === rootPid) {
        total += t;
        break;
      }
    }
  }
  return total;
}

// Share of one core used by Chromium over ms.
async function cpuShare(browser, ms) {
  const pid = browser.process().pid;
  const before = chromiumTicks(pid);
  await sleep(ms);
  return (chromiumTicks(pid) - before) / (ms / 1000) / 100;  // 100 ticks a second
}

async function press(page, key, pauseMs = 200) {
  await page.keyboard.press(key);
  await sleep(pauseMs);
}

async function recordsFile(page) {
  return page.evaluate(() => {
    try {
      return FS.readFile('/records/records.dat', {encoding: 'utf8'});
    } catch (error) {
      return null;
    }
  });
}

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
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
      if (message.type() === 'error') errors.push(message.text());
    });
    await page.evaluateOnNewDocument(watchFlips);

    // ---- First visit: the splash, the title's pace, a solo game.
    bytesSent = 0;
    await page.goto(url);
    const started = await waitForFlips(page, 1, 10000);
    check('the first frame is drawn', started);
    if (!started) return;
    figures.firstFrameMs = Math.round(await page.evaluate(() => window.flipTimes[0]));
    await sleep(500);
    figures.transferKiB = Math.round(bytesSent / KILOBYTE);
    check('the page and its files come to at most 1.5 MB', bytesSent <= 1536 * KILOBYTE,
          `${figures.transferKiB} KiB gzip-compressed`);
    check('the sound waits for a key or click, and the page says so',
          await page.evaluate(() => !document.getElementById('sound').hidden &&
                                    SDL.audioContext.state !== 'running'));

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
    const titleFlip = await flips(page);
    await sleep(2000);
    const titleFlips = (await flips(page)) - titleFlip;
    check('the title screen flips 25 times a second', titleFlips >= 45 && titleFlips <= 55,
          `${titleFlips} flips in 2 s`);
    figures.cpuTitle = await cpuShare(browser, 5000);
    const titleGaps = await gapsSince(page, titleFlip + 1);
    figures.titleGapMedian = percentile(titleGaps, 0.5);
    figures.titleGapP95 = percentile(titleGaps, 0.95);
    await page.screenshot({path: path.join(outDir, 'web_title.png')});

    await press(page, 'Enter');
    check('the sound starts with the first key, and the note goes',
          await page.evaluate(() => document.getElementById('sound').hidden &&
                                    SDL.audioContext.state === 'running'));
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
    const playFlip = await flips(page);
    await sleep(3000);
    figures.playFlips = (await flips(page)) - playFlip;
    const solo = await canvasPixels(page);
    await page.screenshot({path: path.join(outDir, 'web_solo_play.png')});
    const soloHearts = heartPixelsOfPlayerTwo(solo);
    check('solo play shows one player\'s hearts', soloHearts < 50, `${soloHearts} pink pixels`);
    await press(page, 'Escape', 500);
    const saved = await recordsFile(page);
    const soloRecord = saved === null ? 0 : Number(saved.trim().split(/\s+/)[0]);
    check('a solo game ended by Escape writes its record', soloRecord > 0, `records.dat: ${saved}`);
    await page.screenshot({path: path.join(outDir, 'web_game_over.png')});
    await sleep(500);  // the save reaches IndexedDB

    // ---- Second visit: the record is still there; a two-player game.
    await page.reload();
    await waitForFlips(page, 1, 10000);
    const kept = await recordsFile(page);
    check('the record is still there after a reload', kept === saved, `records.dat: ${kept}`);
    await waitForFlips(page, 4, SPLASH_MS + 5000);
    await press(page, 'Enter');
    await press(page, 'Enter');
    await press(page, 'Enter');
    await press(page, 'Space');
    await press(page, 'Enter', 0);
    const twoFlip = await flips(page);
    figures.cpuPlay = await cpuShare(browser, 5000);
    const twoFlips = (await flips(page)) - twoFlip;
    const playGaps = await gapsSince(page, twoFlip + 1);
    figures.playGapMedian = percentile(playGaps, 0.5);
    figures.playGapP95 = percentile(playGaps, 0.95);
    const two = await canvasPixels(page);
    await page.screenshot({path: path.join(outDir, 'web_two_players.png')});
    const twoHearts = heartPixelsOfPlayerTwo(two);
    check('two-player mode reaches play, with both players\' hearts',
          twoFlips >= 100 && twoHearts >= 500,
          `${twoFlips} flips in 5 s, ${twoHearts} pink pixels`);

    // ---- Third visit: Escape on the title ends the game, and the page says so.
    await page.reload();
    await waitForFlips(page, 4, SPLASH_MS + 5000);
    await press(page, 'Escape', 1000);
    const ended = await page.evaluate(() => {
      const message = document.getElementById('message');
      return message.hidden ? '' : message.textContent;
    });
    check('Escape on the title ends the game, and the page says so', ended === 'The game has ended',
          `the page shows "${ended}"`);
    await page.screenshot({path: path.join(outDir, 'web_ended.png')});

    check('no errors on the page', errors.length === 0, errors.slice(0, 5).join(' | '));
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
