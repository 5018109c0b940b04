// Whole runs on any store: the fuzzer's bytes become a store (registry or INI
// in UTF-16 or 8-bit; see whole_run/store_script.h) and a set of drives, and
// the install runs in process on the stand-in. After each run:
//   - the store still reads, and nothing the user stored outside the drive
//     bar, the new bookmarks, their icon entries and the two counts changed;
//   - a run that says "done" wrote a drive bar each of whose buttons opens its
//     own drive's root, as the stand-in file manager reads it;
//   - a second run with the same drives changes nothing, and no run adds a
//     bookmark for a drive that has one;
//   - a run stopped at a write (the k-th, k from the input) and then run again
//     ends as one uninterrupted run ends.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/drive_bar.h"
#include "app/file_manager_facts.h"
#include "app/run_messages.h"
#include "app/run_options.h"
#include "app/settings_location.h"
#include "tools/fm-standin/drive_bar_view.h"
#include "whole_run/change_rules.h"
#include "whole_run/store_script.h"

namespace {

std::string g_folder;
unsigned g_fileNumber = 0;
// Writes the stand-in may still make; -1: any number. Every write of the
// stand-in ends in a rename, so refusing one is a write that fails (a full
// disk), after which the run writes nothing more: as a run killed there.
long g_writesLeft = -1;
unsigned g_writes = 0;

void RemoveFolder(const std::string &folder) {
  if (DIR *listing = opendir(folder.c_str())) {
    while (dirent *entry = readdir(listing)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder + "/" + name).c_str());
    }
    closedir(listing);
  }
  rmdir(folder.c_str());
}

[[noreturn]] void Fail(const std::string &what) {
  std::fprintf(stderr, "whole run: %s\n", what.c_str());
  RemoveFolder(g_folder);
  std::abort();
}

std::string Utf8(const WString &text) { return standin::ToUtf8(text); }
WString Wide(const std::string &text) { return standin::FromUtf8(text); }

void WriteFile(const std::string &path, const std::string &bytes) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    Fail("can't write " + path);
  }
  std::fclose(file);
}

std::string ReadFile(const std::string &path) {
  std::string bytes;
  FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

void EmptyFolder() {
  RemoveFolder(g_folder);
  mkdir(g_folder.c_str(), 0700);
}

// libFuzzer may end the process without running exit handlers: the folders of
// processes that are gone are swept by the next one.
void SweepFoldersOfEndedRuns(const std::string &parent, const std::string &prefix) {
  DIR *listing = opendir(parent.c_str());
  if (listing == nullptr) return;
  while (dirent *entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      RemoveFolder(parent + "/" + name);
    }
  }
  closedir(listing);
}

// The drives as the stand-in lists them: letters only, upper case, each
// once, in letter order.
std::string DriveLetters(const std::string &given) {
  std::string letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    for (char c : given) {
      if (c == letter || c == letter - 'A' + 'a') {
        letters += letter;
        break;
      }
    }
  }
  return letters;
}

struct Store {
  StoreScript script;
  std::string path;  // the file of this run
  CString baseKeyPath;
  CSettingsRoot layoutRoot;
  CSettingsRoot globalRoot;

  bool Registry() const { return script.kind == StoreKind::Registry; }
};

// A fresh file for the store, so that no cached reading of an earlier one
// can stand in for it.
void PlaceStore(Store &store, const std::string &bytes) {
  store.path =
      g_folder + "/store" + std::to_string(++g_fileNumber) + (store.Registry() ? ".reg" : ".ini");
  WriteFile(store.path, bytes);
  BuildSettingsRoots(CString(Wide(store.script.layout).c_str()), store.baseKeyPath,
                     store.globalRoot, store.layoutRoot);
  if (store.Registry()) {
    setenv("ADDBAR_REGISTRY", store.path.c_str(), 1);
  } else {
    BindRootsToIniFile(store.baseKeyPath, CString(Wide(store.path).c_str()), store.layoutRoot,
                       store.globalRoot);
  }
}

StoreView View(const Store &store) {
  return store.Registry() ? ViewRegistryFile(ReadFile(store.path)) : ViewIniFile(Wide(store.path));
}

// The run after the options: the toolbar settings opened, then the install.
std::string Run(Store &store, long writesAllowed) {
  g_writesLeft = writesAllowed;
  g_writes = 0;
  CSettingsKey toolbars;
  store.layoutRoot.OpenInto(toolbars, kToolbarsKeyName, TRUE);
  CString message;
  if (toolbars.m_hKey == nullptr) {
    message = kCannotLocateToolbars;
  } else {
    InstallDriveBar(store.layoutRoot, store.globalRoot, toolbars, message);
  }
  toolbars.Close();
  g_writesLeft = -1;
  return message.IsEmpty() ? std::string("done") : Utf8(WString(message));
}

