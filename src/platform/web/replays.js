// Replays and links: the best game kept in this browser, watched again; the
// last game (or the one just watched) shared as a link that carries it in its
// fragment (deflated where the browser can, then base64url), which opens the
// page and plays it. A shared game goes to a scratch file, never over the
// visitor's own replays. Which replays are kept and which is the best, the
// game says as it ends (kept()); this file only reads and carries them.
var PageReplays = (function() {
  'use strict';
  var SHARED_REPLAY = '/tmp/shared.replay';
  var watchBest = document.getElementById('watch-best');
  var shareButton = document.getElementById('share');
  var shareLink = document.getElementById('share-link');
  var start = function() {};  // the page's: starts the program with a command line
  var best = '';
  var shown = '';  // "this game": the last one played, or the replay just watched

  function readReplay(path) {
    try {
      return path ? FS.readFile(path) : null;
    } catch (missing) {
      return null;
    }
  }
  function hide() {
    watchBest.hidden = shareButton.hidden = shareLink.hidden = true;
  }

  function toBase64url(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  function fromBase64url(text) {
    // A link cut short may end in a lone character, which holds no whole
    // byte: left out, what is left goes to the program, which says why it
    // holds no replay.
    if (text.length % 4 == 1) text = text.slice(0, -1);
    var decoded = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    var bytes = new Uint8Array(decoded.length);
    for (var i = 0; i < decoded.length; ++i) bytes[i] = decoded.charCodeAt(i);
    return bytes;
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
  // The game a link carries ({bytes, deflated}), or null when the page's
  // address holds none. The program unpacks a deflated one, within its
  // bound on a replay.
  function sharedGame() {
    var link = /^#replay=(deflate|plain)\.([A-Za-z0-9_-]*)/.exec(location.hash);
    if (!link) return null;
    return Promise.resolve({bytes: fromBase64url(link[2]), deflated: link[1] == 'deflate'});
  }

  watchBest.addEventListener('click', function(e) {
    e.currentTarget.blur();
    if (best) start(['--replay', best]);
  });
  shareButton.addEventListener('click', function(e) {
    e.currentTarget.blur();
    var bytes = readReplay(shown);
    if (!bytes) return;
    linkFor(bytes).then(shell.share);
  });

  return {
    SHARED_REPLAY: SHARED_REPLAY,
    // startProgram(args, sharedGame) starts the game.
    use: function(startProgram) {
      start = startProgram;
    },
    // A new run of the program, watching watched if it is a replay's path.
    starting: function(watched) {
      hide();
      best = '';
      shown = watched || '';
    },
    // The game's word as it ends: the last game's replay and the best one kept.
    kept: function(last, bestKept) {
      best = bestKept;
      if (!shown) shown = last;
    },
    // Once the program has ended: what can be watched or shared now.
    offer: function() {
      watchBest.hidden = !readReplay(best);
      shareButton.hidden = !readReplay(shown);
      shareLink.hidden = true;
    },
    // The shared game (a promise of {bytes, deflated}), or null for a page
    // with no link.
    shared: function() {
      try {
        return sharedGame();
      } catch (badLink) {
        return Promise.reject(badLink);
      }
    },
  };
})();
