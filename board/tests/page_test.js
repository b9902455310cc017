// The world board's page in headless Chromium, served by the real board on
// 127.0.0.1 with the browser build beside it: the board shows its games with
// their names as text, axe-core finds nothing serious, and a Watch link opens
// the browser game and plays the game to its end.
//   node board/tests/page_test.js BOARD GAME_DIR WEB_DIR SOURCE_DIR OUT_DIR
// Ends with "N passed, N failed"; exits non-zero on a failure.
const {spawn} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [board, gameDir, webDir, sourceDir, outDir] = process.argv.slice(2);
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
let passed = 0, failed = 0;
function check(what, ok, detail) {
  if (ok) {
    ++passed;
    console.log(`ok: ${what}`);
  } else {
    ++failed;
    console.log(`FAILED: ${what}${detail ? ` (${detail})` : ''}`);
  }
}

function post(port, file, name) {
  return new Promise((done, fail) => {
    const body = fs.readFileSync(file);
    const request = http.request({
      host: '127.0.0.1', port, method: 'POST',
      path: `/api/v1/runs?name=${encodeURIComponent(name)}`,
      headers: {'Authorization': `Bearer page-test-token-${name.length}-0123456789`,
                'Content-Length': body.length},
    }, response => {
      let text = '';
      response.on('data', chunk => text += chunk);
      response.on('end', () => done({status: response.statusCode, body: JSON.parse(text)}));
    });
    request.on('error', fail);
    request.end(body);
  });
}

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  const data = fs.mkdtempSync(path.join(os.tmpdir(), 'brinegrab-board-page-'));
  const server = spawn(board, ['--listen', '127.0.0.1:0', '--data', data, '--game', gameDir,
                               '--web', webDir, '--rate', '0'], {stdio: ['ignore', 'pipe', 'inherit']});
  const port = await new Promise(done => server.stdout.once('data', line => {
    done(Number(/:(\d+)\//.exec(line.toString())[1]));
  }));
  const replays = path.join(sourceDir, 'tests', 'replays');
  const solo = await post(port, path.join(replays, 'solo-escape-chest.replay'), "O'Neil");
  const multi = await post(port, path.join(replays, 'multi-trap-run.replay'), 'Анна Bo');
  check('the games are kept', solo.status === 201 && multi.status === 201,
        JSON.stringify([solo, multi]));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM, headless: true, protocolTimeout: 60000,
    args: ['--no-sandbox', '--mute-audio'],
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1000, height: 700});
    // The page allows no script of its own; the checker's is let in.
    await page.setBypassCSP(true);
    await page.goto(`http://127.0.0.1:${port}/`);
    const shown = await page.evaluate(() => [...document.querySelectorAll('section')].map(s => ({
      title: s.querySelector('h2').textContent,
      names: [...s.querySelectorAll('tbody tr td:nth-child(2)')].map(td => td.textContent),
      markup: s.querySelectorAll('tbody td b, tbody td script').length,
    })));
    const titled = title => (shown.find(s => s.title === title) || {names: []}).names;
    check('the board shows the solo game under its name, today and of all time',
          titled('Solo today')[0] === "O'Neil" && titled('Solo of all time')[0] === "O'Neil",
          JSON.stringify(shown));
    check('and the two-player game, its name as text',
          titled('Two players of all time')[0] === 'Анна Bo', JSON.stringify(shown));
    await page.screenshot({path: path.join(outDir, 'board_page.png')});
    await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
    const faults = await page.evaluate(async () => {
      const found = await axe.run(document);
      return found.violations.filter(v => v.impact === 'serious' || v.impact === 'critical')
          .map(v => `${v.id}: ${v.nodes.map(n => n.target.join(' ')).join(', ')}`);
    });
    check('axe-core finds nothing serious on the page', faults.length === 0, faults.join(' | '));

    // Watch: the browser game opens and plays the game to its end.
    const frames = Number(/\nframes = (\d+)\n/.exec(
        fs.readFileSync(path.join(replays, 'solo-escape-chest.replay'), 'latin1'))[1]);
    await page.evaluateOnNewDocument(() => {
      window.flipCount = 0;
      const watch = () => {
        if (!window.Module) return setTimeout(watch, 5);
        const before = Module.onFlip;
        Module.onFlip = (...a) => { ++window.flipCount; if (before) before(...a); };
      };
      watch();
    });
    await Promise.all([page.waitForNavigation(), page.click('section a')]);
    const watched = await page.waitForFunction(() => {
      const said = document.getElementById('message-text');
      const again = document.getElementById('again');
      return said && again && !again.hidden && said.textContent !== 'Loading…' &&
          {said: said.textContent, flips: window.flipCount, url: location.pathname};
    }, {timeout: 240000, polling: 500}).then(h => h.jsonValue()).catch(e => ({said: e.message}));
    await page.screenshot({path: path.join(outDir, 'board_watch.png')});
    check('Watch opens the browser game and plays the game to its end',
          watched.said === 'The replay has ended' && watched.url.startsWith('/play/'),
          `${JSON.stringify(watched)}, the game had ${frames} frames`);
  } finally {
    await browser.close();
    server.kill();
    fs.rmSync(data, {recursive: true, force: true});
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main().catch(error => {
  console.log(`FAILED: ${error.stack}`);
  process.exit(1);
});
