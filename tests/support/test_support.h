// Helpers shared by the tests of both builds. Where the builds differ, the
// implementation lives in support/linux or support/windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using WString = std::basic_string<WCHAR>;

namespace testing_support {

// ---- Text --------------------------------------------------------------------------
WString Wide(const std::string &utf8);
std::string Narrow(const WString &text);
inline WString Wide(LPCWSTR text) { return text == nullptr ? WString() : WString(text); }

// ---- Where the tests run -------------------------------------------------------------
enum class Platform { LinuxStandIn, Wine, Windows };
Platform CurrentPlatform();
const char *PlatformName();

// ---- Known differences of Wine -------------------------------------------------------
// Checks that hold on Windows (and the stand-in, which follows Windows) but not
// under Wine, for `reason`; docs/platform-differences.md lists each with its
// source. The checks run on every platform. Under Wine their failures are
// expected and shown as a note, and a run in which none of them fails is a
// failure of its own: Wine now does what Windows does, and the mark should
// go, as with Wine's own todo_wine. A null `reason` runs them as plain checks.
// A fatal failure ends `checks` only.
void KnownWineDifference(const char *reason, const std::function<void()> &checks);

// `reason` when Wine runs the tests as the host's super-user, else null: Wine
// keeps the read-only attribute as missing write bits, which do not stop root.
const char *AsWineSuperUser(const char *reason);

// ---- Files -----------------------------------------------------------------------
// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  // The folder's path, with the separator the platform's calls hand out.
  const WString &Path() const { return m_path; }
  // The folder's path followed by a separator and `name`.
  WString File(const WString &name) const;
  WString File(const std::string &name) const { return File(Wide(name)); }

 private:
  WString m_path;
};

bool FileExists(const WString &path);
std::string ReadBytes(const WString &path);
void WriteBytes(const WString &path, const std::string &bytes);
// Read-only attribute on Windows; no write permission bits on Linux.
void MakeReadOnly(const WString &path);
void MakeWritable(const WString &path);
// Makes `link` a symbolic link to the folder `target`; false where the system
// does not let a test make one (Windows without the right to).
bool MakeFolderLink(const WString &link, const WString &target);

// UTF-16LE with byte-order mark, as the INI writer creates files.
std::string Utf16File(const WString &text);

// ---- Environment ---------------------------------------------------------------------
// Sets (or with a null value, removes) a variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char *name, const char *value);
  ~ScopedEnvironment();

 private:
  std::string m_name;
  bool m_hadValue;
  std::string m_oldValue;
};

// ---- Registry ---------------------------------------------------------------------------
// A private corner of HKEY_CURRENT_USER for one test: on Linux a store file of
// its own (ADDBAR_REGISTRY), on Windows a unique key deleted at the end.
class ScopedRegistry {
 public:
  ScopedRegistry();
  ~ScopedRegistry();
  ScopedRegistry(const ScopedRegistry &) = delete;
  ScopedRegistry &operator=(const ScopedRegistry &) = delete;

  // A key path under HKEY_CURRENT_USER that belongs to this test alone.
  const WString &BasePath() const { return m_basePath; }

 private:
  WString m_basePath;
  TempDir m_folder;
  ScopedEnvironment *m_environment;
};

// ---- Debugger traps ----------------------------------------------------------------------
// Runs `action` and reports whether it broke into the debugger, with what it
// sent to the debugger output meanwhile.
struct DebugTrap {
  bool broke;
  std::string output;
};
DebugTrap CatchDebugBreak(void (*action)(void *), void *context);

}  // namespace testing_support

// Marks a case that can only run on the Linux stand-in (it looks at how the
// stand-in stores things, which Windows keeps to itself).
#define SKIP_UNLESS_STANDIN(reason)                                                        \
  do {                                                                                     \
    if (::testing_support::CurrentPlatform() != ::testing_support::Platform::LinuxStandIn) \
      GTEST_SKIP() << "stand-in only: " << (reason);                                       \
  } while (0)
