/* Loaded into extract-icons with LD_PRELOAD by native_test.sh: once the process has
   written SIGNAL_AFTER_BYTES bytes to files through write(), it sends itself signal
   number SIGNAL_NUMBER, as if killed at that moment of a long write.  (Watching the
   file grow from outside and killing it then is a race that a fast disk loses.) */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

static unsigned long long g_written;
static int g_sent;

ssize_t write(int fd, const void* data, size_t n) {
  static ssize_t (*real)(int, const void*, size_t);
  if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  const ssize_t done = real(fd, data, n);
  const char* after = getenv("SIGNAL_AFTER_BYTES");
  const char* number = getenv("SIGNAL_NUMBER");
  if (done > 0 && fd > 2 && after && number &&
      __atomic_add_fetch(&g_written, (unsigned long long)done, __ATOMIC_SEQ_CST) >= strtoull(after, NULL, 10) &&
      !__atomic_exchange_n(&g_sent, 1, __ATOMIC_SEQ_CST))
    kill(getpid(), atoi(number));
  return done;
}
