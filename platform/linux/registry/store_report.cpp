#include "registry/store_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

namespace standin {

void ReportStoreProblem(const std::string &text) {
  static std::mutex lock;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> hold(lock);
  if (!reported.insert(text).second) return;
  fprintf(stderr, "addbar: %s\n", text.c_str());
}

std::string ReasonOf(int error) {
  switch (error) {
    case ELOOP:
      return "it is a symbolic link, which is not followed here";
    case EACCES:
    case EPERM:
      return "permission denied";
    default:
      return strerror(error);
  }
}

}  // namespace standin
