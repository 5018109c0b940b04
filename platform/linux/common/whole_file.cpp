#include "common/whole_file.h"

#include <unistd.h>

#include <cerrno>

namespace standin {

bool ReadWholeFile(int fd, std::string &bytes, size_t expected) {
  size_t filled = bytes.size();
  // One byte more than expected, so that the end shows without growing.
  bytes.resize(filled + (expected < 4096 ? 4096 : expected + 1));
  for (;;) {
    if (filled == bytes.size()) bytes.resize(2 * bytes.size());
    ssize_t got = read(fd, &bytes[filled], bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      bytes.resize(filled);
      return false;
    }
    if (got == 0) {
      bytes.resize(filled);
      return true;
    }
    filled += static_cast<size_t>(got);
  }
}

}  // namespace standin
