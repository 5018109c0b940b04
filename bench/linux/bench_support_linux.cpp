#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bench {

bool CopyStore(const std::string &from, const std::string &to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  out << in.rdbuf();
  return in.good() && out.good();
}

void UseRegistryStore(const std::string &path) { setenv("ADDBAR_REGISTRY", path.c_str(), 1); }

size_t ReadOnce(const std::string &path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  static char chunk[1 << 16];
  size_t total = 0;
  for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) total += static_cast<size_t>(got);
  close(fd);
  return total;
}

bool DurableRewrite(const std::string &target, const std::string &bytes) {
  const std::string temporary = target + ".new";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok =
      write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok && rename(temporary.c_str(), target.c_str()) == 0;
  const std::string folder = target.substr(0, target.rfind('/') + 1) + ".";
  int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ok = fsync(folderFd) == 0 && ok;
    close(folderFd);
  }
  return ok;
}

}  // namespace bench
