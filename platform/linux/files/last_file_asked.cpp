#include "files/last_file_asked.h"

#include <mutex>

namespace standin {

namespace {

std::mutex g_lock;
std::string &g_lastAsked = *new std::string;

}  // namespace

std::string LastFileAskedFor() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_lastAsked;
}

void NoteFileAskedFor(const std::string &hostPath) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_lastAsked = hostPath;
}

}  // namespace standin
