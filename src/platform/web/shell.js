// The shell around the game's picture: its size on every screen, the places
// of the controls beside it, full screen, the screen kept awake, the
// messages a player must read, and a game's link handed to the phone's
// share sheet. It knows no key of the game; page.js calls it.
var shell = (function() {
  'use strict';
  var WIDTH = 640;
  var HEIGHT = 480;
  var body = document.body;
  var stage = document.getElementById('stage');
  var picture = document.getElementById('picture');
  var screenBox = document.getElementById('screen');
  var tools = document.getElementById('tools');
  var message = document.getElementById('message');
  var messageText = document.getElementById('message-text');
  var again = document.getElementById('again');
  var sound = document.getElementById('sound');
  var records = document.getElementById('records');
  var recordsNote = document.getElementById('records-note');
  var endedNote = document.getElementById('ended-note');
  var shareLink = document.getElementById('share-link');

  // ---- The picture's size. CSS pixels per game pixel in a room of width x
  // height CSS pixels, ratio device pixels to the CSS pixel: a whole number
  // of device pixels per game pixel, as large as fits, so every game pixel
  // is the same square. Where the screen is the page's (filling), and that
  // would leave more than a third of the room empty, the picture fills it
  // instead: nearest-neighbour steps a pixel apart show less than the
  // black. Smaller than one device pixel, as large as fits.
  function scaleFor(width, height, ratio, filling) {
    var fits = Math.min(width / WIDTH, height / HEIGHT);
    // The room is measured in fractions of a CSS pixel: a hair under a
    // whole step is that step.
    var steps = Math.floor(fits * ratio + 1e-6);
    var whole = steps / ratio;
    if (steps < 1 || (filling && whole < fits * 2 / 3)) return fits;
    return whole;
  }
  function fullScreen() {
    return !!document.fullscreenElement || window.matchMedia('(display-mode: fullscreen)').matches;
  }
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var room = picture.getBoundingClientRect();
    // A phone held upright gives the picture the screen's width whatever
    // the window: the controls are below it, not beside.
    var filling = fullScreen() || (body.classList.contains('touch') && body.classList.contains('portrait'));
    var scale = scaleFor(room.width, room.height, ratio, filling);
    var width = WIDTH * scale;
    var height = HEIGHT * scale;
    // On a device pixel's edge, or the picture's pixels straddle two.
    var snap = function(at, size, own) {
      return Math.round((at + (size - own) / 2) * ratio) / ratio - at;
    };
    screenBox.style.width = width + 'px';
    screenBox.style.height = height + 'px';
    screenBox.style.left = snap(room.left, room.width, width) + 'px';
    screenBox.style.top = snap(room.top, room.height, height) + 'px';
    placeControls();
  }
  function layout() {
    body.classList.toggle('portrait', window.innerHeight > window.innerWidth);
    fit();
  }
  window.addEventListener('resize', layout);
  window.addEventListener('orientationchange', layout);
  document.addEventListener('fullscreenchange', layout);
  // The window moved to another screen, or zoomed: other device pixels.
  function watchRatio() {
    var now = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    now.addEventListener('change', function() {
      watchRatio();
      layout();
    }, {once: true});
  }
  watchRatio();

  // ---- The controls sit in the bars beside the picture; the page's tools
  // (the key list, full screen) go to the top's middle where the bars have
  // no room left for them. A control that still lies over the picture is
  // drawn see-through.
  function overlaps(a, b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  }
  function shownControls() {
    return Array.from(stage.querySelectorAll('.controls button')).filter(function(control) {
      return control.getClientRects().length > 0;
    });
  }
  // The widest the pads and the top row's menus are at their full size,
  // with their margins.
  var BAR_ROOM = 192;
  function placeControls() {
    var shown = screenBox.getBoundingClientRect();
    var whole = stage.getBoundingClientRect();
    var bar = Math.min(shown.left - whole.left, whole.right - shown.right);
    body.classList.toggle('bars-narrow', !body.classList.contains('portrait') && bar < BAR_ROOM);
    body.classList.remove('tools-middle');
    var controls = shownControls();
    var own = Array.from(tools.querySelectorAll('button'));
    var crowded = own.some(function(tool) {
      var r = tool.getBoundingClientRect();
      return r.width > 0 && controls.some(function(other) {
        return own.indexOf(other) < 0 && overlaps(r, other.getBoundingClientRect());
      });
    });
    body.classList.toggle('tools-middle', crowded);
    for (var control of controls) {
      control.classList.toggle('over-picture', overlaps(control.getBoundingClientRect(), shown));
    }
  }

  // ---- Full screen: the page's own, of the stage (picture and controls),
  // from its buttons and from Alt+Enter or F11. Where the browser offers
  // none, its buttons are not shown.
  function toggleFullScreen() {
    if (!document.fullscreenEnabled) return;
    var done = document.fullscreenElement ? document.exitFullscreen()
                                          : stage.requestFullscreen({navigationUI: 'hide'});
    if (done && done.catch) done.catch(function() {});  // refused: the page stays as it is
  }
  for (var button of document.querySelectorAll('.fullscreen')) {
    button.hidden = !document.fullscreenEnabled;
    button.addEventListener('click', function(e) {
      e.currentTarget.blur();  // Space and Enter are the game's keys, not the button's
      toggleFullScreen();
    });
  }

  // The key list folds away on narrow screens and touch screens.
  document.getElementById('keys-button').addEventListener('click', function(e) {
    e.currentTarget.blur();
    e.currentTarget.setAttribute('aria-expanded', body.classList.toggle('keys-open'));
  });

  // ---- The screen stays awake while the game runs and the page is seen.
  var awake = false;
  var wakeLock = null;
  function askAwake() {
    if (!awake || document.hidden || wakeLock || !navigator.wakeLock) return;
    navigator.wakeLock.request('screen').then(function(lock) {
      wakeLock = lock;
      lock.addEventListener('release', function() {
        wakeLock = null;
      });
      if (!awake) lock.release().catch(function() {});
    }).catch(function() {});
  }
  function keepAwake(on) {
    awake = on;
    if (on) askAwake();
    else if (wakeLock) wakeLock.release().catch(function() {});
  }
  document.addEventListener('visibilitychange', askAwake);

  // ---- Messages. The notes at the top of the stage are seen on every
  // screen; each goes once it no longer holds.
  var recordsKept = true;
  function say(text, offerAgain) {
    messageText.textContent = text;
    again.hidden = !offerAgain;
    message.hidden = !text;
    // Where records cannot be kept, the end of a game says so again.
    endedNote.hidden = !offerAgain || recordsKept;
    // A keyboard player goes on with Enter.
    if (offerAgain) again.focus();
  }
  // said: the note in the player's language.
  function keepsRecords(kept, said) {
    recordsKept = kept;
    records.textContent = said;
    records.classList.toggle('note', !kept);
    recordsNote.textContent = endedNote.textContent = said;
    recordsNote.hidden = kept;
    // The player's first key or touch after it tells it was seen.
    for (var type of ['keydown', 'pointerdown']) {
      if (!kept) window.addEventListener(type, seenRecordsNote, {capture: true, once: true});
    }
  }
  function seenRecordsNote() {
    recordsNote.hidden = true;
  }
  // The browser lets sound start only after the player's first key or touch.
  var soundCheck = setInterval(function() {
    if (typeof SDL != 'undefined' && SDL.audioContext && SDL.audioContext.state == 'running') {
      sound.hidden = true;
      clearInterval(soundCheck);
    }
  }, 250);

  // ---- A game's link: the phone's share sheet where there is one, the
  // text box (selected, and copied) otherwise or when the sheet fails.
  function showLink(link) {
    shareLink.value = link;
    shareLink.hidden = false;
    shareLink.select();
    if (navigator.clipboard) navigator.clipboard.writeText(link).catch(function() {});
  }
  function share(link) {
    var what = {title: 'Brinegrab', url: link};
    if (!navigator.share || (navigator.canShare && !navigator.canShare(what))) {
      showLink(link);
      return;
    }
    navigator.share(what).catch(function(error) {
      if (error.name != 'AbortError') showLink(link);  // not a player who changed their mind
    });
  }

  layout();
  return {
    scaleFor: scaleFor,
    fit: fit,
    layout: layout,
    toggleFullScreen: toggleFullScreen,
    keepAwake: keepAwake,
    say: say,
    keepsRecords: keepsRecords,
    share: share,
  };
})();
