// Runs before the game's own script. Input and storage as the game expects
// them on the desktop.

// A held key repeats its keydown in the browser; SDL 1.2 with key repeat off
// (the game never turns it on) reports one press. The repeats stop here,
// before the SDL emulation's listeners see them.
window.addEventListener('keydown', function(e) {
  if (e.repeat) e.stopImmediatePropagation();
}, true);

// Sounds are decoded from the data package's files when the game loads them;
// nothing is decoded ahead, and the emulation need not say so for each file.
Module['noAudioDecoding'] = true;

// Every picture the emulation loads is read back from its canvas once, to key
// out its see-through colour; canvases kept in main memory make that cheap.
// The page's own canvas is left to the browser.
(function() {
  var getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function(type, options) {
    if (type == '2d' && this !== Module['canvas']) {
      options = Object.assign({willReadFrequently: true}, options);
    }
    return getContext.call(this, type, options);
  };
})();
