// The scenarios the replay knows, by name. Each runs the same calls on every
// build and dumps what they left behind.
#pragma once

#include <string>
#include <vector>

#include "replay.h"

namespace replay {

struct Scenario {
  const char *name;
  void (*run)(Replay &replay);
};

std::vector<Scenario> RegistryScenarios();
std::vector<Scenario> ProfileWriteScenarios();
std::vector<Scenario> ProfileFileScenarios();

// Every scenario, in the order a run takes them.
std::vector<Scenario> AllScenarios();

// Runs the scenarios, each with its files in `folder` (which exists and is
// empty) and its key below HKEY_CURRENT_USER\<baseKey>, and returns the dump,
// which ends with a record that the run got there.
std::string RunScenarios(const std::vector<Scenario> &scenarios, const WString &folder,
                         const WString &baseKey);

}  // namespace replay
