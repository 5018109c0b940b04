// platform-replay: runs the scenarios against the platform's registry and
// profile-file calls and writes what they left behind as a dump, so that the
// Linux stand-in and Windows (or Wine) can be compared.
//
//   platform-replay <folder> <dump file> [scenario...]   all scenarios when none is named
//   platform-replay --list
//
// The folder must exist and be empty; paths are ASCII, in the platform's own
// spelling. Registry keys go below HKEY_CURRENT_USER\Software\addbar-diff and
// are deleted again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "replay.h"
#include "scenario_list.h"

using namespace replay;

namespace {

bool IsAscii(const char *text) {
  for (const char *c = text; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) >= 0x80) return false;
  }
  return true;
}

const Scenario *FindScenario(const std::vector<Scenario> &all, const char *name) {
  for (const Scenario &scenario : all) {
    if (std::strcmp(scenario.name, name) == 0) return &scenario;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char **argv) {
  const std::vector<Scenario> all = AllScenarios();
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const Scenario &scenario : all) std::printf("%s\n", scenario.name);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: platform-replay <folder> <dump file> [scenario...]\n"
                 "       platform-replay --list\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    if (!IsAscii(argv[i])) {
      std::fprintf(stderr, "platform-replay: argument %d is not ASCII\n", i);
      return 2;
    }
  }
  std::vector<Scenario> chosen;
  for (int i = 3; i < argc; ++i) {
    const Scenario *scenario = FindScenario(all, argv[i]);
    if (scenario == nullptr) {
      std::fprintf(stderr, "platform-replay: no scenario %s (--list names them)\n", argv[i]);
      return 2;
    }
    chosen.push_back(*scenario);
  }
  if (chosen.empty()) chosen = all;

  const std::string dump = RunScenarios(chosen, Widen(argv[1]), kReplayKeyPath);
  // The parent of the scenarios' keys goes once they have gone.
  RegDeleteKeyW(HKEY_CURRENT_USER, kReplayKeyPath);
  if (!WriteFileBytes(Widen(argv[2]).c_str(), dump)) {
    std::fprintf(stderr, "platform-replay: can't write the dump %s\n", argv[2]);
    return 1;
  }
  return 0;
}
