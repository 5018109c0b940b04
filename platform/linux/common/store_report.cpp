#include "common/store_report.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "common/folders.h"
#include "common/host_file.h"

namespace standin {

namespace {

std::mutex g_reportLock;
std::set<std::string> &g_reported = *new std::set<std::string>;

}  // namespace

void ReportStoreProblem(const std::string &text) {
  std::lock_guard<std::mutex> hold(g_reportLock);
  if (!g_reported.insert(text).second) return;
  fprintf(stderr, "addbar: %s\n", text.c_str());
}

bool StoreProblemReported() {
  std::lock_guard<std::mutex> hold(g_reportLock);
  return !g_reported.empty();
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

std::string ReasonOfStatus(const std::string &path, DWORD status, bool writing) {
  switch (status) {
    case ERROR_ACCESS_DENIED: {
      struct stat info;
      if (stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) return "it is not a regular file";
        if (writing && !PermissionBitsAllowWriting(path)) return "it is read-only";
      }
      // A file is written by replacing it, which its folder must allow.
      if (writing && access(FolderOf(path).c_str(), W_OK | X_OK) != 0) {
        return "its folder can't be written";
      }
      return "permission denied";
    }
    case ERROR_FILE_NOT_FOUND:
      return "it does not exist";
    case ERROR_PATH_NOT_FOUND:
      return "a folder on its path does not exist";
    case ERROR_WRITE_FAULT:
      return "no space is left on its disk";
    case ERROR_LOCK_VIOLATION:
      return "another process kept its folder locked";
    case ERROR_SHARING_VIOLATION:
      return "this program has it open without sharing it";
    case ERROR_NOT_ENOUGH_MEMORY:
      return writing ? "it would grow to 4 GiB or more" : "it is 4 GiB or larger";
    case ERROR_FILENAME_EXCED_RANGE:
      return "its name is too long";
    default:
      return "error " + std::to_string(status);
  }
}

}  // namespace standin
