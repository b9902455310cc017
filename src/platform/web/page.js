// The page around the game: the touch controls, the browser's gamepads,
// replays and links, and a new start after the game has ended (the picture's
// size, full screen, the screen kept awake and the messages are shell.js's). Everything here only presses the
// game's keys or watches it; the game itself is the same as on the desktop.
(function() {
  'use strict';
  var body = document.body;
  var canvas = document.getElementById('canvas');
  var again = document.getElementById('again');

  // ---- Keys. Every on-screen control and every gamepad part presses the key
  // the keyboard would for the same action: for the players' actions the key
  // chosen on the game's settings screen, as the settings file names it, or
  // the default; the menu's keys are fixed, as in the game.
  // The players' actions: [name in the settings file, default key].
  var PLAYER_KEYS = {
    'one-up': ['p1.up', 'up'], 'one-down': ['p1.down', 'down'], 'one-left': ['p1.left', 'left'],
    'one-right': ['p1.right', 'right'], 'one-strike': ['p1.strike', 'right ctrl'],
    'two-up': ['p2.up', 'w'], 'two-down': ['p2.down', 's'], 'two-left': ['p2.left', 'a'],
    'two-right': ['p2.right', 'd'], 'two-strike': ['p2.strike', 'g'],
  };
  var PLAYER_ACTIONS = Object.keys(PLAYER_KEYS);
  // [DOM key code, location] (location 2: the right-hand key).
  var MENU_KEYS = {'enter': [13], 'space': [32], 'escape': [27], 'pause': [80]};
  // The keys the game keeps for itself (menus, pause, mute, full screen): a
  // player's key set to one of them is refused, and the default stays.
  var FIXED_NAMES = ['return', 'space', 'escape', 'c', 'p', 'pause', 'm', 'f11'];

  // SDL's key names and the key code and location that the browser's SDL
  // turns back into that key. Keys that are not characters:
  var NAMED_KEYS = {
    'up': [38], 'down': [40], 'left': [37], 'right': [39],
    'right ctrl': [17, 2], 'left ctrl': [17, 1], 'right shift': [16, 2], 'left shift': [16, 1],
    'right alt': [18, 2], 'left alt': [18, 1], 'return': [13], 'escape': [27], 'space': [32],
    'tab': [9], 'backspace': [8], 'delete': [46], 'insert': [45], 'home': [36], 'end': [35],
    'page up': [33], 'page down': [34],
  };
  for (var f = 1; f <= 12; ++f) NAMED_KEYS['f' + f] = [111 + f];
  // Characters: letters by their capital's code, digits and : ; < = > ? @ by
  // their own; the others by the code that the browser's SDL reads as them
  // (their own codes stand for other keys there).
  var CHARACTER_CODES = {
    '!': 161, '"': 162, '#': 163, '$': 164, '%': 165, '&': 166, '\'': 222, '(': 168, ')': 169,
    '*': 170, '+': 171, ',': 188, '-': 173, '.': 190, '/': 191, '[': 219, '\\': 220, ']': 221,
    '^': 160, '_': 167, '`': 192, '{': 174, '|': 172, '}': 175, '~': 176,
  };
  function domKey(name) {
    if (NAMED_KEYS.hasOwnProperty(name)) return NAMED_KEYS[name];
    if (name.length != 1) return null;
    var c = name.charCodeAt(0);
    if (c >= 97 && c <= 122) return [c - 32];
    if (CHARACTER_CODES.hasOwnProperty(name)) return [CHARACTER_CODES[name]];
    return c >= 48 && c <= 64 ? [c] : null;
  }

  // The players' keys a settings text gives, read as the game reads it: the
  // last line for an action counts; a key the game would refuse (another
  // action's) leaves the default; a name the page cannot press is said once
  // on the console and leaves the default too.
  var unpressable = {};
  function keysFrom(text) {
    var trim = function(s) {
      return s.replace(/^[ \t\r]+|[ \t\r]+$/g, '');
    };
    var names = {};
    var wanted = {};
    for (var action of PLAYER_ACTIONS) {
      names[action] = PLAYER_KEYS[action][1];
      wanted[PLAYER_KEYS[action][0]] = action;
    }
    for (var line of text.split('\n')) {
      var equals = line.indexOf('=');
      var setting = trim(line.slice(0, equals)).toLowerCase();
      if (equals < 0 || !wanted.hasOwnProperty(setting)) continue;
      var name = trim(line.slice(equals + 1)).toLowerCase();
      if (domKey(name) || name == 'pause') {
        names[wanted[setting]] = name;
      } else if (!unpressable[name]) {
        unpressable[name] = true;
        console.warn('The touch controls and pads cannot press the key "' + name +
                     '": they press the default key instead');
      }
    }
    // One key for two actions: the later action's goes back to its
    // default, again until none clash (defaults never do).
    for (var round = 0; round < 2 * PLAYER_ACTIONS.length; ++round) {
      var clean = true;
      for (var i = PLAYER_ACTIONS.length - 1; i >= 0; --i) {
        var mine = PLAYER_ACTIONS[i];
        var own = names[mine];
        if (own == PLAYER_KEYS[mine][1]) continue;
        var taken = FIXED_NAMES.indexOf(own) >= 0 || PLAYER_ACTIONS.some(function(other) {
          return other != mine && names[other] == own;
        });
        if (taken) {
          names[mine] = PLAYER_KEYS[mine][1];
          clean = false;
        }
      }
      if (clean) break;
    }
    var keys = {};
    for (var each of PLAYER_ACTIONS) keys[each] = domKey(names[each]);
    return keys;
  }

  // The settings file the game writes (in the browser's storage, through
  // the emulation's file system), read again whenever it has changed.
  var SETTINGS_FILE = '/records/settings.conf';
  var playerKeys = keysFrom('');
  var settingsSeen = '';
  function readSettings() {
    var seen = '';
    var text = '';
    try {
      var stat = FS.stat(SETTINGS_FILE);
      seen = [stat.ino, +stat.mtime, stat.size].join(' ');
      if (seen != settingsSeen) text = FS.readFile(SETTINGS_FILE, {encoding: 'utf8'});
    } catch (noFile) {
      // No game yet, or no settings file: the defaults.
    }
    if (seen == settingsSeen) return;
    settingsSeen = seen;
    playerKeys = keysFrom(text);
  }
  function keyFor(action) {
    if (MENU_KEYS.hasOwnProperty(action)) return MENU_KEYS[action];
    readSettings();
    return playerKeys[action];
  }

  // How many controls hold each action down: two fingers (or a finger and
  // a pad) on one key press it once and release it when both have let go,
  // the key that was pressed even if the settings changed meanwhile.
  var held = {};
  var sent = {};
  function press(action, down) {
    var count = held[action] || 0;
    held[action] = count + (down ? 1 : -1);
    if (down ? count != 0 : count != 1) return;
    var key = down ? keyFor(action) : sent[action];
    sent[action] = down ? key : null;
    if (key && Module.sendKey) Module.sendKey(key[0], key[1], down);
  }

  // ---- The picture's size, full screen and the page's messages are the
  // shell's (shell.js).
  var fit = shell.fit;
  var layout = shell.layout;
  var toggleFullScreen = shell.toggleFullScreen;
  var say = shell.say;
  function keepAwake() {
    shell.keepAwake(true);
  }

  // ---- Touch controls. A finger presses the control under it; sliding onto
  // another control releases the first and presses the second; lifting it
  // releases. Each finger is followed on its own, so two players share a
  // tablet.
  var touch = document.getElementById('touch');
  var fingers = {};  // pointer id -> the action it holds
  function actionAt(x, y) {
    var element = document.elementFromPoint(x, y);
    var control = element && element.closest('[data-action]');
    return control && touch.contains(control) ? control.getAttribute('data-action') : null;
  }
  function follow(e) {
    if (!(e.pointerId in fingers)) return;
    var now = e.type == 'pointerup' || e.type == 'pointercancel' ? null
                                                                 : actionAt(e.clientX, e.clientY);
    var before = fingers[e.pointerId];
    if (now === before) return;
    if (before) press(before, false);
    if (now) press(now, true);
    fingers[e.pointerId] = now;
    if (e.type == 'pointerup' || e.type == 'pointercancel') delete fingers[e.pointerId];
  }
  touch.addEventListener('pointerdown', function(e) {
    if (!actionAt(e.clientX, e.clientY)) return;
    e.preventDefault();
    fingers[e.pointerId] = null;
    follow(e);
  });
  for (var type of ['pointermove', 'pointerup', 'pointercancel']) {
    window.addEventListener(type, follow);
  }
  // A button that got focus would take Space and Enter from the game.
  touch.addEventListener('click', function(e) {
    if (e.target.blur) e.target.blur();
  });
  touch.addEventListener('contextmenu', function(e) {
    e.preventDefault();
  });

  // Shown on touch screens; a physical key or a gamepad hides them.
  var padsConnected = 0;
  var touchWanted = window.matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
  function showTouch() {
    body.classList.toggle('touch', touchWanted && padsConnected == 0);
    fit();
  }
  window.addEventListener('pointerdown', function(e) {
    if (e.pointerType == 'touch' && !touchWanted) {
      touchWanted = true;
      showTouch();
    }
  }, true);
  window.addEventListener('keydown', function(e) {
    if (touchWanted) {
      touchWanted = false;
      showTouch();
    }
  }, true);
  showTouch();

  // Pirate two's controls only in a two-player game: the mode screen writes
  // whether it is on.
  function onText(text) {
    if (window.onGameText) window.onGameText(text);
    var two = text == '~YES';
    if ((two || text == '~NO') && body.classList.contains('two') != two) {
      body.classList.toggle('two', two);
      fit();  // the other pad may cover the picture, or fit beside it
    }
  }

  // ---- Gamepads, read as the desktop reads its pads: the first pad plays
  // pirate one, the second pirate two; the left stick and the d-pad
  // (standard buttons 12 to 15) move, button 0 strikes, Back (8) is Escape,
  // Start (9) is Enter. A pad plugged in at any time is seen.
  var DEAD_ZONE = 8000 / 32767;
  var PARTS = ['up', 'down', 'left', 'right', 'strike', 'escape', 'enter'];
  var padHeld = [{}, {}];
  function padWants(pad) {
    var b = function(i) {
      return !!(pad.buttons[i] && pad.buttons[i].pressed);
    };
    var x = pad.axes[0] || 0;
    var y = pad.axes[1] || 0;
    return {
      up: b(12) || y < -DEAD_ZONE, down: b(13) || y > DEAD_ZONE,
      left: b(14) || x < -DEAD_ZONE, right: b(15) || x > DEAD_ZONE,
      strike: b(0), escape: b(8), enter: b(9),
    };
  }
  function padAction(player, part) {
    return part == 'escape' || part == 'enter' ? part : (player ? 'two-' : 'one-') + part;
  }
  function readPads() {
    var all = navigator.getGamepads ? Array.from(navigator.getGamepads() || []) : [];
    var pads = all.filter(function(pad) {
      return pad && pad.connected !== false;
    }).slice(0, 2);
    if (pads.length != padsConnected) {
      padsConnected = pads.length;
      showTouch();
      clearInterval(padTimer);
      padTimer = setInterval(readPads, padsConnected ? 20 : 250);
    }
    for (var player = 0; player < 2; ++player) {
      var want = pads[player] ? padWants(pads[player]) : {};
      // Releases first: a stick swung from left to right leaves Left first.
      for (var down of [false, true]) {
        for (var part of PARTS) {
          if (!!want[part] != down || !!padHeld[player][part] == down) continue;
          padHeld[player][part] = down;
          press(padAction(player, part), down);
        }
      }
    }
  }
  // Read faster than the game's frames while a pad is there, and a few
  // times a second otherwise: a loop on every animation frame would make the
  // browser draw the page sixty times a second for nothing.
  var padTimer = setInterval(readPads, 250);
  window.addEventListener('gamepadconnected', readPads);

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

  // args: the program's command line (a replay to watch); shared: a shared
  // game's bytes, written to a scratch file before the program runs.
  function start(args, shared) {
    say('Loading…');
    forgetGame();
    watchBest.hidden = shareButton.hidden = shareLink.hidden = true;
    var replay = args ? args.indexOf('--replay') : -1;
    gameShown = replay >= 0 ? args[replay + 1] : REPLAYS + 'last.replay';
    var complaints = [];
    keepAwake();
    var flips = 0;
    Promise.all([wasm, data, program]).then(function(loaded) {
      window.Module = {
        canvas: canvas,
        print: function(text) { console.log(text); },
        printErr: function(text) {
          complaints.push(text);
          console.error(text);
        },
        arguments: args || [],
        preRun: shared ? [function() { FS.writeFile(SHARED_REPLAY, shared); }] : [],
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
        onRecordsStore: shell.keepsRecords,
        onFlip: function(count) {
          if (++flips == 1) {
            say('');
            fit();
            offerOffline();
          }
          if (window.onGameFlip) window.onGameFlip(count);
        },
        onText: onText,
        toggleFullScreen: toggleFullScreen,
        onExit: function(status) {
          shell.keepAwake(false);
          forgetGame();
          say(endedText(replay >= 0, status, complaints), true);
          offerReplays();
        },
      };
      var script = document.createElement('script');
      script.textContent = loaded[2];
      document.body.appendChild(script);
    }).catch(function(error) {
      shell.keepAwake(false);
      say('The game could not be loaded: ' + error.message);
    });
  }
  // The splash is for the first start only.
  again.addEventListener('click', function(e) {
    e.currentTarget.blur();
    start(['--no-splash']);
  });

  // ---- Replays: the best game kept in this browser, watched again; the last
  // game shared as a link that carries it in its fragment (deflated where the
  // browser can, then base64url), which opens the page and plays it. A shared
  // game goes to a scratch file, never over the visitor's own replays.
  var REPLAYS = '/records/';
  var SHARED_REPLAY = '/tmp/shared.replay';
  var watchBest = document.getElementById('watch-best');
  var shareButton = document.getElementById('share');
  var shareLink = document.getElementById('share-link');
  // "This game": the last one played, or the replay just watched.
  var gameShown = REPLAYS + 'last.replay';
  function readReplay(path) {
    try {
      return FS.readFile(path);
    } catch (missing) {
      return null;
    }
  }
  // The better of the two best games, as the game's attract mode picks it:
  // the higher score, the solo game on a tie.
  function bestReplay() {
    var best = null;
    var bestScore = -1;
    for (var name of ['best-solo.replay', 'best-multi.replay']) {
      var bytes = readReplay(REPLAYS + name);
      var score = bytes ? /\nscore = (\d+)\n/.exec(new TextDecoder().decode(bytes)) : null;
      if (score && Number(score[1]) > bestScore) {
        best = REPLAYS + name;
        bestScore = Number(score[1]);
      }
    }
    return best;
  }
  function offerReplays() {
    watchBest.hidden = !bestReplay();
    shareButton.hidden = !readReplay(gameShown);
    shareLink.hidden = true;
  }
  function endedText(watched, status, complaints) {
    if (!watched) return 'The game has ended';
    if (status == 0) return 'The replay has ended';
    // The program's one line: why the replay cannot be watched here.
    var said = complaints.filter(function(line) {
      return /^brinegrab: /.test(line);
    }).pop() || '';
    var why = /^brinegrab: cannot watch [^:]*: (.*)$/.exec(said);
    if (why && /^made by /.test(why[1])) return 'This replay was ' + why[1] + '.';
    if (why) return 'This replay cannot be watched: ' + why[1];
    return said ? said.replace(/^brinegrab: t/, 'T') : 'The replay has ended';
  }
  function toBase64url(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  function fromBase64url(text) {
    var bytes = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    return Uint8Array.from(bytes, function(c) {
      return c.charCodeAt(0);
    });
  }
  function through(bytes, stream) {
    return new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer().then(
        function(buffer) {
          return new Uint8Array(buffer);
        });
  }
  function linkFor(bytes) {
    var base = location.href.replace(/#.*$/, '') + '#replay=';
    if (typeof CompressionStream == 'undefined') {
      return Promise.resolve(base + 'plain.' + toBase64url(bytes));
    }
    return through(bytes, new CompressionStream('deflate-raw')).then(function(packed) {
      return base + 'deflate.' + toBase64url(packed);
    });
  }
  // The game a link carries, or null when the page's address holds none.
  function sharedGame() {
    var link = /^#replay=(deflate|plain)\.([A-Za-z0-9_-]*)/.exec(location.hash);
    if (!link) return null;
    var bytes = fromBase64url(link[2]);
    if (link[1] == 'plain') return Promise.resolve(bytes);
    if (typeof DecompressionStream == 'undefined') {
      return Promise.reject(new Error('this browser cannot unpack it'));
    }
    return through(bytes, new DecompressionStream('deflate-raw'));
  }
  watchBest.addEventListener('click', function(e) {
    e.currentTarget.blur();
    var best = bestReplay();
    if (best) start(['--replay', best]);
  });
  shareButton.addEventListener('click', function(e) {
    e.currentTarget.blur();
    var bytes = readReplay(gameShown);
    if (!bytes) return;
    linkFor(bytes).then(shell.share);
  });
  window.onerror = function() {
    shell.keepAwake(false);
    say('The game has stopped on an error');
  };
  var shared = null;
  try {
    shared = sharedGame();
  } catch (badLink) {
    shared = Promise.reject(badLink);
  }
  if (!shared) {
    start();
  } else {
    shared.then(function(bytes) {
      start(['--replay', SHARED_REPLAY], bytes);
    }).catch(function(error) {
      say('The shared game cannot be opened: ' + error.message, true);
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
