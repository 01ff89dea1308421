// emscripten 3.1.6 on node's own files hands node a file's new times in milliseconds where node
// reads seconds: a file a suite dates a year back lands four centuries ahead, past what a 32-bit
// time_t reads back. The same call in seconds, with utimensat's "now" and "leave it".
mergeInto(LibraryManager.library, {
  __syscall_utimensat: function(dirfd, path, times, flags) {
    try {
      path = SYSCALLS.calculateAt(dirfd, SYSCALLS.getStr(path), true);
      var now = Date.now() / 1000;
      var before = FS.stat(path);
      var time = function(n, kept) {
        if (!times) return now;
        var at = times + n * {{{ C_STRUCTS.timespec.__size__ }}};
        var nanoseconds = {{{ makeGetValue('at', C_STRUCTS.timespec.tv_nsec, 'i32') }}};
        if (nanoseconds == 0x3fffffff) return now;  // UTIME_NOW
        if (nanoseconds == 0x3ffffffe) return kept;  // UTIME_OMIT
        return {{{ makeGetValue('at', C_STRUCTS.timespec.tv_sec, 'i32') }}} + nanoseconds / 1e9;
      };
      FS.utime(path, time(0, before.atimeMs / 1000), time(1, before.mtimeMs / 1000));
      return 0;
    } catch (e) {
      // What the library's own system calls do: a failure is an errno, not an exception.
      if (!(e instanceof FS.ErrnoError)) throw e;
      return -e.errno;
    }
  },
});
