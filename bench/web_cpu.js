'use strict';
// CPU of the desktop game and of the browser build on the same screens, side
// by side in one run: the title screen and a solo game. Run by
// scripts/web-bench:
//   node web_cpu.js GAME_DIR WEB_DIR [SECONDS] [REPEATS]
// The desktop game runs in a private 640x480 X server (Xvfb, keys by
// xdotool), the page in headless Chromium served from 127.0.0.1, with a
// viewport that shows the picture at 640x480 CSS pixels at one device pixel
// each. Both run at once and are sampled in turn, REPEATS samples of SECONDS
// each per screen, so that the machine's load falls on both alike; a sample
// is one process's share of one core (the game's; all of Chromium's
// processes). The page is sampled only on the screen it says it is on (the
// page hears of every line of text drawn); the desktop game starts at the
// title and is sampled while it runs. Then Chromium's trace of a few seconds of play says where the page's
// time goes.
const {spawn, execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const {treeTicks} = require('../tests/web/proc_ticks.js');

const [gameDir, webDir, secondsArg, repeatsArg] = process.argv.slice(2);
const SECONDS = Number(secondsArg) || 5;
const REPEATS = Number(repeatsArg) || 3;
const TICKS = 100;  // clock ticks a second
const PICTURE = {width: 640, height: 480};
const VIEWPORT = {width: 1000, height: 600, deviceScaleFactor: 1};
// Lines only the title screen and only a game in play draw.
const TITLE_TEXT = 'Next ~ Enter';
const PLAY_TEXT = 'score';
const sleep = ms => new Promise(done => setTimeout(done, ms));

async function until(what, timeoutMs, test) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    if (await test()) return;
    await sleep(100);
  }
  throw new Error(`no ${what} within ${timeoutMs / 1000} s`);
}

async function startDesktop() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'brinegrab-bench-'));
  execFileSync('cp', ['-a', gameDir + '/.', work]);
  const display = `:${200 + Math.floor(Math.random() * 300)}`;
  const xvfb = spawn('Xvfb', [display, '-screen', '0', `${PICTURE.width}x${PICTURE.height}x24`,
                              '-nolisten', 'tcp'], {stdio: 'ignore'});
  await sleep(1000);
  const env = {...process.env, DISPLAY: display, SDL_AUDIODRIVER: 'dummy'};
  // Straight to the title: the desktop's splash is three fixed waits.
  const game = spawn('./brinegrab', ['--windowed', '--no-splash'], {cwd: work, env, stdio: 'ignore'});
  execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--name', '.'],
               {env, timeout: 20000});
  await sleep(1000);
  return {
    name: 'desktop game',
    pid: game.pid,
    key: async name => execFileSync('xdotool', ['key', name], {env}),
    screenIs: async () => game.exitCode === null && game.signalCode === null,
    stop: async () => {
      game.kill();
      xvfb.kill();
      await sleep(300);
      fs.rmSync(work, {recursive: true, force: true});
    },
  };
}

function serve(dir) {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    if (name.endsWith('/')) name += 'index.html';
    fs.readFile(path.join(dir, path.normalize(name)), (error, data) => {
      const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
      response.writeHead(error ? 404 : 200,
                         {'Content-Type': types[path.extname(name)] || 'application/octet-stream'});
      response.end(error ? undefined : data);
    });
  });
  return new Promise(done => server.listen(0, '127.0.0.1', () => done(server)));
}

// The page keeps, per line of text, when it was last drawn (page time, ms).
function watchTexts() {
  window.lastDrawn = {};
  window.onGameText = text => { window.lastDrawn[text] = performance.now(); };
}

