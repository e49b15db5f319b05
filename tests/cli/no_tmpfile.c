/* Loaded into extract-icons with LD_PRELOAD by native_test.sh: the file system then
   looks as if it had no unnamed files (O_TMPFILE), as some have not, so that the test
   reaches the tool's temporary-name path. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/types.h>

static int Open(const char* name, int dir, const char* path, int flags, va_list rest) {
  int (*real)(int, const char*, int, ...) = (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, name);
  if ((flags & O_TMPFILE) == O_TMPFILE) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return real(dir, path, flags, (flags & O_CREAT) ? va_arg(rest, mode_t) : 0);
}

/* openat and openat64 alike, each passing on to the real function of its name. */
#define FORWARD_OPEN(name)                                    \
  int name(int dir, const char* path, int flags, ...) {       \
    va_list rest;                                             \
    va_start(rest, flags);                                    \
    const int fd = Open(#name, dir, path, flags, rest);       \
    va_end(rest);                                             \
    return fd;                                                \
  }
FORWARD_OPEN(openat)
FORWARD_OPEN(openat64)
