// fsync in place of the emulation's: its IndexedDB-backed directory is
// written by the sync, and a write the browser refuses (a full store) comes
// back as EIO. The emulation's own hands the error to the program in a form
// that reads as 0, so a refused save would pass for a kept one.
mergeInto(LibraryManager.library, {
  fd_sync__sig: 'ii',
  fd_sync__deps: ['$SYSCALLS', '$FS'],
  fd_sync: function(fd) {
    var stream;
    try {
      stream = SYSCALLS.getStreamFromFD(fd);
    } catch (error) {
      if (typeof FS == 'undefined' || !(error instanceof FS.ErrnoError)) throw error;
      return error.errno;
    }
    var mount = stream.node.mount;
    if (!mount.type.syncfs) return 0;
    return Asyncify.handleSleep(function(wakeUp) {
      mount.type.syncfs(mount, false, function(error) {
        wakeUp(error ? {{{ cDefine('EIO') }}} : 0);
      });
    });
  },
});