async function startPage() {
  const server = await serve(webDir);
  const chromium = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--mute-audio'],
  });
  const page = await chromium.newPage();
  await page.setViewport(VIEWPORT);
  await page.evaluateOnNewDocument(watchTexts);
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  // Drawn within the last quarter second: the screen is up now.
  const drawing = text => page.evaluate(
      t => performance.now() - (window.lastDrawn[t] || -1e9) < 250, text);
  await until('title screen in the page', 60000, () => drawing(TITLE_TEXT));
  const picture = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return {width: r.width, height: r.height, dpr: window.devicePixelRatio};
  });
  if (picture.width !== PICTURE.width || picture.height !== PICTURE.height || picture.dpr !== 1) {
    throw new Error(`the page's picture is ${JSON.stringify(picture)}, not 640x480 at DPR 1`);
  }
  let screen = TITLE_TEXT;
  return {
    name: 'Chromium, all processes',
    pid: chromium.process().pid,
    page,
    key: name => page.keyboard.press(name === 'Return' ? 'Enter' : name),
    expect: text => { screen = text; },
    screenIs: () => drawing(screen),
    stop: async () => {
      await chromium.close();
      server.close();
    },
  };
}

async function share(pid) {
  const before = treeTicks(pid);
  await sleep(SECONDS * 1000);
  return (treeTicks(pid) - before) / SECONDS / TICKS * 100;
}

// REPEATS samples of each program, taken in turn; a sample of a page that
// was not on the screen at both ends is not counted.
async function samples(programs) {
  const got = programs.map(() => []);
  for (let r = 0; r < REPEATS; ++r) {
    for (const [i, program] of programs.entries()) {
      const before = await program.screenIs();
      const value = await share(program.pid);
      if (before && await program.screenIs()) got[i].push(value);
    }
  }
  return got;
}

function summary(values) {
  if (!values.length) return {text: 'no sample', median: NaN};
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  const median = sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
  const spread = `${Math.round(sorted[0])}-${Math.round(sorted[sorted.length - 1])}`;
  return {median, text: `${Math.round(median)} % (${spread}, n=${values.length})`};
}

async function where(page) {
  const traceFile = path.join(os.tmpdir(), `brinegrab-trace-${process.pid}.json`);
  await page.tracing.start({
    path: traceFile,
    categories: ['devtools.timeline', 'v8', 'disabled-by-default-devtools.timeline'],
  });
  await sleep(3000);
  await page.tracing.stop();
  const events = JSON.parse(fs.readFileSync(traceFile, 'utf8')).traceEvents;
  fs.rmSync(traceFile, {force: true});
  const byName = new Map();
  for (const e of events) {
    if (e.ph !== 'X' || !e.dur) continue;
    const name = e.name === 'FunctionCall' && e.args && e.args.data ?
        `FunctionCall ${e.args.data.functionName || '?'}` :
        e.name;
    byName.set(name, (byName.get(name) || 0) + e.dur / 1000);
  }
  return [...byName].sort((a, b) => b[1] - a[1]).slice(0, 12)
      .map(([name, ms]) => `${Math.round(ms)} ms ${name}`);
}

(async () => {
  const programs = [];
  try {
    programs.push(await startDesktop());
    programs.push(await startPage());
    const [desktop, browser] = programs;
    const title = await samples(programs);
    for (const program of programs) {
      for (let i = 0; i < 4; ++i) {
        await program.key('Return');
        await sleep(300);
      }
    }
    browser.expect(PLAY_TEXT);
    await until('solo game in the page', 10000, browser.screenIs);
    const play = await samples(programs);
    const top = await browser.screenIs() ? await where(browser.page) : [];

    const rows = [[desktop.name, title[0], play[0]], [browser.name, title[1], play[1]]].map(
        ([name, t, p]) => [name, summary(t), summary(p)]);
    console.log(`CPU, share of one core: median (lowest-highest, samples) of ${SECONDS}-s samples`);
    console.log(`${''.padEnd(26)}${'title'.padEnd(24)}solo game`);
    for (const [name, t, p] of rows) {
      console.log(`${name.padEnd(26)}${t.text.padEnd(24)}${p.text}`);
    }
    const ratio = i => (rows[1][i].median / Math.max(rows[0][i].median, 1)).toFixed(1);
    console.log(`${'ratio of the medians'.padEnd(26)}${(ratio(1) + ' x').padEnd(24)}${ratio(2)} x`);
    if (top.length) {
      console.log('Chromium trace, 3 s of play, time by slice (nested slices count in their parents too):');
      for (const line of top) console.log('  ' + line);
    }
  } finally {
    for (const program of programs) await program.stop();
  }
})().catch(error => {
  console.error(error);
  process.exit(1);
});