RunFacts Facts(const Store &store, const std::string &drives, const WString &driveBar) {
  RunFacts facts;
  const WString layout(store.layoutRoot.m_path), global(store.globalRoot.m_path);
  facts.toolbarsParent = layout + u"\\MainFrame Settings";
  facts.toolbars = facts.toolbarsParent + u"\\Toolbars";
  facts.global = global;
  facts.bookmarks = global + u"\\Favorites";
  facts.icons = global + u"\\Favorites_icons";
  if (!driveBar.empty()) facts.driveBar = facts.toolbars + u'\\' + driveBar;
  facts.drives = drives;
  return facts;
}

void ExpectAllowed(const StoreView &before, const StoreView &after, const RunFacts &facts,
                   const char *run) {
  if (!after.parsed) Fail(std::string(run) + ": the store no longer reads");
  std::string change = ForbiddenChange(before, after, facts);
  if (!change.empty()) Fail(std::string(run) + ": " + change);
}

// Each button opens its own drive's root, as the file manager reads it.
void ExpectDriveBar(const DriveBarView &bar, const std::string &drives) {
  if (bar.toolbarName.IsEmpty()) Fail("done, but no drive bar");
  if (bar.buttons.size() != drives.size()) Fail("done, but not a button for each drive");
  for (size_t i = 0; i < drives.size(); ++i) {
    const WCHAR root[4] = {static_cast<WCHAR>(drives[i]), u':', u'\\', 0};
    if (lstrcmpiW(bar.buttons[i].root, root) != 0) {
      Fail("button " + std::to_string(i + 1) + " opens \"" + Utf8(WString(bar.buttons[i].root)) +
           "\", not " + drives[i] + ":\\");
    }
  }
}

}  // namespace

// The stand-in's writes end in this rename.
extern "C" int rename(const char *from, const char *to) {
  if (g_writesLeft == 0) {
    errno = ENOSPC;
    return -1;
  }
  if (g_writesLeft > 0) --g_writesLeft;
  ++g_writes;
  return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  const char *shm = "/dev/shm";
  std::string parent =
      access(shm, W_OK) == 0 ? shm : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
  SweepFoldersOfEndedRuns(parent, "addbar-whole-run-");
  g_folder = parent + "/addbar-whole-run-" + std::to_string(getpid());
  mkdir(g_folder.c_str(), 0700);
  std::atexit([] { RemoveFolder(g_folder); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  Store store;
  const std::string body = ReadScriptHeader(input, store.script);
  const std::string drives = DriveLetters(store.script.drives);
  setenv("ADDBAR_DRIVES", store.script.drives.c_str(), 1);
  // The roots' paths come with the first placing; the file is made again once known.
  PlaceStore(store, std::string());
  const std::string original =
      MakeStoreFile(store.script, body, Utf8(WString(store.layoutRoot.m_path)),
                    Utf8(WString(store.globalRoot.m_path)));
  PlaceStore(store, original);
  // Replaying a finding: the store it made, to look at.
  if (const char *keep = std::getenv("WHOLE_RUN_STORE")) WriteFile(keep, original);
  const StoreView start = View(store);
  if (!start.parsed) {
    // Made of names the store can't hold (a key name over 256 units): every
    // call fails, and nothing may be written.
    if (Run(store, -1) == "done" || ReadFile(store.path) != original) {
      Fail("a store that does not read was changed or taken as done");
    }
    EmptyFolder();
    return 0;
  }

  const std::string first = Run(store, -1);
  const unsigned writes = g_writes;
  const StoreView afterFirst = View(store);
  const std::string firstBytes = ReadFile(store.path);
  WString driveBar;
  if (first == "done") {
    DriveBarView bar = ReadDriveBarView(store.layoutRoot, store.globalRoot);
    ExpectDriveBar(bar, drives);
    driveBar = WString(bar.toolbarName);
  } else if (first == "cannot write toolbar settings") {
    // Nothing fails to write here, and the stores are far too small for a
    // listing that can't be made whole.
    Fail("the first run could not write its drive bar");
  }
  const RunFacts facts = Facts(store, drives, driveBar);
  ExpectAllowed(start, afterFirst, facts, "first run");

  const std::string second = Run(store, -1);
  if (second != first) Fail("the second run said \"" + second + "\", the first \"" + first + "\"");
  std::string difference;
  if (store.Registry() ? !SameContents(afterFirst, View(store), difference)
                       : ReadFile(store.path) != firstBytes) {
    Fail("the second run changed the store: " + difference);
  }

  if (writes > 0) {
    const long stopAt = 1 + static_cast<long>(store.script.stopAt % writes);
    PlaceStore(store, original);
    Run(store, stopAt - 1);
    const StoreView stopped = View(store);
    ExpectAllowed(start, stopped, facts, "stopped run");
    const std::string again = Run(store, -1);
    if (again != first) {
      Fail("after a run stopped at write " + std::to_string(stopAt) + ", the next said \"" + again +
           "\", an uninterrupted one \"" + first + "\"");
    }
    const StoreView finished = View(store);
    ExpectAllowed(stopped, finished, facts, "run after the stopped one");
    if (store.Registry() ? !SameContents(afterFirst, finished, difference)
                         : ReadFile(store.path) != firstBytes) {
      Fail("a run stopped at write " + std::to_string(stopAt) +
           " and the next end otherwise than one run: " + difference);
    }
  }
  EmptyFolder();
  return 0;
}
