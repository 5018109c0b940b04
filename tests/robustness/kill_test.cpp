// The kill test: addbar killed right after each of its writes and at random
// moments, on registry stores and INI files of about 100 KB and 1 MB. After
// every kill the store parses and is one of the states an uninterrupted run
// passes through, and the next run ends "done" and leaves exactly what an
// uninterrupted run leaves. The states are recorded by a preloaded library
// that copies the store after each write (every write of the stand-in ends in
// a rename). Figures go to standard output.
//
//   ADDBAR_KILLS         random kills over the four stores; without it, as many as
//                        fit in ADDBAR_KILL_SECONDS a store (default 45: 3 minutes for
//                        the four, as CI affords), but at least 25 a store
//   ADDBAR_KILL_SEED     the random sequence (default: from the clock; printed)
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "robustness/robust_store.h"

namespace {

const long kDefaultSecondsPerStore = 45;
const long kFewestRandomKills = 25;
const char kDrives[] = "ACDEFGHZ";
const int kButtons = 8;

struct KillCase {
  const char *name;
  RobustKind kind;
  size_t bytes;
};

void PrintTo(const KillCase &c, std::ostream *out) { *out << c.name; }

long EnvironmentNumber(const char *name, long fallback) {
  const char *text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atol(text) : fallback;
}

class KillTest : public testing::TestWithParam<KillCase> {
 protected:
  KillTest()
      : m_store(GetParam().kind, GetParam().bytes),
        m_work(testing_support::Narrow(m_folder.Path())) {}

  // One whole run; `extra` adds to the store's environment.
  int Run(const Variables &extra) {
    Variables variables = m_store.Environment(kDrives);
    variables.insert(variables.end(), extra.begin(), extra.end());
    AddbarProcess run(m_store.Options(""), variables, m_work + "/errors.txt");
    EXPECT_TRUE(run.Started());
    return run.Wait();
  }

  Variables Trap(const char *name, const std::string &value) {
    return {{"LD_PRELOAD", ADDBAR_RENAME_TRAP_PATH}, {name, value}};
  }

  // The states an uninterrupted run passes through, first to last.
  void Record() {
    m_startMs = NowMs();
    m_store.Reset();
    m_states = {m_store.State()};
    const std::string folder = m_work + "/states";
    std::filesystem::create_directory(folder);
    int status = Run(Trap("ADDBAR_TRAP_RECORD", folder));
    ASSERT_TRUE(EndedDone(status, kButtons)) << DescribeStatus(status) << "\n"
                                             << ReadFileBytes(m_work + "/errors.txt");
    const std::string finalState = m_store.State();
    // Runs as the random kills meet them, without the library: the same end,
    // and how long a run takes.
    const int timedRuns = 3;
    long long start = NowMs();
    for (int run = 0; run < timedRuns; ++run) {
      m_store.Reset();
      status = Run({});
      ASSERT_TRUE(EndedDone(status, kButtons)) << DescribeStatus(status);
      ASSERT_TRUE(m_store.State() == finalState) << "a run without the library left another store";
    }
    m_runMs = (NowMs() - start) / timedRuns;
    for (int write = 1; std::filesystem::exists(folder + "/" + std::to_string(write)); ++write) {
      m_store.Reset();
      std::filesystem::copy_file(folder + "/" + std::to_string(write), m_store.File(),
                                 std::filesystem::copy_options::overwrite_existing);
      m_states.push_back(m_store.State());
    }
    // At least a bookmark and an icon entry per drive, then the toolbar.
    ASSERT_GE(m_states.size(), static_cast<size_t>(2 * kButtons + 4)) << "the writes were not seen";
    ASSERT_TRUE(m_states.back() == finalState) << "the last state recorded is not the end";
  }

  int StateIndex(const std::string &state) const {
    for (size_t i = 0; i < m_states.size(); ++i) {
      if (m_states[i] == state) return static_cast<int>(i);
    }
    return -1;
  }

