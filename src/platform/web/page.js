// The page around the game: the page's texts and a new start after the game
// has ended. The shell (shell.js: the picture's size, full screen, the screen
// kept awake, the messages), input (input.js) and replays (replays.js) come
// before it and know nothing of it; the game itself is the same as on the desktop, and speaks to
// the page only through Module.pageInput and Module.onPage (page.h).
(function() {
  'use strict';
  var canvas = document.getElementById('canvas');
  var again = document.getElementById('again');

  // ---- The picture's size, full screen, the screen kept awake and the
  // page's messages are the shell's (shell.js).
  var fit = shell.fit;
  var toggleFullScreen = shell.toggleFullScreen;
  var say = shell.say;

  // ---- Starting the game. The page fetches the program and its data itself
  // and keeps them, so "Play again" starts a new game from memory.
  function fetchFile(name) {
    return fetch(name).then(function(response) {
      if (!response.ok) throw new Error(name + ': ' + response.status);
      return response;
    });
  }
  var gameScript = document.getElementById('game-script').content.querySelector('script');
  var program = fetchFile(gameScript.getAttribute('src')).then(function(response) {
    return response.text();
  });
  var wasm = fetchFile('index.wasm').then(function(response) {
    return response.arrayBuffer();
  }).then(function(bytes) {
    return WebAssembly.compile(bytes);
  });
  var data = fetchFile('index.data').then(function(response) {
    return response.arrayBuffer();
  });
  var previousSDL = null;

  // The emulation's listeners of a game that has ended, taken away as it
  // ends: they would keep every key from the page's buttons.
  function forgetGame() {
    if (typeof SDL == 'undefined' || SDL === previousSDL) return;
    var listen = SDL.receiveEvent;
    for (var name of ['keydown', 'keyup', 'keypress', 'visibilitychange']) {
      document.removeEventListener(name, listen);
    }
    for (var name2 of ['focus', 'blur', 'unload']) window.removeEventListener(name2, listen);
    for (var name3 of ['mousedown', 'mouseup', 'mousemove', 'DOMMouseScroll', 'mousewheel', 'wheel',
                       'mouseout', 'touchstart', 'touchend', 'touchmove', 'touchcancel']) {
      canvas.removeEventListener(name3, listen, true);
    }
    if (SDL.audioContext && SDL.audioContext.close) SDL.audioContext.close().catch(function() {});
    previousSDL = SDL;
    // The program's script runs again in this page: its one global that
    // starts unset, and so would keep the old run's value, is set back.
    window.calledRun = undefined;
  }

  // ---- The page's texts, in the player's language: the game hands them
  // over as it starts (page_texts.cpp); until then the page's own English
  // stands. An element's data-text names its text, its data-label its
  // accessible name; a control's data-name names its accessible name, "{1}"
  // there standing for its visible label.
  var texts = {};
  function text(name, fallback) {
    return texts.hasOwnProperty(name) ? texts[name] : fallback;
  }
  function filled(format, value) {
    return format.replace('{1}', value);
  }
  // The key list: a row a line, the keys and what they do apart by a tab.
  function showKeyList(rows) {
    var table = document.getElementById('key-list');
    table.textContent = '';
    for (var row of rows.split('\n')) {
      var tr = table.insertRow();
      for (var cell of row.split('\t')) tr.insertCell().textContent = cell;
    }
  }
  function showTexts() {
    for (var element of document.querySelectorAll('[data-text]')) {
      var name = element.getAttribute('data-text');
      if (texts.hasOwnProperty(name)) element.textContent = texts[name];
    }
    for (var named of document.querySelectorAll('[data-label]')) {
      var own = named.getAttribute('data-label');
      if (texts.hasOwnProperty(own)) named.setAttribute('aria-label', texts[own]);
    }
    for (var control of document.querySelectorAll('[data-name]')) {
      var label = control.textContent.trim();
      var format = texts[control.getAttribute('data-name')];
      if (format) control.setAttribute('aria-label', filled(format, label));
    }
  }

  // args: the program's command line (a replay to watch); shared: a shared
  // game's bytes ({bytes, deflated}), written to a scratch file before the
  // program runs.
  function start(args, shared) {
    say(text('loading', 'Loading…'));
    forgetGame();
    var replay = args ? args.indexOf('--replay') : -1;
    PageReplays.starting(replay >= 0 ? args[replay + 1] : '');
    var refused = '';
    shell.keepAwake(true);
    var flips = 0;
    Promise.all([wasm, data, program]).then(function(loaded) {
      window.Module = {
        canvas: canvas,
        print: function(line) { console.log(line); },
        printErr: function(line) { console.error(line); },
        arguments: args || [],
        // A deflated game goes beside the replay it is to become; the
        // program unpacks it within its bound on a replay.
        preRun: shared ? [function() {
          FS.writeFile(PageReplays.SHARED_REPLAY + (shared.deflated ? '.deflate' : ''), shared.bytes);
        }] : [],
        setStatus: function() {},
        instantiateWasm: function(imports, done) {
          WebAssembly.instantiate(loaded[0], imports).then(function(instance) {
            done(instance, loaded[0]);
          });
          return {};
        },
        getPreloadedPackage: function() {
          return loaded[1].slice(0);
        },
        // Whether the records are kept; refusal: why the browser did not
        // write the last save (the next one tries again).
        onRecordsStore: function(kept, refusal) {
          if (refusal) {
            var why = refusal.name == 'QuotaExceededError'
                ? text('store-full', 'the browser\'s storage for this page is full')
                : String(refusal.message || refusal);
            shell.keepsRecords(false, filled(text('records-refused', 'The browser did not keep ' +
                                                  'the last save: {1}. The next save tries again.'),
                                             why));
            return;
          }
          shell.keepsRecords(kept, kept ? text('records-kept', 'Records are kept in this browser.')
                                        : text('records-lost', 'Records cannot be kept in this ' +
                                                                   'browser: they last until the ' +
                                                                   'page is closed.'));
        },
        onFlip: function(count) {
          if (++flips == 1) {
            say('');
            fit();
            offerOffline();
          }
          if (window.onGameFlip) window.onGameFlip(count);
        },
        onText: function(line) {
          if (window.onGameText) window.onGameText(line);
        },
        pageInput: PageInput.read,
        onPage: function(what, first, second) {
          if (what == 'text' && first == 'key-list') {
            showKeyList(second);
          } else if (what == 'text') {
            texts[first] = second;
            showTexts();
          } else if (what == 'players') {
            PageInput.players(first == '2');
          } else if (what == 'replays') {
            PageReplays.kept(first, second);
          } else if (what == 'refused') {
            refused = first;
          }
        },
        toggleFullScreen: toggleFullScreen,
        onExit: function(status) {
          shell.keepAwake(false);
          forgetGame();
          var ended = replay < 0 ? text('ended', 'The game has ended')
                                 : refused || text('replay-ended', 'The replay has ended');
          say(ended, true);
          PageReplays.offer();
        },
      };
      var script = document.createElement('script');
      script.textContent = loaded[2];
      document.body.appendChild(script);
    }).catch(function(error) {
      shell.keepAwake(false);
      say(filled(text('not-loaded', 'The game could not be loaded: {1}'), error.message));
    });
  }
  // The splash is for the first start only.
  again.addEventListener('click', function(e) {
    e.currentTarget.blur();
    start(['--no-splash']);
  });
  PageReplays.use(start);
  PageInput.start(fit);

  window.onerror = function() {
    shell.keepAwake(false);
    say(text('stopped', 'The game has stopped on an error'));
  };
  var shared = PageReplays.shared();
  if (!shared) {
    start();
  } else {
    shared.then(function(game) {
      start(['--replay', PageReplays.SHARED_REPLAY], game);
    }).catch(function(error) {
      say(filled(text('link-refused', 'The shared game cannot be opened: {1}'), error.message),
          true);
    });
  }

  // ---- Offline after one visit: the service worker keeps the page's files.
  // It is registered once the game runs, so its copy of the files comes from
  // the browser's cache instead of a second download beside the game's.
  function offerOffline() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    navigator.serviceWorker.register('sw.js').catch(function() {});
  }
})();
