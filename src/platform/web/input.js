// The page's input: the touch controls and the browser's gamepads, handed to
// the game as what they hold (Module.pageInput, read by the game as it
// polls its events). Which key an action has is the game's business: here a
// control holds an action, a pad its buttons and stick as they are.
var PageInput = (function() {
  'use strict';
  var body = document.body;
  var touch = document.getElementById('touch');

  // Each control's action ("one-up", "quit"): a player's move, or a menu's,
  // by its bit in the game's order. The names and their order are the game's
  // (door, handed over with every read: page.h); the page knows none itself.
  function place(action, door) {
    var dash = action.indexOf('-');
    var player = dash < 0 ? -1 : door.players.indexOf(action.slice(0, dash));
    if (player >= 0) return [player, door.moves.indexOf(action.slice(dash + 1))];
    return [door.players.length, door.menu.indexOf(action)];
  }

  // How many fingers hold each action: two on one control hold it until
  // both have let go. A tap shorter than a frame still counts: an action
  // pressed since the game last read is held for that read.
  var held = {};
  var tapped = {};
  function hold(action, down) {
    held[action] = (held[action] || 0) + (down ? 1 : -1);
    if (down) tapped[action] = true;
  }

  // ---- Touch. A finger holds the control under it; sliding onto another
  // control lets the first go and holds the second; lifting it lets go. Each
  // finger is followed on its own, so two players share a tablet. A control
  // marked data-hold (Escape) counts only once held that many milliseconds,
  // its fill showing the time: a slip never ends the game.
  var fingers = {};  // pointer id -> {action, timer}
  function actionAt(x, y) {
    var element = document.elementFromPoint(x, y);
    var control = element && element.closest('[data-action]');
    return control && touch.contains(control) ? control : null;
  }
  function letGo(finger) {
    if (!finger.control) return;
    clearTimeout(finger.timer);
    finger.control.classList.remove('filling');
    if (finger.counted) hold(finger.control.getAttribute('data-action'), false);
    finger.control = null;
    finger.counted = false;
  }
  function take(finger, control) {
    finger.control = control;
    var wait = Number(control.getAttribute('data-hold') || 0);
    var count = function() {
      control.classList.remove('filling');
      finger.counted = true;
      hold(control.getAttribute('data-action'), true);
    };
    if (!wait) return count();
    control.style.setProperty('--hold', wait + 'ms');
    control.classList.add('filling');
    finger.timer = setTimeout(count, wait);
  }
  function follow(e) {
    var finger = fingers[e.pointerId];
    if (!finger) return;
    var ends = e.type == 'pointerup' || e.type == 'pointercancel';
    var now = ends ? null : actionAt(e.clientX, e.clientY);
    if (now !== finger.control) {
      letGo(finger);
      if (now) take(finger, now);
    }
    if (ends) delete fingers[e.pointerId];
  }
  touch.addEventListener('pointerdown', function(e) {
    if (!actionAt(e.clientX, e.clientY)) return;
    e.preventDefault();
    fingers[e.pointerId] = {control: null, counted: false, timer: 0};
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

  // ---- Gamepads: the first two the browser has, as they are; the game
  // numbers a standard pad's parts as the desktop's and acts on the buttons
  // the players chose.
  function pads() {
    var all = navigator.getGamepads ? Array.from(navigator.getGamepads() || []) : [];
    return all.filter(function(pad) {
      return pad && pad.connected !== false;
    }).slice(0, 2);
  }
  function padFields(pad) {
    if (!pad) return {};
    var buttons = 0;
    for (var i = 0; i < Math.min(pad.buttons.length, 32); ++i) {
      if (pad.buttons[i] && pad.buttons[i].pressed) buttons |= 1 << i;
    }
    var axis = function(i) {
      return Math.round((pad.axes[i] || 0) * 32767);
    };
    return {standard: pad.mapping == 'standard' ? 1 : 0, buttons: buttons, x: axis(0), y: axis(1)};
  }

  // What the game reads, by the door's names: each player's moves and the
  // menu's as bits, and each pad's fields.
  function read(door) {
    var bits = door.players.map(function() {
      return 0;
    }).concat([0]);
    for (var action in held) {
      if (held[action] <= 0 && !tapped[action]) continue;
      var at = place(action, door);
      if (at[1] >= 0) bits[at[0]] |= 1 << at[1];
    }
    tapped = {};
    var found = pads();
    var values = {menu: bits[door.players.length], pads: [padFields(found[0]), padFields(found[1])]};
    door.players.forEach(function(player, i) {
      values[player] = bits[i];
    });
    return values;
  }

  // ---- The controls are shown on touch screens; a physical key or a
  // gamepad hides them. onShown(shown) lets the page fit the picture again.
  var onShown = function() {};
  var padsConnected = 0;
  var touchWanted = window.matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0;
  function showTouch() {
    body.classList.toggle('touch', touchWanted && padsConnected == 0);
    onShown(body.classList.contains('touch'));
  }
  window.addEventListener('pointerdown', function(e) {
    if (e.pointerType == 'touch' && !touchWanted) {
      touchWanted = true;
      showTouch();
    }
  }, true);
  window.addEventListener('keydown', function() {
    if (touchWanted) {
      touchWanted = false;
      showTouch();
    }
  }, true);
  // A pad plugged in at any time is seen: looked for a few times a second
  // (a loop on every animation frame would make the browser draw the page
  // sixty times a second for nothing).
  function countPads() {
    var count = pads().length;
    if (count == padsConnected) return;
    padsConnected = count;
    showTouch();
  }
  setInterval(countPads, 250);
  window.addEventListener('gamepadconnected', countPads);

  return {
    read: read,
    // Pirate two's controls only while two play.
    players: function(two) {
      body.classList.toggle('two', two);
      onShown(body.classList.contains('touch'));  // the other pad may need the picture smaller
    },
    start: function(shown) {
      onShown = shown;
      showTouch();
    },
  };
})();