  // After a kill: the store parses and is a state of the run; the next run
  // finishes the job. Returns the state's index; counts what went wrong.
  int CheckKilledRun(const std::string &what) {
    bool parses = m_store.Parses();
    int index = StateIndex(m_store.State());
    m_temporariesAfterKills += static_cast<int>(m_store.Temporaries().size());
    int status = Run({});
    m_temporariesAfterNextRuns += static_cast<int>(m_store.Temporaries().size());
    bool done = EndedDone(status, kButtons);
    bool finished = m_store.State() == m_states.back();
    if (parses && index >= 0 && done && finished) return index;
    // The first few faults in full; the rest are counted.
    if (++m_faults <= 5) {
      ADD_FAILURE() << what << ":" << (parses ? "" : " the store does not parse;")
                    << (index >= 0 ? "" : " a state no run passes through;")
                    << (done ? "" : " the next run gave " + DescribeStatus(status) + ";")
                    << (finished ? "" : " the next run left another store;");
    }
    return index;
  }

  testing_support::TempDir m_folder;
  RobustStore m_store;
  std::string m_work;
  std::vector<std::string> m_states;
  long long m_runMs = 0;
  long long m_startMs = 0;
  int m_faults = 0;  // kills after which something was wrong
  // Temporary files beside the store after the kills, and after the runs that followed.
  int m_temporariesAfterKills = 0;
  int m_temporariesAfterNextRuns = 0;
};

TEST_P(KillTest, EveryKillLeavesAStateOfTheRunAndTheNextRunFinishes) {
  ASSERT_NO_FATAL_FAILURE(Record());
  const int writes = static_cast<int>(m_states.size()) - 1;

  // Right after each write.
  for (int write = 1; write <= writes; ++write) {
    m_store.Reset();
    int status = Run(Trap("ADDBAR_TRAP_KILL_AFTER", std::to_string(write)));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << DescribeStatus(status);
    std::string what = "killed after write " + std::to_string(write);
    int index = CheckKilledRun(what);
    if (index >= 0) {
      EXPECT_EQ(write, index) << what;
    }
  }

  // At random moments of a run; a run that ended before its kill is no kill.
  const long total = EnvironmentNumber("ADDBAR_KILLS", 0);
  const long wanted = total > 0 ? (total + 3) / 4 : kFewestRandomKills;
  const long long budgetMs =
      total > 0 ? 0 : 1000LL * EnvironmentNumber("ADDBAR_KILL_SECONDS", kDefaultSecondsPerStore);
  const unsigned seed = static_cast<unsigned>(EnvironmentNumber(
      "ADDBAR_KILL_SEED", std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFF));
  std::mt19937 random(seed + static_cast<unsigned>(GetParam().kind) * 7 +
                      static_cast<unsigned>(GetParam().bytes));
  std::uniform_int_distribution<long long> moment(0, m_runMs * 1000);
  std::map<int, int> landed;
  int kills = 0;
  int missed = 0;
  while ((kills < wanted || NowMs() - m_startMs < budgetMs) && missed < 2 * (kills + wanted)) {
    m_store.Reset();
    Variables variables = m_store.Environment(kDrives);
    AddbarProcess run(m_store.Options(""), variables, m_work + "/errors.txt");
    ASSERT_TRUE(run.Started());
    // Not a wait for anything: the pause only picks where in the run the kill
    // lands. A busy machine moves that moment, and every moment is checked.
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    run.Kill();
    int status = run.Wait();
    if (!WIFSIGNALED(status)) {
      ++missed;
      continue;
    }
    ++kills;
    ++landed[CheckKilledRun("random kill " + std::to_string(kills))];
  }

  std::string spread;
  for (const auto &state : landed) {
    spread += " " + std::to_string(state.first) + ":" + std::to_string(state.second);
  }
  std::printf(
      "kill test %s: %zu KB store, %d writes a run, %lld ms a run; %d kills right after a write, "
      "%d at random moments (seed %u; %d runs ended before their kill), after state "
      "(index:kills)%s; "
      "%d temporary files left by killed writes, %d of them still there after the next run; %d "
      "kills left a store that did not parse, held a state no run passes through, or that the "
      "next run did not finish\n",
      GetParam().name, m_store.InitialSize() / 1024, writes, m_runMs, writes, kills, seed, missed,
      spread.c_str(), m_temporariesAfterKills, m_temporariesAfterNextRuns, m_faults);
  EXPECT_EQ(0, m_faults);
}

INSTANTIATE_TEST_SUITE_P(Stores, KillTest,
                         testing::Values(KillCase{"Registry100K", RobustKind::Registry, 100000},
                                         KillCase{"Registry1M", RobustKind::Registry, 1000000},
                                         KillCase{"Ini100K", RobustKind::Ini, 100000},
                                         KillCase{"Ini1M", RobustKind::Ini, 1000000}),
                         [](const testing::TestParamInfo<KillCase> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
