'use strict';
// CPU of the desktop game and of the browser build on the same screens, one
// after the other in one run: the title screen and a solo game. Run by
// scripts/web-bench:
//   node web_cpu.js GAME_DIR WEB_DIR [SECONDS]
// The desktop game runs in a private X server (Xvfb, keys by xdotool), the
// page in headless Chromium served from 127.0.0.1; the share of one core is
// that of the game's process, and of all of Chromium's processes. Then
// Chromium's trace of a few seconds of play says where the page's time goes.
const {spawn, execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const {treeTicks} = require('../tests/web/proc_ticks.js');

const [gameDir, webDir, secondsArg] = process.argv.slice(2);
const SECONDS = Number(secondsArg) || 5;
const SPLASH_MS = 16000;
const sleep = ms => new Promise(done => setTimeout(done, ms));
const TICKS = 100;  // clock ticks a second


async function share(pid) {
  const before = treeTicks(pid);
  await sleep(SECONDS * 1000);
  return Math.round((treeTicks(pid) - before) / SECONDS / TICKS * 100);
}

async function desktop() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'brinegrab-bench-'));
  execFileSync('cp', ['-a', gameDir + '/.', work]);
  const display = `:${200 + Math.floor(Math.random() * 300)}`;
  const xvfb = spawn('Xvfb', [display, '-screen', '0', '640x480x24', '-nolisten', 'tcp'],
                     {stdio: 'ignore'});
  await sleep(1000);
  const env = {...process.env, DISPLAY: display, SDL_AUDIODRIVER: 'dummy'};
  const game = spawn('./brinegrab', [], {cwd: work, env, stdio: 'ignore'});
  const key = name => execFileSync('xdotool', ['key', name], {env});
  try {
    await sleep(SPLASH_MS);
    const title = await share(game.pid);
    for (let i = 0; i < 4; ++i) {
      key('Return');
      await sleep(300);
    }
    await sleep(500);
    const play = await share(game.pid);
    return {title, play};
  } finally {
    game.kill();
    xvfb.kill();
    await sleep(300);
    fs.rmSync(work, {recursive: true, force: true});
  }
}

async function browser() {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    if (name.endsWith('/')) name += 'index.html';
    fs.readFile(path.join(webDir, path.normalize(name)), (error, data) => {
      const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
      response.writeHead(error ? 404 : 200,
                         {'Content-Type': types[path.extname(name)] || 'application/octet-stream'});
      response.end(error ? undefined : data);
    });
  });
  await new Promise(done => server.listen(0, '127.0.0.1', done));
  const chromium = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--mute-audio'],
  });
  try {
    const page = await chromium.newPage();
    await page.setViewport({width: 1000, height: 600});
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await sleep(SPLASH_MS);
    const pid = chromium.process().pid;
    const title = await share(pid);
    for (let i = 0; i < 4; ++i) {
      await page.keyboard.press('Enter');
      await sleep(300);
    }
    await sleep(500);
    const play = await share(pid);
    // Where the time goes: the renderer's slices over three seconds of play.
    const traceFile = path.join(os.tmpdir(), `brinegrab-trace-${process.pid}.json`);
    await page.tracing.start({path: traceFile, categories: ['devtools.timeline', 'v8', 'disabled-by-default-devtools.timeline']});
    await sleep(3000);
    await page.tracing.stop();
    const events = JSON.parse(fs.readFileSync(traceFile, 'utf8')).traceEvents;
    fs.rmSync(traceFile, {force: true});
    const byName = new Map();
    for (const e of events) {
      if (e.ph !== 'X' || !e.dur) continue;
      const name = e.name === 'FunctionCall' && e.args && e.args.data ?
          `FunctionCall ${e.args.data.functionName || '?'}` : e.name;
      byName.set(name, (byName.get(name) || 0) + e.dur / 1000);
    }
    const top = [...byName].sort((a, b) => b[1] - a[1]).slice(0, 12)
                    .map(([name, ms]) => `${Math.round(ms)} ms ${name}`);
    return {title, play, top};
  } finally {
    await chromium.close();
    server.close();
  }
}

(async () => {
  const d = await desktop();
  const b = await browser();
  console.log(`CPU, share of one core over ${SECONDS} s   title   solo game`);
  console.log(`desktop game                       ${String(d.title).padStart(4)} %  ${String(d.play).padStart(6)} %`);
  console.log(`Chromium, all processes            ${String(b.title).padStart(4)} %  ${String(b.play).padStart(6)} %`);
  console.log(`ratio                              ${(b.title / Math.max(d.title, 1)).toFixed(1).padStart(4)} x  ${(b.play / Math.max(d.play, 1)).toFixed(1).padStart(6)} x`);
  console.log('Chromium trace, 3 s of play, time by slice (nested slices count in their parents too):');
  for (const line of b.top) console.log('  ' + line);
})().catch(error => {
  console.error(error);
  process.exit(1);
});
