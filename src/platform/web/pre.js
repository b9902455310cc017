// Runs before the game's own script. Input and storage as the game expects
// them on the desktop.

// A held key repeats its keydown in the browser; SDL 1.2 with key repeat off
// (the game never turns it on) reports one press. The repeats stop here,
// before the SDL emulation's listeners see them.
window.addEventListener('keydown', function(e) {
  if (e.repeat) e.stopImmediatePropagation();
}, true);

// Alt+Enter and F11 switch the page's own full screen (Module.toggleFullScreen,
// given by the page): the emulation's would resize the canvas and ask for
// the pointer. Neither the press nor its release reaches the game, as on the
// desktop, where the event layer uses both up.
(function() {
  var taken = {};
  window.addEventListener('keydown', function(e) {
    if (e.key != 'F11' && !(e.key == 'Enter' && e.altKey)) return;
    e.stopImmediatePropagation();
    e.preventDefault();
    taken[e.code] = true;
    if (Module['toggleFullScreen']) Module['toggleFullScreen']();
  }, true);
  window.addEventListener('keyup', function(e) {
    if (!taken[e.code]) return;
    delete taken[e.code];
    e.stopImmediatePropagation();
    e.preventDefault();
  }, true);
})();

// A key pressed or released as if on the keyboard, by its DOM key code and
// location (2 for the right-hand Ctrl): the page's touch controls and
// gamepads go through here. Nothing happens before the game has started SDL.
Module['sendKey'] = function(keyCode, location, down) {
  if (typeof SDL == 'undefined' || !SDL.keyboardState) return;
  SDL.receiveEvent({
    type: down ? 'keydown' : 'keyup',
    keyCode: keyCode,
    location: location || 0,
    preventDefault: function() {},
  });
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  // The window's caption is the desktop's; the page keeps its own title.
  if (typeof setWindowTitle != 'undefined') setWindowTitle = function() {};
  // The emulation reports a hidden page or a window that lost focus as an
  // SDL 2 window event, which the game's SDL 1.2 code never reads; here it
  // becomes the SDL_ACTIVEEVENT the desktop sends, so the game pauses the
  // same way (and a regained focus is the event with gain 1).
  var makeCEvent = SDL.makeCEvent;
  SDL.makeCEvent = function(event, ptr) {
    var type = event && event.type;
    if (type == 'blur' || type == 'focus' || type == 'visibilitychange') {
      var gain = type == 'focus' || (type == 'visibilitychange' && event.visible);
      var SDL_ACTIVEEVENT = 0x7000, SDL_APPINPUTFOCUS = 2, SDL_APPACTIVE = 4;
      HEAP32[ptr >> 2] = SDL_ACTIVEEVENT;
      HEAPU8[ptr + 4] = gain ? 1 : 0;
      HEAPU8[ptr + 5] = type == 'visibilitychange' ? SDL_APPACTIVE | SDL_APPINPUTFOCUS
                                                   : SDL_APPINPUTFOCUS;
      return;
    }
    return makeCEvent.call(SDL, event, ptr);
  };
  // The page reads the gamepads itself and presses the players' keys, as the
  // desktop's event layer does; the emulation's own joysticks see none, so
  // a pad is never read twice.
  SDL.getGamepads = function() { return []; };
});

// Sounds are decoded from the data package's files when the game loads them;
// nothing is decoded ahead, and the emulation need not say so for each file.
Module['noAudioDecoding'] = true;

// Every picture the emulation loads is read back from its canvas once, to key
// out its see-through colour; canvases kept in main memory make that cheap.
// The page's own canvas too: the game draws small pictures onto it, which
// costs less in main memory than handing each to the graphics card. The
// page's canvas is shown apart from the page's own painting (desynchronized),
// which takes the browser about half the work per frame shown.
(function() {
  var getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function(type, options) {
    if (type == '2d') {
      var shown = this === Module['canvas'] ? {desynchronized: true} : {};
      options = Object.assign({willReadFrequently: true}, shown, options);
    }
    return getContext.call(this, type, options);
  };
})();
