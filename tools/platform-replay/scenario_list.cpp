#include "scenario_list.h"

namespace replay {

std::vector<Scenario> AllScenarios() {
  std::vector<Scenario> all = RegistryScenarios();
  for (const auto &part : {ProfileWriteScenarios(), ProfileFileScenarios()}) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

std::string RunScenarios(const std::vector<Scenario> &scenarios, const WString &folder,
                         const WString &baseKey) {
  DumpRecorder dump;
  for (const Scenario &scenario : scenarios) {
    Replay replay(dump, folder, baseKey, scenario.name);
    scenario.run(replay);
  }
  dump.BeginScenario("run");
  dump.Add("end", Number(scenarios.size()) + " scenarios");
  return dump.Text();
}

}  // namespace replay
