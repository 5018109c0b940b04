// What another user of the same machine can do to a user's addbar runs: hold
// a lock on the folders the user's settings are in, or take the names of the
// user's private folders in /tmp first. Each case makes a victim and an
// attacker (useradd) and runs addbar and the stand-in file manager as the
// victim (setpriv). Only the super-user can make users: elsewhere they skip.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "robustness/robust_store.h"
#include "support/linux/local_user.h"

using testing_support::LocalUser;
using testing_support::UserProcess;

namespace {

const char kDrives[] = "ACD";
const int kButtons = 3;

class LocalUsers : public testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "only the super-user can make users";
    ASSERT_TRUE(m_victim.Made() && m_attacker.Made()) << "useradd failed";
    // The victim's folders as a usual umask (022) makes them: others may
    // read them, so others may open them.
    const std::string config = m_victim.Home() + "/.config";
    for (const std::string &folder : {config, config + "/addbar"}) MakeVictims(folder, "");
    MakeVictims(RegistryPath(), ReadFileBytes(RobustStore(RobustKind::Registry, 4000).File()));
    MakeVictims(IniPath(), ReadFileBytes(RobustStore(RobustKind::Ini, 4000).File()));
  }

  std::string RegistryPath() const { return m_victim.Home() + "/.config/addbar/registry.reg"; }
  std::string IniPath() const { return m_victim.Home() + "/settings.ini"; }

  // A folder (no bytes) or a file of the victim's, mode 0755 or 0644.
  void MakeVictims(const std::string &path, const std::string &bytes) {
    if (bytes.empty()) {
      ASSERT_EQ(0, mkdir(path.c_str(), 0755)) << path;
    } else {
      testing_support::WriteBytes(testing_support::Wide(path), bytes);
      ASSERT_EQ(0, chmod(path.c_str(), 0644)) << path;
    }
    ASSERT_EQ(0, chown(path.c_str(), m_victim.Uid(), m_victim.Gid())) << path;
  }

  // A run from cron, su or an ssh login without a user session: no runtime
  // folder, no ADDBAR_WINDOWS. A lock is waited for a second, so that a run
  // kept waiting shows as one that failed.
  std::vector<std::string> VictimsEnvironment() const {
    return {"HOME=" + m_victim.Home(), "PATH=/usr/bin:/bin",
            std::string("ADDBAR_DRIVES=") + kDrives, "ADDBAR_ANSWERS=ok",
            "ADDBAR_LOCK_PATIENCE_MS=1000"};
  }

  void ExpectVictimsRunDone(const std::vector<std::string> &options) {
    std::vector<std::string> argv = {ADDBAR_PROGRAM_PATH};
    argv.insert(argv.end(), options.begin(), options.end());
    std::string output;
    int status = m_victim.Run(argv, VictimsEnvironment(), output);
    EXPECT_TRUE(EndedDone(status, kButtons)) << DescribeStatus(status) << "\n" << output;
  }

  LocalUser m_victim{"victim"};
  LocalUser m_attacker{"attacker"};
};

// flock(1) starts cat only once it holds the lock: a line through cat says
// the lock is held. It is let go when cat's input closes.
std::unique_ptr<UserProcess> HoldLockAs(const LocalUser &user, const std::string &path) {
  std::unique_ptr<UserProcess> holder =
      user.Start({"/usr/bin/flock", "--exclusive", path, "/bin/cat"}, {"PATH=/usr/bin:/bin"});
  std::string echo;
  if (holder == nullptr || !holder->WriteLine("held") || !holder->ReadLine(echo) || echo != "held")
    return nullptr;
  return holder;
}

TEST_F(LocalUsers, AnotherUsersLockOnTheFolderOfTheRegistryStoreStopsNoRun) {
  std::unique_ptr<UserProcess> holder = HoldLockAs(m_attacker, m_victim.Home() + "/.config/addbar");
  ASSERT_NE(holder, nullptr);
  ExpectVictimsRunDone({});
}

TEST_F(LocalUsers, AnotherUsersLockOnTheFolderOfAnIniFileStopsNoRun) {
  std::unique_ptr<UserProcess> holder = HoldLockAs(m_attacker, m_victim.Home());
  ASSERT_NE(holder, nullptr);
  ExpectVictimsRunDone({"/I:" + IniPath()});
}

// The names the user's window and mutex folders had in /tmp, taken first by
// another user: neither the file manager nor addbar may care, and the
// handshake between them still works.
// Folders the attacker made, removed at the end.
struct TakenFolders {
  std::vector<std::string> paths;
  ~TakenFolders() {
    std::error_code ignored;
    for (const std::string &path : paths) std::filesystem::remove_all(path, ignored);
  }
};

TEST_F(LocalUsers, FoldersInTmpTakenByAnotherUserStopNoRun) {
  const std::string taken = "/tmp/addbar-windows-" + std::to_string(m_victim.Uid());
  TakenFolders folders{{taken, taken + ".objects"}};
  std::string output;
  for (const std::string &folder : folders.paths) {
    ASSERT_EQ(0, m_attacker.Run({"/bin/mkdir", "-m", "700", folder}, {}, output)) << output;
  }
  std::unique_ptr<UserProcess> manager =
      m_victim.Start({FM_STANDIN_PROGRAM_PATH}, VictimsEnvironment());
  ASSERT_NE(manager, nullptr);
  std::string line;
  while (manager->ReadLine(line) && line.compare(0, 7, "window:") != 0) output += line + "\n";
  EXPECT_EQ("window: vantrove_CommPort", line) << output;
  // Asked to quit by addbar, the file manager ends by itself.
  ExpectVictimsRunDone({});
  EXPECT_EQ(0, manager->Finish(&output)) << output;
}

}  // namespace
