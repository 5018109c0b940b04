// One scenario's run: its own INI files and registry key, its call log and
// its share of the dump.
#pragma once

#include <windows.h>

#include <string>

#include "dump_record.h"
#include "dump_text.h"

namespace replay {

// Below HKEY_CURRENT_USER, where a run's scenarios keep their keys unless
// told otherwise; each scenario has the sub-key of its name.
extern const WCHAR kReplayKeyPath[];

class Replay {
 public:
  // `baseKey`: a path below HKEY_CURRENT_USER for the scenario's key.
  Replay(DumpRecorder &dump, const WString &folder, const WString &baseKey,
         const std::string &scenario);
  ~Replay();
  Replay(const Replay &) = delete;
  Replay &operator=(const Replay &) = delete;

  // <folder>\<scenario><suffix>.ini; the folder starts empty.
  WString File(const char *suffix = "") const;
  // The scenario's key, deleted with everything in it and made anew on first
  // use; null (and logged) when that fails.
  HKEY Key();

  // Adds "call NN <what>" to the dump: what the call was given and returned.
  void Log(const std::string &what, const std::string &result);
  void Record(const std::string &topic, const std::string &content) { m_dump.Add(topic, content); }

 private:
  WString KeyPath() const;

  DumpRecorder &m_dump;
  WString m_folder;
  WString m_baseKey;
  std::string m_scenario;
  HKEY m_key = nullptr;
  bool m_keyTried = false;
};

// A name as the call log shows it: null, or quoted.
std::string NameText(LPCWSTR name);
// Widens ASCII text; the scenarios' names are ASCII.
WString Widen(const std::string &ascii);

}  // namespace replay
