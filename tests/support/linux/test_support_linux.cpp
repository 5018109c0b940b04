// Test helpers on the Linux stand-in.
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace testing_support {

Platform CurrentPlatform() { return Platform::LinuxStandIn; }

const char *AsWineSuperUser(const char *) { return nullptr; }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "addbar-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "can't make a temporary folder";
  m_path = Wide(pattern);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Narrow(m_path), ignored);
}

WString TempDir::File(const WString &name) const { return m_path + WString(1, '/') + name; }

bool FileExists(const WString &path) {
  struct stat info;
  return lstat(Narrow(path).c_str(), &info) == 0;
}

std::string ReadBytes(const WString &path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const WString &path, const std::string &bytes) {
  std::ofstream out(Narrow(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeReadOnly(const WString &path) { chmod(Narrow(path).c_str(), 0444); }

void MakeWritable(const WString &path) { chmod(Narrow(path).c_str(), 0644); }

bool MakeFolderLink(const WString &link, const WString &target) {
  return symlink(Narrow(target).c_str(), Narrow(link).c_str()) == 0;
}

ScopedEnvironment::ScopedEnvironment(const char *name, const char *value) : m_name(name) {
  const char *old = std::getenv(name);
  m_hadValue = old != nullptr;
  if (old != nullptr) m_oldValue = old;
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  if (m_hadValue) {
    setenv(m_name.c_str(), m_oldValue.c_str(), 1);
  } else {
    unsetenv(m_name.c_str());
  }
}

ScopedRegistry::ScopedRegistry() {
  m_basePath = Wide("Software\\addbar-tests");
  m_environment =
      new ScopedEnvironment("ADDBAR_REGISTRY", Narrow(m_folder.File("registry.reg")).c_str());
}

ScopedRegistry::~ScopedRegistry() { delete m_environment; }

namespace {
volatile sig_atomic_t g_broke = 0;
void OnTrap(int) { g_broke = 1; }
}  // namespace

DebugTrap CatchDebugBreak(void (*action)(void *), void *context) {
  struct sigaction trap = {}, previous = {};
  trap.sa_handler = OnTrap;
  sigemptyset(&trap.sa_mask);
  sigaction(SIGTRAP, &trap, &previous);
  g_broke = 0;
  testing::internal::CaptureStderr();
  action(context);
  std::string output = testing::internal::GetCapturedStderr();
  sigaction(SIGTRAP, &previous, nullptr);
  return DebugTrap{g_broke != 0, output};
}

}  // namespace testing_support
