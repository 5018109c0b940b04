// Preloaded into addbar by the kill test (LD_PRELOAD): every write of the
// stand-in reaches its file by a rename, so counting renames counts writes.
//   ADDBAR_TRAP_RECORD=<folder>  copies the file after each rename to <folder>/<n>
//   ADDBAR_TRAP_KILL_AFTER=<n>   the process kills itself right after rename n
// Nothing here is part of addbar: it only watches the program from outside.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::atomic<long> g_renames{0};

void CopyFile(int fromFolder, const char *from, const std::string &to) {
  int in = openat(fromFolder, from, O_RDONLY | O_CLOEXEC);
  if (in < 0) return;
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  char chunk[65536];
  ssize_t got;
  while (out >= 0 && (got = read(in, chunk, sizeof chunk)) > 0) {
    if (write(out, chunk, static_cast<size_t>(got)) != got) break;
  }
  if (out >= 0) close(out);
  close(in);
}

// Called after each rename that succeeded.
void Renamed(int folder, const char *target) {
  long count = ++g_renames;
  if (const char *record = std::getenv("ADDBAR_TRAP_RECORD")) {
    CopyFile(folder, target, std::string(record) + "/" + std::to_string(count));
  }
  const char *killAfter = std::getenv("ADDBAR_TRAP_KILL_AFTER");
  if (killAfter != nullptr && std::atol(killAfter) == count) raise(SIGKILL);
}

template <typename Call>
Call Next(const char *name) {
  return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int rename(const char *from, const char *to) {
  static auto next = Next<int (*)(const char *, const char *)>("rename");
  int result = next(from, to);
  if (result == 0) Renamed(AT_FDCWD, to);
  return result;
}

extern "C" int renameat(int fromFolder, const char *from, int toFolder, const char *to) {
  static auto next = Next<int (*)(int, const char *, int, const char *)>("renameat");
  int result = next(fromFolder, from, toFolder, to);
  if (result == 0) Renamed(toFolder, to);
  return result;
}

extern "C" int renameat2(int fromFolder, const char *from, int toFolder, const char *to,
                         unsigned flags) {
  static auto next = Next<int (*)(int, const char *, int, const char *, unsigned)>("renameat2");
  int result = next(fromFolder, from, toFolder, to, flags);
  if (result == 0) Renamed(toFolder, to);
  return result;
}
