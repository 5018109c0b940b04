// The stores the kill and concurrency tests run addbar on, with what every
// run of them needs: a folder of its own, the store's first contents, its
// state as text to compare, and addbar started as a process that can be
// killed. Linux only: the tests send signals and preload a library.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

enum class RobustKind { Registry, Ini };

using Variables = std::vector<std::pair<std::string, std::string>>;

// A store of the file manager's settings in a folder of its own, with the
// toolbars 0 to 2 (nToolbars 3, so a consistent store), the bookmarks Home
// and Work, and per-folder settings of no interest to addbar that bring the
// file to about `bytes`. The layouts "" and "work" both have toolbars.
class RobustStore {
 public:
  RobustStore(RobustKind kind, size_t bytes);

  RobustKind Kind() const { return m_kind; }
  const std::string &File() const { return m_file; }
  size_t InitialSize() const { return m_initial.size(); }

  // Puts the first contents back, without temporary files beside them.
  void Reset();
  // The store as text to compare: an INI file's bytes; the registry store's
  // text without the per-key comment lines, which hold write times.
  std::string State() const;
  // Whether the platform reads the store (the registry store parses; the INI
  // file is UTF-16 and holds the toolbar settings).
  bool Parses() const;
  // The temporary files beside the store (a write killed before its rename
  // leaves one), as paths.
  std::vector<std::string> Temporaries() const;

  // The options and environment of an addbar run with `drives` and `layout`;
  // `throughLink`: an INI file named through a link to its folder.
  std::vector<std::string> Options(const std::string &layout, bool throughLink = false) const;
  Variables Environment(const std::string &drives) const;

 private:
  RobustKind m_kind;
  testing_support::TempDir m_folder;
  std::string m_folderPath;
  std::string m_file;
  std::string m_initial;
};

// One addbar process. Standard error (where the stand-in shows its boxes)
// goes to a file of the test's.
class AddbarProcess {
 public:
  AddbarProcess(const std::vector<std::string> &options, const Variables &variables,
                const std::string &errorFile);
  ~AddbarProcess();
  AddbarProcess(const AddbarProcess &) = delete;
  AddbarProcess &operator=(const AddbarProcess &) = delete;

  bool Started() const { return m_pid > 0; }
  void Kill();
  // Waits for the end; the wait status.
  int Wait();

 private:
  pid_t m_pid = -1;
  bool m_ended = false;
  int m_status = 0;
};

// Whether a wait status is the success of a run with `buttons` buttons: the
// exit code is the length of the "added 'drivebar' with …" text.
bool EndedDone(int status, int buttons);
std::string DescribeStatus(int status);

// Reads a file whole; empty when it can't be read.
std::string ReadFileBytes(const std::string &path);

// Milliseconds of a monotonic clock.
long long NowMs();
