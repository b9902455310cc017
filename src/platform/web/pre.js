// Runs before the game's own script. Input and storage as the game expects
// them on the desktop.

// A held key repeats its keydown in the browser; SDL 1.2 with key repeat off
// (the game never turns it on) reports one press. The repeats stop here,
// before the SDL emulation's listeners see them.
window.addEventListener('keydown', function(e) {
  if (e.repeat) e.stopImmediatePropagation();
}, true);

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
  // The page hands the gamepads to the game itself (page.h), which reads
  // them as the desktop's event layer reads its pads; the emulation's own
  // joysticks see none, so a pad is never read twice.
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
