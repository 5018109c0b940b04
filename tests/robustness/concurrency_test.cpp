// The concurrency test: 2 and 3 addbar runs started at once on one store end
// as some order of them run one after the other would: every run ends
// "done", and the store is what one of the orders leaves. The runs have
// different drives (and one another layout), so every order leaves a store of
// its own; two runs name one INI file by two paths. Figures go to standard
// output.
//
//   ADDBAR_CONCURRENT_TRIALS  trials per case (default 8)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "robustness/robust_store.h"

namespace {

struct RunPlan {
  const char *drives;
  const char *layout;
  int buttons;
  bool throughLink;  // the INI file by another path: through a link to its folder
};

struct ConcurrencyCase {
  const char *name;
  RobustKind kind;
  std::vector<RunPlan> runs;
};

void PrintTo(const ConcurrencyCase &c, std::ostream *out) { *out << c.name; }

const RunPlan kFirst = {"ABCDEFGHIJKLM", "", 13, false};
const RunPlan kSecond = {"HIJKLMNOPQRST", "", 13, false};
const RunPlan kThird = {"NOPQRSTUVWXYZ", "", 13, false};
// Another layout: its own toolbars, and in the registry the same bookmarks
// (an INI file keeps a layout's bookmarks apart), so the same store.
const RunPlan kThirdInAnotherLayout = {"NOPQRSTUVWXYZ", "work", 13, false};
const RunPlan kSecondThroughLink = {"HIJKLMNOPQRST", "", 13, true};

class Concurrency : public testing::TestWithParam<ConcurrencyCase> {
 protected:
  Concurrency()
      : m_store(GetParam().kind, 50000), m_work(testing_support::Narrow(m_folder.Path())) {}

  std::unique_ptr<AddbarProcess> Start(size_t run) {
    const RunPlan &plan = GetParam().runs[run];
    return std::unique_ptr<AddbarProcess>(new AddbarProcess(
        m_store.Options(plan.layout, plan.throughLink), m_store.Environment(plan.drives),
        m_work + "/errors" + std::to_string(run) + ".txt"));
  }

  void ExpectDone(size_t run, int status) {
    EXPECT_TRUE(EndedDone(status, GetParam().runs[run].buttons))
        << "run " << run << ": " << DescribeStatus(status) << "\n"
        << ReadFileBytes(m_work + "/errors" + std::to_string(run) + ".txt");
  }

  testing_support::TempDir m_folder;
  RobustStore m_store;
  std::string m_work;
};

TEST_P(Concurrency, RunsAtOnceEndAsSomeOrderOfThem) {
  const size_t count = GetParam().runs.size();
  // What each order leaves, run by run.
  std::map<std::string, std::string> orders;
  std::vector<size_t> order(count);
  for (size_t i = 0; i < count; ++i) order[i] = i;
  do {
    m_store.Reset();
    std::string name;
    for (size_t run : order) {
      ExpectDone(run, Start(run)->Wait());
      name += std::to_string(run + 1);
    }
    std::string &names = orders[m_store.State()];
    names += (names.empty() ? "" : "/") + name;
  } while (std::next_permutation(order.begin(), order.end()));
  ASSERT_FALSE(HasFailure());
  // Some orders may leave the same store, but not all of them.
  ASSERT_GE(orders.size(), 2u);

  const char *trialsText = std::getenv("ADDBAR_CONCURRENT_TRIALS");
  const int trials = trialsText != nullptr && *trialsText != '\0' ? std::atoi(trialsText) : 8;
  std::map<std::string, int> seen;
  for (int trial = 0; trial < trials; ++trial) {
    m_store.Reset();
    std::vector<std::unique_ptr<AddbarProcess>> runs;
    for (size_t run = 0; run < count; ++run) runs.push_back(Start(run));
    for (size_t run = 0; run < count; ++run) ExpectDone(run, runs[run]->Wait());
    auto found = orders.find(m_store.State());
    EXPECT_NE(found, orders.end()) << "trial " << trial << ": a store no order of the runs leaves";
    ++seen[found != orders.end() ? found->second : "none"];
  }

  std::string spread;
  for (const auto &order : seen) spread += " " + order.first + ":" + std::to_string(order.second);
  std::printf(
      "concurrency test %s: the %zu orders of the runs leave %zu stores; %d trials of %zu "
      "runs at once, each ended as the order (runs:trials)%s\n",
      GetParam().name, count == 2 ? size_t{2} : size_t{6}, orders.size(), trials, count,
      spread.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Stores, Concurrency,
    testing::Values(ConcurrencyCase{"RegistryTwo", RobustKind::Registry, {kFirst, kSecond}},
                    ConcurrencyCase{"RegistryThree",
                                    RobustKind::Registry,
                                    {kFirst, kSecond, kThirdInAnotherLayout}},
                    ConcurrencyCase{"IniTwo", RobustKind::Ini, {kFirst, kSecond}},
                    ConcurrencyCase{"IniTwoPaths", RobustKind::Ini, {kFirst, kSecondThroughLink}},
                    ConcurrencyCase{"IniThree", RobustKind::Ini, {kFirst, kSecond, kThird}}),
    [](const testing::TestParamInfo<ConcurrencyCase> &info) {
      return std::string(info.param.name);
    });

}  // namespace
