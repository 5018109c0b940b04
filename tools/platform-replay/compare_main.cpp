// platform-replay-compare: compares the dumps of platform-replay from the
// Linux stand-in and from Wine against the list of known differences.
//
//   platform-replay-compare [--detailed] <linux dump> <wine dump> <known differences>
//
// Exit code 0 when every difference is known, 1 when one is not, 2 when an
// input can't be read.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "dump_compare.h"

using namespace replay;

namespace {

bool ReadText(const char *path, std::string &text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  text = contents.str();
  return true;
}

int Fail(const char *path, const std::string &why) {
  std::fprintf(stderr, "platform-replay-compare: %s: %s\n", path, why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  bool detailed = argc > 1 && std::strcmp(argv[1], "--detailed") == 0;
  if (argc != 4 + detailed) {
    std::fprintf(stderr,
                 "usage: platform-replay-compare [--detailed] <linux dump> <wine dump> "
                 "<known differences>\n");
    return 2;
  }
  const char *linuxPath = argv[1 + detailed];
  const char *winePath = argv[2 + detailed];
  const char *knownPath = argv[3 + detailed];

  std::string text, error;
  Dump linuxDump, wineDump;
  std::vector<KnownDifference> known;
  if (!ReadText(linuxPath, text)) return Fail(linuxPath, "can't be read");
  if (!ParseDump(text, linuxDump, error)) return Fail(linuxPath, error);
  if (!ReadText(winePath, text)) return Fail(winePath, "can't be read");
  if (!ParseDump(text, wineDump, error)) return Fail(winePath, error);
  if (!ReadText(knownPath, text)) return Fail(knownPath, "can't be read");
  if (!ParseKnownDifferences(text, known, error)) return Fail(knownPath, error);

  const Comparison comparison = CompareDumps(linuxDump, wineDump, known);
  std::fputs(Report(comparison, "linux", "wine ", detailed).c_str(), stdout);
  return comparison.Unexpected() == 0 ? 0 : 1;
}
