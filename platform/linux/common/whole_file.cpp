#include "common/whole_file.h"

#include <unistd.h>

#include <cerrno>

namespace standin {

bool ReadWholeFile(int fd, std::string &bytes) {
  char chunk[65536];
  for (;;) {
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    bytes.append(chunk, static_cast<size_t>(got));
  }
}

}  // namespace standin
