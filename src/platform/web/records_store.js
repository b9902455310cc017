// The records directory kept in IndexedDB, which every tab of the page
// shares. Emscripten's IDBFS would write the whole directory as this tab sees
// it at each sync, so a tab opened before another saved would put its older
// files back and remove the other's; and a write the browser refuses (a full
// store) never calls back, which froze the game in the middle of its save.
// Here each sync writes only what this tab changed since it last agreed with
// the store, a refused write is an error the save sees (EIO), and before a
// save the files another tab wrote since are read in, so the game's own
// rules (records never go down, the best replay is the record's game) decide
// with what is kept now. Runs in the program's scope: FS and IDBFS are its.
var RecordsStore = (function() {
  'use strict';
  var mountPoint = null;
  // Each file's time as this tab and the store last agreed on it, in ms.
  var agreed = {};
  var refused = false;  // the last write was refused

  function localTimes() {
    var times = {};
    var set = null;
    IDBFS.getLocalSet({mountpoint: mountPoint}, function(error, local) {
      if (error) throw error;
      set = local;
    });
    for (var file in set.entries) times[file] = set.entries[file].timestamp.getTime();
    return times;
  }
  function storeTimes(done) {
    IDBFS.getRemoteSet({mountpoint: mountPoint}, function(error, remote) {
      // (IDBFS may report a failed read with no error at all.)
      if (error || !remote) return done(error || new Error('the records cannot be read'));
      var times = {};
      for (var file in remote.entries) times[file] = new Date(remote.entries[file].timestamp).getTime();
      done(null, remote.db, times);
    });
  }
  // A transaction's end, told once: its error (a full store's
  // QuotaExceededError, an abort) or null.
  function ending(transaction, done) {
    var told = false;
    function tell(error) {
      if (!told) done(error);
      told = true;
    }
    transaction.oncomplete = function() {
      tell(null);
    };
    transaction.onabort = function() {
      tell(transaction.error || new Error('the browser gave up writing the records'));
    };
    return tell;
  }

  // Writes what this tab changed (and removes what it removed) since it last
  // agreed with the store, in one transaction.
  function push(done) {
    var local;
    try {
      local = localTimes();
    } catch (error) {
      return done(error);
    }
    storeTimes(function(error, db, stored) {
      if (error) return done(error);
      var changed = Object.keys(local).filter(function(file) {
        return agreed[file] !== local[file];
      }).sort();
      var removed = Object.keys(agreed).filter(function(file) {
        return !(file in local) && file in stored;
      });
      if (!changed.length && !removed.length) return done(null);
      try {
        var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        var store = transaction.objectStore(IDBFS.DB_STORE_NAME);
        var tell = ending(transaction, function(failed) {
          if (!failed) {
            for (var file of changed) agreed[file] = local[file];
            for (var known in agreed) {
              if (!(known in local)) delete agreed[known];
            }
          }
          // The page hears of a refusal, and of the first write after one.
          if ((failed || refused) && Module['onRecordsStore']) {
            Module['onRecordsStore'](!failed, failed);
          }
          refused = !!failed;
          done(failed);
        });
        for (var file of changed) {
          IDBFS.loadLocalEntry(file, function(name, failed, entry) {
            if (failed) {
              tell(failed);
              transaction.abort();
            } else {
              store.put(entry, name);
            }
          }.bind(null, file));
        }
        for (var gone of removed) store.delete(gone);
      } catch (unwritable) {
        done(unwritable);
      }
    });
  }

  // Reads in every file another tab wrote since this one last agreed with
  // the store.
  function pull(done) {
    storeTimes(function(error, db, stored) {
      if (error) return done(error);
      var newer = Object.keys(stored).filter(function(file) {
        return agreed[file] !== stored[file];
      }).sort();
      if (!newer.length) return done(null);
      try {
        var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readonly');
        var store = transaction.objectStore(IDBFS.DB_STORE_NAME);
        var entries = {};
        var tell = ending(transaction, function(failed) {
          if (failed) return done(failed);
          for (var file of newer) {
            if (!entries[file]) continue;
            IDBFS.storeLocalEntry(file, entries[file], function(unstored) {
              if (!unstored) agreed[file] = stored[file];
            });
          }
          done(null);
        });
        for (var file of newer) {
          store.get(file).onsuccess = function(name, event) {
            entries[name] = event.target.result;
          }.bind(null, file);
        }
      } catch (unreadable) {
        done(unreadable);
      }
    });
  }

  // The file system's kind for the directory: IDBFS, synced this way (made
  // once the program's IDBFS is, after this script).
  function storeKind() {
    return Object.assign({}, IDBFS, {
      syncfs: function(mount, populate, done) {
        if (!populate) return push(done);
        IDBFS.syncfs(mount, true, function(error) {
          if (!error) agreed = localTimes();
          done(error);
        });
      },
    });
  }

  return {
    // Mounts dir on the store and reads what it holds (a promise).
    open: function(dir) {
      var kind = storeKind();
      FS.mount(kind, {}, dir);
      mountPoint = dir;
      return new Promise(function(done, refuse) {
        kind.syncfs(FS.lookupPath(dir).node.mount, true, function(error) {
          if (!error) return done();
          mountPoint = null;
          refuse(error);
        });
      });
    },
    // Reads in what other tabs saved since (a promise; a store that cannot
    // be read leaves the directory as it is).
    refresh: function() {
      if (!mountPoint) return Promise.resolve();
      return new Promise(function(done) {
        pull(function(error) {
          if (error) console.warn('The records kept by other tabs cannot be read:', error);
          done();
        });
      });
    },
  };
})();
