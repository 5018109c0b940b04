// The scenarios themselves, run in-process on the build's own calls: a dump
// must depend on nothing but the calls' results (not on the folder, the time
// or the run), and a run must leave no registry keys behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dump_compare.h"
#include "known_differences.h"
#include "scenario_list.h"
#include "support/test_support.h"
#include "text_pattern.h"

namespace {

TEST(ScenarioRun, GivesTheSameDumpInAnyFolderAndLeavesNoKeys) {
  testing_support::ScopedRegistry registry;
  testing_support::TempDir first, second;
  const auto scenarios = replay::AllScenarios();
  const std::string dump = replay::RunScenarios(scenarios, first.Path(), registry.BasePath());
  EXPECT_EQ(dump, replay::RunScenarios(scenarios, second.Path(), registry.BasePath()));

  replay::Dump parsed;
  std::string error;
  ASSERT_TRUE(replay::ParseDump(dump, parsed, error)) << error;
  ASSERT_FALSE(parsed.records.empty());
  EXPECT_EQ(std::to_string(scenarios.size()) + " scenarios", parsed.records.back().content);

  HKEY base = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CURRENT_USER, registry.BasePath().c_str(), 0, KEY_READ, &base));
  DWORD subKeys = 99;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(base, nullptr, nullptr, nullptr, &subKeys, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(0u, subKeys);
  RegCloseKey(base);
}

TEST(KnownDifferences, ListParsesAndNamesScenariosThatExist) {
  std::ifstream file(KNOWN_DIFFERENCES_PATH, std::ios::binary);
  ASSERT_TRUE(file) << KNOWN_DIFFERENCES_PATH;
  std::ostringstream text;
  text << file.rdbuf();
  std::vector<replay::KnownDifference> entries;
  std::string error;
  ASSERT_TRUE(replay::ParseKnownDifferences(text.str(), entries, error)) << error;
  EXPECT_FALSE(entries.empty());
  const auto scenarios = replay::AllScenarios();
  for (const replay::KnownDifference &entry : entries) {
    bool named = false;
    for (const replay::Scenario &scenario : scenarios) {
      named = named || replay::MatchesPattern(entry.scenario, scenario.name);
    }
    EXPECT_TRUE(named) << "line " << entry.line << ": no scenario matches " << entry.scenario;
  }
}

}  // namespace
